// The commands that reach outside the window: saving a list, choosing and
// showing the init file.
#include <sys/resource.h>
#include <unistd.h>
#include <QAction>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <csignal>
#include <memory>

#include "UiHarness.h"
#include "semantics/Semantics.h"
#include "settings/RegistryStore.h"
#include "settings/Settings.h"
#include "ui/CommandIds.h"
#include "ui/ListBox.h"
#include "ui/MainView.h"
#include "ui/SaveFile.h"

namespace {

const QString kFatalCaption = QStringLiteral("Schwerer Fehler ist aufgetreten.");

QByteArray ReadAll(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return "<unreadable>";
    }
    return file.readAll();
}

bool WriteAll(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

// Lowers the file size limit for as long as it lives, as a full disk would
// stop a write, and has the failing write report an error instead of ending
// the process.
class CFileSizeLimit {
  public:
    explicit CFileSizeLimit(rlim_t bytes) {
        getrlimit(RLIMIT_FSIZE, &m_saved);
        m_oldHandler = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit = m_saved;
        limit.rlim_cur = bytes;
        m_active = setrlimit(RLIMIT_FSIZE, &limit) == 0;
    }
    ~CFileSizeLimit() {
        setrlimit(RLIMIT_FSIZE, &m_saved);
        std::signal(SIGXFSZ, m_oldHandler);
    }
    CFileSizeLimit(const CFileSizeLimit&) = delete;
    CFileSizeLimit& operator=(const CFileSizeLimit&) = delete;
    bool Active() const { return m_active; }

  private:
    rlimit m_saved{};
    void (*m_oldHandler)(int) = nullptr;
    bool m_active = false;
};

}  // namespace

class CommandsTest : public QObject {
    Q_OBJECT

  private:
    std::unique_ptr<CUiHarness> h;
    std::unique_ptr<QTemporaryDir> dir;

    bool Save(const QString& path) {
        auto* button = h->Find<QPushButton>("saveButton");
        if (button == nullptr || !button->isEnabled()) {
            return false;
        }
        h->dialogs.saveAnswers.emplace_back(path);
        QTest::mouseClick(button, Qt::LeftButton);
        return true;
    }
    void ChooseInitFile(const std::optional<QString>& answer) {
        h->dialogs.openAnswers.push_back(answer);
        h->Frame()->Action(ID_FILE_CHOOSE_INIT)->trigger();
    }
    QStringList Cultures() const { return ItemTexts(*h->Find<CListBox>("cultureList")); }
    QString InDir(const char* name) const { return dir->filePath(QString::fromLatin1(name)); }

  private slots:
    void init() {
        dir = std::make_unique<QTemporaryDir>();
        QVERIFY(dir->isValid());
        h = std::make_unique<CUiHarness>();
        h->UseData(UiTestData("basic"));
        QVERIFY(h->Start());
    }
    void cleanup() {
        QCOMPARE(h->dialogs.unexpectedDialogs, 0);
        h.reset();
        dir.reset();
    }

    // ---- save ----

    void saveWritesTheNamesWithCrLfBetween() {
        QVERIFY(h->CreateList(QStringLiteral("Elben"), QStringLiteral("Vorname"), "3"));
        const QString path = InDir("liste.txt");
        QVERIFY(Save(path));
        QCOMPARE(ReadAll(path), QByteArray("Aeldor\r\nAeldor\r\nAeldor"));
        QCOMPARE(h->dialogs.fileDialogs.size(), std::size_t{1});
        const CFakeDialogs::SFileDialog& request = h->dialogs.fileDialogs.front();
        QVERIFY(request.save);
        QCOMPARE(request.request.filter, QStringLiteral("Textdatei (*.txt);;Alle Dateien (*.*)"));
        QCOMPARE(request.request.defaultSuffix, QStringLiteral("txt"));
        QVERIFY(request.request.initialName.isEmpty());
        QCOMPARE(h->dialogs.messages.size(), std::size_t{1});
        QCOMPARE(h->dialogs.messages[0].text, path + QStringLiteral(" wurde gespeichert."));
        QCOMPARE(h->dialogs.messages[0].caption, QStringLiteral("Veltrano"));
        QVERIFY(h->dialogs.messages[0].hasOwner);
    }

    void saveReplacesAnExistingFileWhole() {
        const QString path = InDir("liste.txt");
        QVERIFY(WriteAll(path, "eine viel längere alte Liste\r\nmit zwei Zeilen"));
        QVERIFY(h->CreateList(QStringLiteral("Elben"), QStringLiteral("beiname"), "1"));
        QVERIFY(Save(path));
        QCOMPARE(ReadAll(path), QByteArray("ael"));
    }

