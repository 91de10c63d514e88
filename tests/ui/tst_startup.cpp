// Starting the program: on the sample data, on data that fails to load, and
// on a first start without a store. Each case runs in a process of its own,
// as the language file is read once per process.
#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QLibraryInfo>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTranslator>
#include <memory>

#include "UiHarness.h"
#include "settings/FileRegistryStore.h"
#include "settings/Settings.h"
#include "ui/AppSetup.h"
#include "ui/ListBox.h"
#include "ui/MainView.h"

namespace {

bool IsSortedIgnoringCase(const QStringList& texts) {
    for (qsizetype i = 1; i < texts.size(); ++i) {
        if (QString::compare(texts[i - 1], texts[i], Qt::CaseInsensitive) > 0) {
            return false;
        }
    }
    return true;
}

QByteArray ReadAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

}  // namespace

class StartUpTest : public QObject {
    Q_OBJECT

  private slots:
    void sampleDataFillsTheCultureList() {
        CUiHarness h;
        h.UseData(VELTRANO_SAMPLE_DATA_DIR);
        QVERIFY(h.Start());
        VELTRANO_FIND(cultures, CListBox, h, "cultureList");
        VELTRANO_FIND(nameTypes, CListBox, h, "nameTypeList");
        VELTRANO_FIND(create, QPushButton, h, "createButton");
        VELTRANO_FIND(save, QPushButton, h, "saveButton");
        QVERIFY(cultures->count() >= 2);
        QVERIFY(IsSortedIgnoringCase(ItemTexts(*cultures)));
        QCOMPARE(nameTypes->count(), 0);
        QVERIFY(!create->isEnabled());
        QVERIFY(!save->isEnabled());
        // Every culture offers name types, and each makes names.
        for (const QString& culture : ItemTexts(*cultures)) {
            QVERIFY(ClickItem(*cultures, culture));
            QVERIFY2(nameTypes->count() > 0, qPrintable(culture));
            QVERIFY(IsSortedIgnoringCase(ItemTexts(*nameTypes)));
            QVERIFY(ClickItem(*nameTypes, nameTypes->item(0)->text()));
            QVERIFY(h.PressCreate(QStringLiteral("5")));
            const std::string& output = h.View()->Output();
            QVERIFY2(QByteArray::fromStdString(output).count("\r\n") == 4, qPrintable(culture));
            QVERIFY2(!QByteArray::fromStdString(output).split('\n').contains("\r"),
                     qPrintable(culture));
        }
        QVERIFY(h.dialogs.messages.empty());
    }

    void semanticsThatFailToLoadEndTheStart() {
        CUiHarness h;
        h.UseData(UiTestData("broken"));
        QVERIFY(!h.app.InitInstance());
        QCOMPARE(h.dialogs.messages.size(), std::size_t{1});
        QCOMPARE(h.dialogs.messages[0].text, QString::fromUtf8("Konnte Datenbanken nicht öffnen!"));
        QCOMPARE(h.dialogs.messages[0].caption, QStringLiteral("Schwerer Fehler ist aufgetreten."));
        QVERIFY(!h.dialogs.messages[0].hasOwner);
        QVERIFY(h.app.MainFrame() == nullptr);
        for (QWidget* window : QApplication::topLevelWidgets()) {
            QVERIFY(!window->isVisible());
        }
    }

