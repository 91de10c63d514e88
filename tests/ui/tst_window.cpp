// The window, one table per command or control. Every row starts the program
// on tests/ui/data with a store of its own, runs its steps as a user would,
// and compares the output bytes and a transcript: what the program showed and
// wrote, what the steps looked at, and at the end the state, that is the
// create, save and keep flags (C S K, "-" when off, "!" where a control and
// its menu action disagree) and the count field. All data sets share one
// language file, so every table runs in one process.
//
// Steps, separated by blanks:
//   %f       (first) start on init file f; %new: a first start without a store
//   C:x T:x  click culture / name type x (empty: below the items);
//            ^C ^T with Ctrl
//   N:x      put x into the count field, as pasting does ("_" is a blank)
//   E S K    click Create, Save, the check box
//   @x       trigger the action xAction   F:x  focus the control x
//   A:path   answer the next file dialog (empty: cancel)
//   R:name   the store refuses writes of name; X: there is no store
//   L:n      allow files of n bytes only, as a full disk would
//   ?c ?t ?r ?p ?= ?f:f  write into the transcript the cultures (C:), the
//            name types (T:; * marks the chosen one), the last file dialog's
//            request (asked:), the pane, the state, file f (=output when it
//            holds the output's bytes)
//   anything else is a key such as 5, ä or Ctrl+E, sent to the focused control
// In paths, ~ is the row's own folder and @ the data folder. Elben's Vorname
// is "Aeldor", its "leer" the empty name.
#include <sys/resource.h>
#include <QtTest>
#include <QtWidgets>
#include <csignal>

#include "settings/MemoryRegistryStore.h"
#include "settings/Settings.h"
#include "ui/Dialogs.h"
#include "ui/DisplayText.h"
#include "ui/MainFrame.h"
#include "ui/MainView.h"
#include "ui/VeltranoApp.h"

namespace {

const QString kData = QStringLiteral(VELTRANO_UI_TEST_DATA_DIR);
const QString kFatal = "Schwerer Fehler ist aufgetreten.: ";
const QString kNoData = "Konnte Datenbanken nicht öffnen!";
QStringList g_log;   // the current row's transcript
QString g_preamble;  // the steps every row of the current table begins with

// Puts each write into the transcript and refuses one value name, as a store
// whose file cannot be written would.
class CLoggingStore : public CMemoryRegistryStore {
  public:
    bool SetValue(std::string_view name, std::string_view value) override {
        g_log << QString::fromStdString(std::string(name) + "=" + std::string(value)) +
                     (name == refused ? " refused" : "");
        return name != refused && CMemoryRegistryStore::SetValue(name, value);
    }
    std::string refused;
};

QString Items(const QListWidget* list) {
    QStringList items;
    for (const QListWidgetItem* item : list->findItems("*", Qt::MatchWildcard))
        items << (item->isSelected() ? "*" : "") + item->text();
    return items.join(',');
}

// `count` names of the Elben's Vorname.
QByteArray Names(qsizetype count) { return QByteArrayList(count, "Aeldor").join("\r\n"); }

void Table(const char* preamble = "") {
    QTest::addColumn<QString>("steps");
    QTest::addColumn<QByteArray>("output");
    QTest::addColumn<QString>("log");
    g_preamble = preamble;
}

void Row(const char* name, const char* steps, const QString& log, const QByteArray& output = {}) {
    QTest::newRow(name) << g_preamble + " " + steps << output << log;
}

}  // namespace

class WindowTest : public QObject, public CDialogs {
    Q_OBJECT

  public:
    void MessageBox(QWidget* owner, const QString& text, const QString& caption) override {
        g_log << (owner != nullptr ? "" : "unowned ") + caption + ": " + text;
    }
    std::optional<QString> GetSaveFileName(QWidget*, const CFileDialogRequest& request) override {
        return Answer(request);
    }
    std::optional<QString> GetOpenFileName(QWidget*, const CFileDialogRequest& request) override {
        return Answer(request);
    }
    void RunModal(QDialog& dialog) override { g_log << dialog.windowTitle(); }

