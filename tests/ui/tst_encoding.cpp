// Names are bytes. They show as UTF-8 when they are UTF-8, otherwise as
// Windows-1252, and go back out exactly as they came in. Each data set runs
// in a process of its own, as the language file is read once per process.
#include <QCheckBox>
#include <QFile>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include "UiHarness.h"
#include "ui/DisplayText.h"
#include "ui/ListBox.h"
#include "ui/MainView.h"

namespace {

struct SDataSet {
    const char* dir;
    QByteArray culture;      // "Märchen"
    QByteArray nameType;     // "Grüße"
    QByteArray name;         // "Ägörßš"
    QByteArray euroCulture;  // "€uro"
};

}  // namespace

class EncodingTest : public QObject {
    Q_OBJECT

  private:
    void CheckDataSet(const SDataSet& data) {
        CUiHarness h;
        h.UseData(UiTestData(data.dir));
        QVERIFY(h.Start());
        VELTRANO_FIND(cultures, CListBox, h, "cultureList");
        VELTRANO_FIND(nameTypes, CListBox, h, "nameTypeList");
        VELTRANO_FIND(pane, QPlainTextEdit, h, "outputView");

        QCOMPARE(ItemTexts(*cultures),
                 QStringList({QString::fromUtf8("Märchen"), QStringLiteral("Zebra"),
                              QString::fromUtf8("€uro")}));
        QCOMPARE(cultures->item(0)->data(Qt::UserRole).toByteArray(), data.culture);
        QCOMPARE(cultures->item(2)->data(Qt::UserRole).toByteArray(), data.euroCulture);

        QVERIFY(ClickItem(*cultures, QString::fromUtf8("€uro")));
        QCOMPARE(ItemTexts(*nameTypes), QStringList({QString::fromUtf8("œuvre")}));

        QVERIFY(ClickItem(*cultures, QString::fromUtf8("Märchen")));
        QCOMPARE(ItemTexts(*nameTypes), QStringList({QString::fromUtf8("Grüße")}));
        QCOMPARE(nameTypes->item(0)->data(Qt::UserRole).toByteArray(), data.nameType);
        QVERIFY(ClickItem(*nameTypes, QString::fromUtf8("Grüße")));
        QVERIFY(h.PressCreate(QStringLiteral("2")));

        const QByteArray expected = data.name + "\r\n" + data.name;
        QCOMPARE(QByteArray::fromStdString(h.View()->Output()), expected);
        QCOMPARE(pane->toPlainText(), QString::fromUtf8("Ägörßš\nÄgörßš"));

        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const QString path = dir.filePath(QString::fromUtf8("Namensliste-ä.txt"));
        h.dialogs.saveAnswers.push_back(path);
        QTest::mouseClick(h.Find<QPushButton>("saveButton"), Qt::LeftButton);
        QFile saved(path);
        QVERIFY(saved.open(QIODevice::ReadOnly));
        QCOMPARE(saved.readAll(), expected);
        QCOMPARE(h.dialogs.messages.back().text, path + QStringLiteral(" wurde gespeichert."));
    }

  private slots:
    void bytesToDisplay() {
        struct SRow {
            const char* name;
            QByteArray bytes;
            QString shown;
        };
        const SRow rows[] = {
            {"empty", "", QString()},
            {"ascii", "Aeldor", QStringLiteral("Aeldor")},
            {"utf-8", "M\xc3\xa4rchen", QString::fromUtf8("Märchen")},
            {"windows-1252", "M\xe4rchen", QString::fromUtf8("Märchen")},
            {"euro sign in 1252", "\x80", QString::fromUtf8("€")},
            {"1252 high block", "\x8a\x9a\x9f\x85", QString::fromUtf8("ŠšŸ…")},
            {"1252 undefined byte keeps its code", "\x81", QString(QChar(0x81))},
            {"utf-8 cut at the end", "a\xc3", QString::fromUtf8("aÃ")},
            {"overlong utf-8", "\xc0\xaf", QString::fromUtf8("À¯")},
            {"utf-8 surrogate", "\xed\xa0\x80", QString::fromUtf8("í\u00a0€")},
            {"byte-order mark stays", "\xef\xbb\xbfx", QString(QChar(0xfeff)) + QLatin1Char('x')},
            {"nul byte is data", QByteArray("a\0b", 3), QString::fromUtf8("a\0b", 3)},
            {"four-byte utf-8", "\xf0\x9f\x90\x89", QString::fromUtf8("\U0001F409")},
        };
        for (const SRow& row : rows) {
            const QString shown =
                BytesToDisplay(std::string_view(row.bytes.constData(), row.bytes.size()));
            QVERIFY2(shown == row.shown, row.name);
        }
    }

    void windows1252DataSet() {
        CheckDataSet({"cp1252", "M\xe4rchen",
                      "Gr\xfc\xdf"
                      "e",
                      "\xc4g\xf6r\xdf\x9a", "\x80uro"});
    }

    // The pane shows the whole output one way: as soon as any part of a kept
    // output is not UTF-8, all of it reads as Windows-1252, the UTF-8 names
    // before and after it included.
    void keptOutputTurnsToWindows1252AsAWhole() {
        CUiHarness h;
        h.UseData(UiTestData("mixed"));
        QVERIFY(h.Start());
        VELTRANO_FIND(keep, QCheckBox, h, "keepCheck");
        VELTRANO_FIND(pane, QPlainTextEdit, h, "outputView");
        struct SStep {
            const char* nameType;  // Utf gives "\xc3\x84g", Cp gives "\xc4g"
            bool keep;
            const char* shown;  // UTF-8
        };
        const SStep steps[] = {
            {"Utf", true, "Äg"},
            {"Cp", true, "Ã„g\nÄg"},
            {"Utf", true, "Ã„g\nÄg\nÃ„g"},
            {"Cp", true, "Ã„g\nÄg\nÃ„g\nÄg"},
            // A replaced output is judged afresh.
            {"Utf", false, "Äg"},
            {"Utf", true, "Äg\nÄg"},
            {"Cp", true, "Ã„g\nÃ„g\nÄg"},
        };
        for (std::size_t i = 0; i < std::size(steps); ++i) {
            const SStep& step = steps[i];
            const QByteArray name =
                "step " + QByteArray::number(i + 1) + " (" + step.nameType + ")";
            if (h.View()->IsKeepOutput() != step.keep) {
                ClickCheckBox(*keep);
            }
            QVERIFY2(h.CreateList(QStringLiteral("Mischung"), QString::fromLatin1(step.nameType),
                                  QStringLiteral("1")),
                     name.constData());
            QVERIFY2(pane->toPlainText() == QString::fromUtf8(step.shown),
                     (name + ": " + pane->toPlainText().toUtf8()).constData());
        }
        QCOMPARE(QByteArray::fromStdString(h.View()->Output()),
                 QByteArray("\xc3\x84g\r\n\xc3\x84g\r\n\xc4g"));
    }

    void utf8DataSet() {
        CheckDataSet({"utf8", "M\xc3\xa4rchen",
                      "Gr\xc3\xbc\xc3\x9f"
                      "e",
                      "\xc3\x84g\xc3\xb6r\xc3\x9f\xc5\xa1", "\xe2\x82\xacuro"});
    }
};

QTEST_MAIN(EncodingTest)
#include "tst_encoding.moc"