    void savingEmptyNamesGivesAnEmptyFile() {
        const QString path = InDir("leer.txt");
        QVERIFY(WriteAll(path, "alt"));
        QVERIFY(h->CreateList(QStringLiteral("Elben"), QStringLiteral("Leer"), "5"));
        QVERIFY(Save(path));
        QVERIFY(QFile::exists(path));
        QCOMPARE(ReadAll(path), QByteArray());
        QCOMPARE(h->dialogs.messages.back().text, path + QStringLiteral(" wurde gespeichert."));
    }

    void cancelledSaveWritesNothing() {
        QVERIFY(h->CreateList(QStringLiteral("Elben"), QStringLiteral("Vorname"), "1"));
        h->dialogs.saveAnswers.emplace_back(std::nullopt);
        QTest::mouseClick(h->Find<QPushButton>("saveButton"), Qt::LeftButton);
        QVERIFY(h->dialogs.messages.empty());
        QVERIFY(QDir(dir->path()).isEmpty());
    }

    void saveIntoAMissingFolderReportsTheFailure() {
        QVERIFY(h->CreateList(QStringLiteral("Elben"), QStringLiteral("Vorname"), "1"));
        const QString path = InDir("gibtesnicht/liste.txt");
        QVERIFY(Save(path));
        QVERIFY(!QFile::exists(path));
        QCOMPARE(h->dialogs.messages.size(), std::size_t{1});
        QCOMPARE(h->dialogs.messages[0].text,
                 path + QStringLiteral(" konnte nicht gespeichert werden."));
        QCOMPARE(h->dialogs.messages[0].caption, QStringLiteral("Veltrano"));
    }