    void missingStoreIsCreatedPointingAtBundledData() {
        QTemporaryDir config;
        QVERIFY(config.isValid());
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(config.path()));
        CUiHarness h;
        UseRegistryStore(nullptr);
        const QString storePath = config.filePath(QStringLiteral("Brannock/Veltrano.conf"));
        QVERIFY(!QFile::exists(storePath));
        h.app.SetBundledDataDir(VELTRANO_SAMPLE_DATA_DIR);
        QVERIFY(h.Start());
        QVERIFY(QFile::exists(storePath));
        QCOMPARE(ReadRegistryValue("DataDir"), std::string(VELTRANO_SAMPLE_DATA_DIR));
        QCOMPARE(ReadRegistryValue("InitFile"), std::string("init.txt"));
        VELTRANO_FIND(cultures, CListBox, h, "cultureList");
        QVERIFY(cultures->count() >= 2);
        QVERIFY(h.dialogs.messages.empty());
    }

    void existingStoreIsNeverReplaced() {
        QTemporaryDir config;
        QVERIFY(config.isValid());
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(config.path()));
        QVERIFY(QDir(config.path()).mkpath(QStringLiteral("Brannock")));
        const QString storePath = config.filePath(QStringLiteral("Brannock/Veltrano.conf"));
        const QByteArray contents =
            "# written by hand\nDataDir=" + QByteArray::fromStdString(UiTestData("basic")) +
            "\nInitFile=init.txt\nOther=kept\n";
        {
            QFile file(storePath);
            QVERIFY(file.open(QIODevice::WriteOnly));
            QCOMPARE(file.write(contents), contents.size());
        }
        CUiHarness h;
        UseRegistryStore(nullptr);
        // A real start reads the existing store before main(); here it was
        // put in place afterwards.
        SettingsReloadPending = true;
        h.app.SetBundledDataDir(VELTRANO_SAMPLE_DATA_DIR);
        QVERIFY(h.Start());
        QCOMPARE(ReadAll(storePath), contents);
        VELTRANO_FIND(cultures, CListBox, h, "cultureList");
        QCOMPARE(ItemTexts(*cultures), QStringList({"alpha", "BETA", "Beta", "Elben", "Gamma"}));
    }

    void bundledDataLiesBesideTheExecutable() {
        CVeltranoApp app;
        QCOMPARE(QString::fromStdString(app.BundledDataDir()),
                 QDir::cleanPath(QCoreApplication::applicationDirPath() +
                                 QStringLiteral("/../share/veltrano")));
        // The build tree puts the program and its data where an installation
        // does.
        QVERIFY(QFile::exists(QStringLiteral(VELTRANO_PROGRAM_DIR "/../share/veltrano/init.txt")));
    }

    // The program and the start-up benchmark share this set-up; Qt's own
    // texts, such as a field's context menu, speak German with it.
    void applicationSetUpNamesTheProgramAndGermanisesQt() {
        if (!QFile::exists(QLibraryInfo::path(QLibraryInfo::TranslationsPath) +
                           QStringLiteral("/qtbase_de.qm"))) {
            QSKIP("Qt's German translation is not installed");
        }
        QTranslator qtTexts;
        SetUpApplication(qtTexts);
        QCOMPARE(QCoreApplication::applicationName(), QStringLiteral("Veltrano"));
        QCOMPARE(QCoreApplication::applicationVersion(), QStringLiteral("0.97"));
        // The installed desktop file is share/applications/veltrano.desktop.
        QCOMPARE(QGuiApplication::desktopFileName(), QStringLiteral("veltrano"));
        QLineEdit field;
        const std::unique_ptr<QMenu> menu(field.createStandardContextMenu());
        QVERIFY(!menu->actions().isEmpty());
        QCOMPARE(menu->actions().first()->text().section(QLatin1Char('\t'), 0, 0),
                 QString::fromUtf8("&Rückgängig"));
    }

    void emptySemanticsLeaveEverythingDisabled() {
        CUiHarness h;
        h.UseData(UiTestData("empty"));
        QVERIFY(h.Start());
        VELTRANO_FIND(cultures, CListBox, h, "cultureList");
        VELTRANO_FIND(create, QPushButton, h, "createButton");
        VELTRANO_FIND(save, QPushButton, h, "saveButton");
        VELTRANO_FIND(keep, QCheckBox, h, "keepCheck");
        QCOMPARE(cultures->count(), 0);
        QVERIFY(!create->isEnabled());
        QVERIFY(!save->isEnabled());
        QVERIFY(save->isVisible());
        QVERIFY(keep->isVisible());
        QVERIFY(h.dialogs.messages.empty());
    }
};

QTEST_MAIN(StartUpTest)
#include "tst_startup.moc"