  private:
    std::optional<QString> Answer(const CFileDialogRequest& request) {
        m_request = request.filter + "/" + request.defaultSuffix + "/" + request.initialName;
        if (m_answers.isEmpty()) g_log << "unexpected file dialog";
        return m_answers.isEmpty() ? std::nullopt : m_answers.takeFirst();
    }
    CMainFrame* Frame() const { return m_app->MainFrame(); }
    CMainView* View() const { return Frame() != nullptr ? Frame()->View() : nullptr; }
    template <typename W = QWidget>
    W* Find(const QString& name) const {
        return Frame()->findChild<W*>(name);
    }

    bool Setup(const QString& initFile) {
        if (initFile != "new") return WriteRegistryValue("InitFile", initFile.toStdString());
        // The settings read before main() found no store; the file store
        // lives in the row's folder, and the bundled data is the test data.
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(m_dir->path()));
        UseRegistryStore(nullptr);
        m_app->SetBundledDataDir(kData.toStdString());
        SettingsMap["semantics"] = "fehlt.txt";
        SettingsReloadPending = false;
        return true;
    }

    bool Click(const QString& how, const QString& text) {
        auto* list = Find<QListWidget>(how.endsWith('C') ? "cultureList" : "nameTypeList");
        QListWidgetItem* item = list->findItems(text, Qt::MatchExactly).value(0);
        const QPoint at = item != nullptr ? list->visualItemRect(item).center()
                                          : QPoint(10, list->viewport()->height() - 3);
        if (list->itemAt(at) != item || (item == nullptr) != text.isEmpty()) return false;
        const auto modifiers = how.startsWith('^') ? Qt::ControlModifier : Qt::NoModifier;
        QTest::mouseClick(list->viewport(), Qt::LeftButton, modifiers, at);
        return true;
    }
    // A check box is clicked on its mark, where a person clicks it.
    static void ClickOn(QWidget* control) {
        QTest::mouseClick(control, Qt::LeftButton, {}, QPoint(8, control->height() / 2));
    }

    const std::map<QString, std::function<void(const QString& arg)>> m_steps = {
        {"N",
         [this](auto& a) { Find<QLineEdit>("countEdit")->setText(QString(a).replace('_', ' ')); }},
        {"E", [this](auto&) { ClickOn(Find("createButton")); }},
        {"S", [this](auto&) { ClickOn(Find("saveButton")); }},
        {"K", [this](auto&) { ClickOn(Find("keepCheck")); }},
        {"@", [this](auto& a) { Find<QAction>(a + "Action")->trigger(); }},
        {"F", [this](auto& a) { Find(a)->setFocus(); }},
        {"A", [this](auto& a) { m_answers << (a.isEmpty() ? std::nullopt : std::optional(a)); }},
        {"R", [this](auto& a) { m_store->refused = a.toStdString(); }},
        {"X", [this](auto&) { m_store->SetKeyExists(false); }},
        {"L",
         [this](auto& a) {
             const rlimit limit{a.toULong(), m_limit.rlim_max};
             setrlimit(RLIMIT_FSIZE, &limit);
         }},
        {"?c", [this](auto&) { g_log << "C: " + Items(Find<QListWidget>("cultureList")); }},
        {"?t", [this](auto&) { g_log << "T: " + Items(Find<QListWidget>("nameTypeList")); }},
        {"?r", [this](auto&) { g_log << "asked: " + m_request; }},
        {"?p", [this](auto&) { g_log << "pane: " + View()->OutputView()->toPlainText(); }},
        {"?=", [this](auto&) { g_log << State(); }},
        {"?f",
         [this](auto& a) {
             QFile file(m_dir->filePath(a));
             const QByteArray bytes = file.open(QIODevice::ReadOnly) ? file.readAll() : "missing";
             g_log << a + ": " +
                          (bytes.toStdString() == View()->Output() ? "=output"
                                                                   : QString::fromUtf8(bytes));
         }},
    };

    bool Do(const QString& step) {
        const QString head = step.startsWith('@') ? "@" : step.section(':', 0, 0);
        QString arg = step.startsWith('@') ? step.mid(1) : step.section(':', 1);
        arg.replace('~', m_dir->path()).replace('@', kData);
        if (View() == nullptr) return false;
        if (step.contains(':') && QStringList{"C", "T", "^C", "^T"}.contains(head)) {
            return Click(head, arg);
        }
        if (const auto known = m_steps.find(head); known != m_steps.end()) {
            known->second(arg);
            return true;
        }
        const QKeySequence keys(step);
        if (keys.count() != 1 || keys[0].key() == Qt::Key_unknown) return false;
        QTest::keyClick(QApplication::focusWidget(), keys[0].key(), keys[0].keyboardModifiers());
        return true;
    }

    // Acts on the next modal dialog of that class once it is shown.
    template <typename Dialog>
    static void OnNextDialog(const std::function<void(Dialog*)>& act) {
        auto* poll = new QTimer(qApp);
        connect(poll, &QTimer::timeout, [poll, act] {
            auto* dialog = qobject_cast<Dialog*>(QApplication::activeModalWidget());
            if (dialog == nullptr) return;
            poll->deleteLater();
            poll->stop();
            act(dialog);
        });
        poll->start(20);
    }

    // The flags, the count field, and whether the pane shows the output,
    // decoded as one text.
    QString State() const {
        if (View() == nullptr) return "no window";
        QString state;
        const auto on = [](auto* x) { return x->isCheckable() ? x->isChecked() : x->isEnabled(); };
        for (const char* name : {"createButton", "saveButton", "keepCheck"}) {
            auto* control = Find<QAbstractButton>(name);
            QAction* action = Frame()->Action(control->property("controlId").toInt());
            state += on(control) != on(action) ? '!' : on(control) ? QChar(name[0]).toUpper() : '-';
        }
        QString shown = BytesToDisplay(View()->Output()).replace("\r\n", "\n");
        return state + " " + Find<QLineEdit>("countEdit")->text() +
               (View()->OutputView()->toPlainText() == shown ? "" : " pane: wrong");
    }

    void Run() {
        QFETCH(QString, steps);
        QFETCH(QByteArray, output);
        QFETCH(QString, log);
        QStringList list = steps.split(' ', Qt::SkipEmptyParts);
        if (list.value(0).startsWith('%')) QVERIFY(Setup(list.takeFirst().mid(1)));
        if (m_app->InitInstance()) QVERIFY(QTest::qWaitForWindowActive(Frame()));
        for (const QString& step : list)
            QVERIFY2(Do(step) && !QTest::currentTestFailed(), qPrintable("step " + step));
        if (!m_answers.isEmpty()) g_log << "unanswered";
        g_log << State();
        QCOMPARE(QByteArray::fromStdString(View() != nullptr ? View()->Output() : ""), output);
        QCOMPARE(g_log.join(" | ").replace(m_dir->path(), "~").replace(kData, "@"), log);
    }

    QList<std::optional<QString>> m_answers;
    QString m_request;
    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<CLoggingStore> m_store;
    std::unique_ptr<CVeltranoApp> m_app;
    rlimit m_limit{};

  private slots:
    void init() {
        getrlimit(RLIMIT_FSIZE, &m_limit);
        // A write beyond the limit then fails instead of ending the process.
        std::signal(SIGXFSZ, SIG_IGN);
        m_answers.clear();
        m_dir = std::make_unique<QTemporaryDir>();
        m_store = std::make_unique<CLoggingStore>();
        UseRegistryStore(m_store.get());
        WriteRegistryValue("DataDir", kData.toStdString());
        WriteRegistryValue("InitFile", "init.txt");
        g_log.clear();
        m_app = std::make_unique<CVeltranoApp>();
        m_app->SetDialogs(this);
        QApplication::clipboard()->setText("34");
    }
    void cleanup() {
        m_app.reset();
        UseRegistryStore(nullptr);
        setrlimit(RLIMIT_FSIZE, &m_limit);
    }

    void startAndLists_data() {
        Table();
        Row("failed load: one unowned message", "%kaputt.txt",
            "InitFile=kaputt.txt | unowned " + kFatal + kNoData + " | no window");
        Row("first start: a store for the bundled data", "%new C:Elben ?f:Brannock/Veltrano.conf",
            "Brannock/Veltrano.conf: DataDir=@\nInitFile=init.txt\n | --- 1");
        Row("types sorted; a type enables Create, a culture disables it",
            "C:Elben T:Vorname ?= C:Elben ?t", "C-- 1 | T: leer,Vorname | --- 1");
        Row("Ctrl never unchooses; Ctrl+click chooses again",
            "C:Elben T:Vorname ^T:Vorname F:nameTypeList Ctrl+Space ?= ^C:Elben ?t",
            "C-- 1 | T: leer,Vorname | --- 1");
        Row("click below the items keeps the choice", "C:Beta T:Vorname T: ^T:", "C-- 1");
        Row("case twins", "C:BETA T:Vorname E K C:Beta T:Vorname E", "CSK 1", "Aeldor\r\naeldor");
    }
    void startAndLists() { Run(); }

    void create_data() {
        Table("C:Elben T:Vorname");
        Row("keep off again starts afresh", "K E K E", "CS- 1", Names(1));
        Row("empty names leave lines only after others",
            "T:leer E K T:Vorname E T:leer E T:Vorname E", "CSK 1", "Aeldor\r\n\r\nAeldor");
        Row("Ctrl+E in the count field creates", "F:countEdit Home Ctrl+E 5", "CS- 51", Names(1));
        Row("Ctrl+E idle before a type", "C:Elben Ctrl+E F:countEdit Home Ctrl+E 5", "--- 51");
        Row("check box, menu and Ctrl+B agree",
            "K ?= @keepOutput ?= Ctrl+B ?= F:countEdit Ctrl+B ?= F:keepCheck Space",
            "C-K 1 | C-- 1 | C-K 1 | C-- 1 | C-K 1");
    }
    void create() { Run(); }

    void countField_data() {
        Table("C:Elben T:Vorname F:countEdit");
        Row("letter refused", "a", "C-- 1");
        Row("minus refused", "-", "C-- 1");
        Row("blank refused", "Space", "C-- 1");
        Row("character above 127 refused", "Ä", "C-- 1");
        Row("Super+x refused", "Meta+X", "C-- 1");
        Row("Super+minus refused", "Meta+-", "C-- 1");
        Row("AltGr minus refused", "Ctrl+Alt+-", "C-- 1");
        Row("AltGr period refused", "Ctrl+Alt+.", "C-- 1");
        Row("editing keys still work", "Ctrl+A 7 Home 5 End Left Delete", "C-- 5");
        Row("backspace and two digits pass", "Backspace 4 2 3", "C-- 42");
        Row("edit keys never reach the field",
            "5 Ctrl+Z Alt+Backspace Ctrl+A Ctrl+V Shift+Insert Ctrl+X Shift+Delete", "C-- 15");
        Row("below one becomes one", "K N:0 E N: E N:-5 E", "CSK 1", Names(3));
        Row("atoi rules, cut to two", "K N:_3 E N:+4 E N:7x E N:123 E", "CSK 12", Names(26));
        Row("ninety-nine is no bound", "N:99 E", "CS- 99", Names(99));
    }
    void countField() { Run(); }

    void saveList_data() {
        const QString saved = "Veltrano: ~/l wurde gespeichert. | ";
        const QString failed = " konnte nicht gespeichert werden. | ";
        Table("C:Elben T:Vorname");
        Row("CR LF between names, then confirmed", "N:3 E A:~/l S ?r ?f:l",
            saved + "asked: Textdatei (*.txt);;Alle Dateien (*.*)/txt/ | l: =output | CS- 3",
            Names(3));
        Row("empty names replace an old file", "E A:~/l S T:leer E A:~/l S ?f:l",
            saved + saved + "l: =output | CS- 1");
        Row("Ctrl+S only after a list", "Ctrl+S E A: Ctrl+S ?f:l", "l: missing | CS- 1", Names(1));
        Row("missing folder", "E A:~/x/l S", "Veltrano: ~/x/l" + failed + "CS- 1", Names(1));
        Row("full disk keeps the old file", "E A:~/l S N:99 E L:40 A:~/l S ?f:l",
            saved + "Veltrano: ~/l" + failed + "l: Aeldor | CS- 99", Names(99));
    }
    void saveList() { Run(); }

    void initFile_data() {
        const QString refused = kFatal + "Die Init-Datei konnte nicht eingetragen werden. | ";
        const QString shown = "Momentante Init-Datei: ";
        Table();
        Row("chosen: name, then folder; lists refilled, the rest kept",
            "C:Elben T:Vorname N:2 E K N:7 A:@/zweite.txt @chooseInitFile ?r ?c ?t Ctrl+E",
            "InitFile=zweite.txt | DataDir=@ | asked: Initdateien (init.txt)/init.txt/init.txt | "
            "C: Zwerge | T:  | -SK 7",
            Names(2));
        Row("failed load: lists kept, new data used", "A:@/kaputt.txt @chooseInitFile C:Elben ?t",
            "InitFile=kaputt.txt | DataDir=@ | " + kFatal + kNoData + " | T:  | --- 1");
        Row("no usable slash", "A:init.txt @chooseInitFile A:/init.txt @chooseInitFile", "--- 1");
        Row("first write refused", "R:InitFile A:@/zweite.txt @chooseInitFile",
            "InitFile=zweite.txt refused | " + refused + "--- 1");
        Row("second write refused: first undone", "R:DataDir A:@/zweite.txt @chooseInitFile",
            "InitFile=zweite.txt | DataDir=@ refused | InitFile=init.txt | " + refused + "--- 1");
        Row("shown as stored, error texts too", "@showInitFile X: @showInitFile",
            shown + "@/init.txt | " + shown + "[Error: No Key]/[Error: No Key] | --- 1");
    }
    void initFile() { Run(); }

    void encoding_data() {
        Table("C:Märchen");
        Row("shown as UTF-8 or Windows-1252", "?t T:äußer E K T:Ärger E ?p",
            "T: Ärger,äußer | pane: Ã„g\n€Äg | CSK 1", "\xc3\x84g\r\n\x80\xc4g");
        Row("shown as one text; bytes saved", "T:Ärger E K T:äußer E ?= A:~/l S ?f:l K E",
            "CSK 1 | Veltrano: ~/l wurde gespeichert. | l: =output | CS- 1", "\xc3\x84g");
    }
    void encoding() { Run(); }

    // Qt's own dialogs, answered through their widgets: the save dialog's
    // filters list every file and keep the typed name, the message shows a
    // name with "<b>" as it is. A dialog nobody answers is closed after ten
    // seconds, and the row fails instead of hanging.
    void realDialogs() {
        QTimer deadline;
        connect(&deadline, &QTimer::timeout, [] {
            if (QWidget* dialog = QApplication::activeModalWidget()) dialog->close();
        });
        deadline.start(10000);
        m_app->SetDialogs(nullptr);
        QVERIFY(m_app->InitInstance());
        for (const char* step : {"C:Elben", "T:Vorname", "E"}) QVERIFY(Do(step));
        for (const QString name : {"liste.dat", "<b>fett"}) {
            OnNextDialog<QFileDialog>([this, name](QFileDialog* dialog) {
                auto* types = dialog->findChild<QComboBox*>("fileTypeCombo");
                dialog->setDirectory(m_dir->path());
                dialog->findChild<QLineEdit*>("fileNameEdit")->setText(name);
                QTest::keyClick(types, Qt::Key_Down);
                g_log << types->itemText(0) + ", " + types->currentText() + " lists " +
                             dialog->findChild<QFileSystemModel*>()->nameFilters().join(',');
                OnNextDialog<QMessageBox>([](QMessageBox* box) {
                    g_log << box->text() + (box->textFormat() == Qt::PlainText ? "" : " as rich");
                    box->accept();
                });
                QMetaObject::invokeMethod(dialog, "accept");
            });
            QVERIFY(Do("S"));
        }
        g_log << QDir(m_dir->path()).entryList(QDir::Files).join(',');
        QCOMPARE(
            g_log.join(" | ").replace(m_dir->path(), "~"),
            "Textdatei (*.txt), Alle Dateien (*.*) lists * | ~/liste.dat wurde gespeichert. | "
            "Textdatei (*.txt), Alle Dateien (*.*) lists * | ~/<b>fett.txt wurde gespeichert. | "
            "<b>fett.txt,liste.dat");
    }
};

QTEST_MAIN(WindowTest)
#include "tst_window.moc"