    void saveIntoAReadOnlyFolderLeavesTheOldFile() {
        if (geteuid() == 0) {
            QSKIP("folder permissions do not bind root; the full-disk case covers this path");
        }
        const QString path = InDir("liste.txt");
        QVERIFY(WriteAll(path, "alte Liste"));
        QVERIFY(QFile::setPermissions(dir->path(), QFile::ReadOwner | QFile::ExeOwner));
        QVERIFY(h->CreateList(QStringLiteral("Elben"), QStringLiteral("Vorname"), "2"));
        QVERIFY(Save(path));
        QFile::setPermissions(dir->path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QCOMPARE(ReadAll(path), QByteArray("alte Liste"));
        QCOMPARE(h->dialogs.messages.back().text,
                 path + QStringLiteral(" konnte nicht gespeichert werden."));
    }

    // A disk that fills up during the save: the write is cut short. The old
    // file must survive whole and the user must hear of the failure, not be
    // told it was saved.
    void fullDiskLeavesTheOldFileAndReportsTheFailure() {
        const QString path = InDir("liste.txt");
        const QByteArray old = "alte Liste\r\nbleibt";
        QVERIFY(WriteAll(path, old));
        QVERIFY(h->CreateList(QStringLiteral("Elben"), QStringLiteral("Vorname"), "99"));
        QVERIFY(h->View()->Output().size() > 100);
        {
            const CFileSizeLimit limit(40);
            QVERIFY(limit.Active());
            QVERIFY(Save(path));
        }
        QCOMPARE(ReadAll(path), old);
        QCOMPARE(h->dialogs.messages.size(), std::size_t{1});
        QCOMPARE(h->dialogs.messages[0].text,
                 path + QStringLiteral(" konnte nicht gespeichert werden."));
        // No temporary file is left behind.
        QCOMPARE(QDir(dir->path()).entryList(QDir::Files | QDir::Hidden),
                 QStringList({QStringLiteral("liste.txt")}));
    }

    void fullDiskFailsEvenWhenOnlyTheLastBytesDoNotFit() {
        // The limit lies just below the size, so only the final flush fails.
        const QString path = InDir("knapp.txt");
        QVERIFY(WriteAll(path, "alt"));
        const std::string bytes(20000, 'x');
        {
            const CFileSizeLimit limit(bytes.size() - 1);
            QVERIFY(limit.Active());
            QVERIFY(!SaveBytesAtomically(path, bytes));
        }
        QCOMPARE(ReadAll(path), QByteArray("alt"));
        QVERIFY(SaveBytesAtomically(path, bytes));
        QCOMPARE(ReadAll(path).size(), static_cast<qsizetype>(bytes.size()));
    }

    // ---- choose init file ----

    void chooseInitFileWritesNameThenFolderAndRefillsTheLists() {
        VELTRANO_FIND(count, QLineEdit, *h, "countEdit");
        VELTRANO_FIND(keep, QCheckBox, *h, "keepCheck");
        VELTRANO_FIND(pane, QPlainTextEdit, *h, "outputView");
        VELTRANO_FIND(create, QPushButton, *h, "createButton");
        VELTRANO_FIND(save, QPushButton, *h, "saveButton");
        VELTRANO_FIND(nameTypes, CListBox, *h, "nameTypeList");
        QVERIFY(h->CreateList(QStringLiteral("Elben"), QStringLiteral("Vorname"), "2"));
        ClickCheckBox(*keep);
        count->setText(QStringLiteral("7"));
        h->store.writes.clear();

        const std::string second = UiTestData("second");
        ChooseInitFile(QString::fromStdString(second + "/init.txt"));

        const std::vector<std::pair<std::string, std::string>> expectedWrites = {
            {"InitFile", "init.txt"}, {"DataDir", second}};
        QVERIFY(h->store.writes == expectedWrites);
        QVERIFY(h->dialogs.messages.empty());
        QCOMPARE(Cultures(), QStringList({"Riesen", "Zwerge"}));
        QCOMPARE(nameTypes->count(), 0);
        QVERIFY(!create->isEnabled());
        QVERIFY(!h->View()->IsCreateEnabled());
        QVERIFY(!h->Frame()->Action(ID_FILE_CREATE_LIST)->isEnabled());
        // Nothing else is reset.
        QCOMPARE(h->View()->Output(), std::string("Aeldor\r\nAeldor"));
        QCOMPARE(pane->toPlainText(), QStringLiteral("Aeldor\nAeldor"));
        QCOMPARE(count->text(), QStringLiteral("7"));
        QVERIFY(keep->isChecked());
        QVERIFY(h->View()->IsKeepOutput());
        QVERIFY(save->isEnabled());
        // Ctrl+E does nothing until a name type is chosen; then the new data
        // is used.
        QTest::keyClick(h->Frame(), Qt::Key_E, Qt::ControlModifier);
        QCOMPARE(h->View()->Output(), std::string("Aeldor\r\nAeldor"));
        QVERIFY(h->CreateList(QStringLiteral("Zwerge"), QStringLiteral("Vorname"), "1"));
        QCOMPARE(h->View()->Output(), std::string("Aeldor\r\nAeldor\r\nGrimbart"));

        const CFakeDialogs::SFileDialog& request = h->dialogs.fileDialogs.front();
        QVERIFY(!request.save);
        QCOMPARE(request.request.filter, QStringLiteral("Initdateien (init.txt)"));
        QCOMPARE(request.request.initialName, QStringLiteral("init.txt"));
        QCOMPARE(request.request.defaultSuffix, QStringLiteral("init.txt"));
    }

    void chooseInitFileThatFailsToLoadKeepsTheListsButUsesTheNewData() {
        VELTRANO_FIND(nameTypes, CListBox, *h, "nameTypeList");
        const std::string bad = UiTestData("badsecond");
        ChooseInitFile(QString::fromStdString(bad + "/init.txt"));
        QCOMPARE(h->dialogs.messages.size(), std::size_t{1});
        QCOMPARE(h->dialogs.messages[0].text,
                 QString::fromUtf8("Konnte Datenbanken nicht öffnen!"));
        QCOMPARE(h->dialogs.messages[0].caption, kFatalCaption);
        QCOMPARE(Cultures(), QStringList({"alpha", "BETA", "Beta", "Elben", "Gamma"}));
        // The new, partly loaded object is the one in use.
        QVERIFY(h->View()->Semantics()->GetCultureNames() == std::vector<std::string>{"Trolle"});
        QVERIFY(ClickItem(*h->Find<CListBox>("cultureList"), QStringLiteral("Elben")));
        QCOMPARE(nameTypes->count(), 0);
        QCOMPARE(h->Stored("DataDir"), bad);
        QCOMPARE(h->Stored("InitFile"), std::string("init.txt"));
    }

    void choosePathWithoutAUsableSlashIsIgnored() {
        const char* const paths[] = {"init.txt", "/init.txt"};
        for (const char* path : paths) {
            h->store.writes.clear();
            ChooseInitFile(QString::fromLatin1(path));
            QVERIFY2(h->store.writes.empty(), path);
            QVERIFY2(h->dialogs.messages.empty(), path);
            QVERIFY2(Cultures().size() == 5, path);
            QVERIFY2(h->Stored("DataDir") == UiTestData("basic"), path);
        }
    }

    void cancelledChoiceChangesNothing() {
        ChooseInitFile(std::nullopt);
        QVERIFY(h->store.writes.empty());
        QVERIFY(h->dialogs.messages.empty());
    }

    // A store that cannot take the new location must keep the old one whole
    // and say so; the window goes on with the data it has.
    void storeThatCannotBeWrittenKeepsItsValues() {
        struct SRow {
            const char* name;
            const char* refusedName;  // nullptr: the store itself is missing
        };
        const SRow rows[] = {
            {"first write refused", "InitFile"},
            {"second write refused", "DataDir"},
            {"no store", nullptr},
        };
        const std::string basic = UiTestData("basic");
        for (const SRow& row : rows) {
            h->dialogs.messages.clear();
            h->store.refusedName = row.refusedName != nullptr ? row.refusedName : "";
            h->store.SetKeyExists(row.refusedName != nullptr);
            SettingsReloadPending = false;
            // Another file name than the stored one, so that a value left
            // behind by the first write would show.
            ChooseInitFile(QString::fromStdString(UiTestData("second") + "/anderes.txt"));
            h->store.SetKeyExists(true);
            QVERIFY2(h->dialogs.messages.size() == 1, row.name);
            QVERIFY2(h->dialogs.messages[0].text ==
                         QStringLiteral("Die Init-Datei konnte nicht eingetragen werden."),
                     row.name);
            QVERIFY2(h->dialogs.messages[0].caption == kFatalCaption, row.name);
            QVERIFY2(h->Stored("DataDir") == basic, row.name);
            QVERIFY2(h->Stored("InitFile") == "init.txt", row.name);
            QVERIFY2(!SettingsReloadPending, row.name);
            QVERIFY2(Cultures().size() == 5, row.name);
            QVERIFY2(h->View()->Semantics()->GetCultureNames().size() == 5, row.name);
        }
    }

    void folderTheStoreCannotHoldWritesNothing() {
        // The stored name is too long to read back, so an undo could not
        // restore it: nothing may be written before the folder is known to fit.
        const std::string unreadable(kMaxRegistryValueLength + 1, 'i');
        QVERIFY(h->store.OpenKey(CRegistryStore::Access::kReadWrite));
        QVERIFY(h->store.SetValue("InitFile", unreadable));
        h->store.CloseKey();
        SettingsReloadPending = false;
        ChooseInitFile(
            QString::fromStdString("/" + std::string(kMaxRegistryValueLength, 'd') + "/init.txt"));
        QCOMPARE(h->dialogs.messages.size(), std::size_t{1});
        QCOMPARE(h->dialogs.messages[0].text,
                 QStringLiteral("Die Init-Datei konnte nicht eingetragen werden."));
        QVERIFY(h->store.OpenKey(CRegistryStore::Access::kRead));
        std::string stored;
        QVERIFY(h->store.QueryValue("InitFile", stored));
        h->store.CloseKey();
        QVERIFY(stored == unreadable);
        QCOMPARE(h->Stored("DataDir"), UiTestData("basic"));
        QVERIFY(!SettingsReloadPending);
    }

    // ---- show init file ----

    void showInitFileJoinsTheStoredValues() {
        h->Frame()->Action(ID_FILE_SHOW_INIT)->trigger();
        QCOMPARE(h->dialogs.messages.size(), std::size_t{1});
        QCOMPARE(h->dialogs.messages[0].text,
                 QString::fromStdString(UiTestData("basic") + "/init.txt"));
        QCOMPARE(h->dialogs.messages[0].caption, QStringLiteral("Momentante Init-Datei"));
    }

    void showInitFileShowsErrorTextsOfTheStore() {
        h->store.SetKeyExists(false);
        h->Frame()->Action(ID_FILE_SHOW_INIT)->trigger();
        QCOMPARE(h->dialogs.messages.back().text,
                 QStringLiteral("[Error: No Key]/[Error: No Key]"));
        // Shows what is stored, not what is loaded.
        h->store.SetKeyExists(true);
        h->store.OpenKey(CRegistryStore::Access::kReadWrite);
        h->store.CMemoryRegistryStore::SetValue("DataDir", "/anderswo");
        h->store.CloseKey();
        h->Frame()->Action(ID_FILE_SHOW_INIT)->trigger();
        QCOMPARE(h->dialogs.messages.back().text, QStringLiteral("/anderswo/init.txt"));
    }
};

QTEST_MAIN(CommandsTest)
#include "tst_commands.moc"
