// The window on a small known data set: layout, start state, menu and keys,
// the two lists, the count field, creating and keeping lists, the Edit
// commands and the About box.
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QDialog>
#include <QInputMethodEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QTest>
#include <QToolBar>
#include <memory>

#include "UiHarness.h"
#include "ui/CommandIds.h"
#include "ui/ListBox.h"
#include "ui/MainView.h"

namespace {

const QString kElben = QStringLiteral("Elben");
const QString kVorname = QStringLiteral("Vorname");
const QString kLeer = QStringLiteral("Leer");

}  // namespace

class WindowTest : public QObject {
    Q_OBJECT

  private:
    std::unique_ptr<CUiHarness> h;

  private slots:
    void init() {
        h = std::make_unique<CUiHarness>();
        h->UseData(UiTestData("basic"));
        QVERIFY(h->Start());
    }
    void cleanup() {
        QCOMPARE(h->dialogs.unexpectedDialogs, 0);
        h.reset();
    }

    // ---- layout and start state ----

    void frameIsFixedAndHostsTheView() {
        CMainFrame* frame = h->Frame();
        QVERIFY(frame != nullptr);
        QCOMPARE(frame->windowTitle(), QStringLiteral("Veltrano"));
        QCOMPARE(frame->size(), QSize(540, 490));
        QCOMPARE(frame->minimumSize(), QSize(540, 490));
        QCOMPARE(frame->maximumSize(), QSize(540, 490));
        QVERIFY(!frame->windowIcon().isNull());
        QCOMPARE(frame->centralWidget(), h->View());
        QVERIFY(frame->findChild<QStatusBar*>() == nullptr);
        QVERIFY(frame->findChild<QToolBar*>() == nullptr);
        QVERIFY(frame->isVisible());
        // The frame hands the keyboard focus to the view.
        QCOMPARE(QApplication::focusWidget(), h->View());
    }

    void controlsSitAtTheirRectanglesInCreationOrder() {
        struct SRow {
            const char* name;
            QRect rect;  // left, top, width, height
            int controlId;
            const char* text;
        };
        const SRow rows[] = {
            {"cultureList", QRect(5, 25, 185, 70), IDC_CULTURE_LIST, nullptr},
            {"nameTypeList", QRect(200, 25, 230, 70), IDC_NAME_TYPE_LIST, nullptr},
            {"countEdit", QRect(440, 25, 80, 20), IDC_COUNT_EDIT, "1"},
            {"outputView", QRect(5, 130, 515, 270), IDC_OUTPUT_VIEW, nullptr},
            {"createButton", QRect(440, 55, 80, 25), ID_FILE_CREATE_LIST, "Erstellen"},
            {"saveButton", QRect(5, 410, 155, 25), ID_FILE_SAVE_LIST, "Liste Speichern"},
            {"keepCheck", QRect(170, 410, 350, 25), ID_EDIT_KEEP_OUTPUT, "Liste beibehalten"},
            {"cultureLabel", QRect(5, 5, 185, 15), IDC_STATIC, "Kultur"},
            {"nameTypeLabel", QRect(200, 5, 230, 15), IDC_STATIC, "Namenstyp"},
            {"countLabel", QRect(440, 5, 80, 15), IDC_STATIC, "Anzahl"},
            {"outputLabel", QRect(5, 105, 515, 20), IDC_STATIC, "Ausgabe"},
        };
        const QList<QWidget*> children =
            h->View()->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly);
        QCOMPARE(children.size(), static_cast<qsizetype>(std::size(rows)));
        for (std::size_t i = 0; i < std::size(rows); ++i) {
            const SRow& row = rows[i];
            QWidget* control = children.at(static_cast<qsizetype>(i));
            QVERIFY2(control->objectName() == QLatin1String(row.name), row.name);
            QVERIFY2(control->geometry() == row.rect, row.name);
            QVERIFY2(control->property("controlId").toInt() == row.controlId, row.name);
            QVERIFY2(control->isVisible(), row.name);
            if (row.text != nullptr) {
                const QString text = control->property("text").toString();
                QVERIFY2(text == QString::fromUtf8(row.text), row.name);
            }
            // Nothing reaches out of the view.
            QVERIFY2(h->View()->rect().contains(control->geometry()), row.name);
        }
    }

    void largeDesktopFontStillFitsTheLabels() {
        h.reset();
        const QFont desktop = QApplication::font();
        QFont large = desktop;
        large.setPointSizeF(14);
        QApplication::setFont(large);
        h = std::make_unique<CUiHarness>();
        h->UseData(UiTestData("basic"));
        const bool started = h->Start();
        QApplication::setFont(desktop);
        QVERIFY(started);
        for (const char* name : {"cultureLabel", "nameTypeLabel", "countLabel", "outputLabel"}) {
            auto* label = h->Find<QLabel>(name);
            QVERIFY2(label != nullptr, name);
            QVERIFY2(label->fontMetrics().height() <= label->height(), name);
            QVERIFY2(label->fontMetrics().horizontalAdvance(label->text()) <= label->width(), name);
        }
    }

    void startStateHasEverythingOff() {
        VELTRANO_FIND(cultures, CListBox, *h, "cultureList");
        VELTRANO_FIND(nameTypes, CListBox, *h, "nameTypeList");
        VELTRANO_FIND(count, QLineEdit, *h, "countEdit");
        VELTRANO_FIND(create, QPushButton, *h, "createButton");
        VELTRANO_FIND(save, QPushButton, *h, "saveButton");
        VELTRANO_FIND(keep, QCheckBox, *h, "keepCheck");
        VELTRANO_FIND(pane, QPlainTextEdit, *h, "outputView");
        QCOMPARE(ItemTexts(*cultures), QStringList({"alpha", "BETA", "Beta", "Elben", "Gamma"}));
        QCOMPARE(nameTypes->count(), 0);
        QCOMPARE(count->text(), QStringLiteral("1"));
        QCOMPARE(count->maxLength(), 2);
        QVERIFY(count->alignment() & Qt::AlignRight);
        QVERIFY(!create->isEnabled());
        QVERIFY(!save->isEnabled());
        QVERIFY(!keep->isChecked());
        QVERIFY(pane->isReadOnly());
        QVERIFY(pane->toPlainText().isEmpty());
        QVERIFY(!h->View()->IsCreateEnabled());
        QVERIFY(!h->View()->IsSaveEnabled());
        QVERIFY(!h->View()->IsKeepOutput());
        QVERIFY(h->View()->Output().empty());
        QVERIFY(!h->Frame()->Action(ID_FILE_CREATE_LIST)->isEnabled());
        QVERIFY(!h->Frame()->Action(ID_FILE_SAVE_LIST)->isEnabled());
        QVERIFY(!h->Frame()->Action(ID_EDIT_KEEP_OUTPUT)->isChecked());
        QVERIFY(h->dialogs.messages.empty());
    }

    void menuShowsTheItemsInOrder() {
        struct SMenuRow {
            const char* name;
            const char* title;
            QStringList items;  // "-" is a separator
        };
        const SMenuRow menus[] = {
            {"fileMenu",
             "&Datei",
             {"Liste &erstellen\tStrg+E", "&Liste speichern...\tStrg+S", "-",
              "&Momentane Init-Datei", "&Init-Datei...", "-", "&Beenden\tAlt+F4"}},
            {"editMenu",
             "&Bearbeiten",
             {QString::fromUtf8("Ausgabe &behalten\tStrg+B"), "-",
              QString::fromUtf8("&Rückgängig\tStrg+Z"), "-", "&Ausschneiden\tStrg+X",
              "&Kopieren\tStrg+C", QString::fromUtf8("E&infügen\tStrg+V")}},
            {"helpMenu", "&?", {QString::fromUtf8("Inf&o über Veltrano...")}},
        };
        const QList<QAction*> bar = h->Frame()->menuBar()->actions();
        QCOMPARE(bar.size(), static_cast<qsizetype>(std::size(menus)));
        for (std::size_t m = 0; m < std::size(menus); ++m) {
            QMenu* menu = bar.at(static_cast<qsizetype>(m))->menu();
            QVERIFY2(menu != nullptr, menus[m].name);
            QVERIFY2(menu->objectName() == QLatin1String(menus[m].name), menus[m].name);
            QVERIFY2(menu->title() == QLatin1String(menus[m].title), menus[m].name);
            QStringList items;
            for (QAction* action : menu->actions()) {
                items.append(action->isSeparator() ? QStringLiteral("-") : action->text());
            }
            QCOMPARE(items, menus[m].items);
        }
    }

    void acceleratorsAreTheTable() {
        struct SKeys {
            int id;
            QList<QKeySequence> keys;
        };
        const SKeys rows[] = {
            {ID_EDIT_KEEP_OUTPUT, {QKeySequence(Qt::CTRL | Qt::Key_B)}},
            {ID_EDIT_COPY,
             {QKeySequence(Qt::CTRL | Qt::Key_C), QKeySequence(Qt::CTRL | Qt::Key_Insert)}},
            {ID_FILE_CREATE_LIST, {QKeySequence(Qt::CTRL | Qt::Key_E)}},
            {ID_FILE_SAVE_LIST, {QKeySequence(Qt::CTRL | Qt::Key_S)}},
            {ID_EDIT_PASTE,
             {QKeySequence(Qt::CTRL | Qt::Key_V), QKeySequence(Qt::SHIFT | Qt::Key_Insert)}},
            {ID_EDIT_UNDO,
             {QKeySequence(Qt::ALT | Qt::Key_Backspace), QKeySequence(Qt::CTRL | Qt::Key_Z)}},
            {ID_EDIT_CUT,
             {QKeySequence(Qt::SHIFT | Qt::Key_Delete), QKeySequence(Qt::CTRL | Qt::Key_X)}},
            {ID_NEXT_PANE, {QKeySequence(Qt::Key_F6)}},
            {ID_PREV_PANE, {QKeySequence(Qt::SHIFT | Qt::Key_F6)}},
            {ID_FILE_CHOOSE_INIT, {}},
            {ID_FILE_SHOW_INIT, {}},
            {ID_APP_EXIT, {}},
            {ID_APP_ABOUT, {}},
        };
        for (const SKeys& row : rows) {
            QAction* action = h->Frame()->Action(row.id);
            QVERIFY2(action != nullptr, qPrintable(QString::number(row.id)));
            QVERIFY2(action->shortcuts() == row.keys, qPrintable(QString::number(row.id)));
        }
    }

    // ---- the two lists ----

    void cultureFillsNameTypesIgnoringCase() {
        VELTRANO_FIND(cultures, CListBox, *h, "cultureList");
        VELTRANO_FIND(nameTypes, CListBox, *h, "nameTypeList");
        QVERIFY(ClickItem(*cultures, kElben));
        // The core lists them in byte order: Leer, Vorname, Zuname, beiname.
        QCOMPARE(ItemTexts(*nameTypes), QStringList({"beiname", "Leer", "Vorname", "Zuname"}));
        QVERIFY(!h->View()->IsCreateEnabled());
    }

    void listSortsByShownTextIgnoringCase() {
        CListBox list;
        // Added in the core's byte order; equal texts keep that order.
        for (const char* bytes : {"Apfel", "Zebra", "apfel", "\xc3\xa4pfel", "\xc4rger", "b"}) {
            list.AddString(bytes);
        }
        QCOMPARE(ItemTexts(list),
                 QStringList({"Apfel", "apfel", "b", "Zebra", QString::fromUtf8("äpfel"),
                              QString::fromUtf8("Ärger")}));
        QCOMPARE(list.item(4)->data(Qt::UserRole).toByteArray(), QByteArray("\xc3\xa4pfel"));
        QCOMPARE(list.item(5)->data(Qt::UserRole).toByteArray(), QByteArray("\xc4rger"));
    }

    void culturesDifferingOnlyInCaseBothAppear() {
        VELTRANO_FIND(cultures, CListBox, *h, "cultureList");
        const QList<QListWidgetItem*> betas =
            cultures->findItems(QStringLiteral("beta"), Qt::MatchFixedString);
        QCOMPARE(betas.size(), 2);
        // Each item carries its own bytes: choosing the lower-case one reaches
        // its own culture, whose name is not capitalised.
        QVERIFY(h->CreateList(QStringLiteral("Beta"), kVorname, QStringLiteral("1")));
        QCOMPARE(h->View()->Output(), std::string("bart"));
        QVERIFY(h->CreateList(QStringLiteral("BETA"), kVorname, QStringLiteral("1")));
        QCOMPARE(h->View()->Output(), std::string("Bart"));
    }

    void nameTypeEnablesCreateAndCultureDisablesIt() {
        VELTRANO_FIND(cultures, CListBox, *h, "cultureList");
        VELTRANO_FIND(nameTypes, CListBox, *h, "nameTypeList");
        VELTRANO_FIND(create, QPushButton, *h, "createButton");
        QAction* createAction = h->Frame()->Action(ID_FILE_CREATE_LIST);
        QVERIFY(h->Choose(kElben, kVorname));
        QVERIFY(create->isEnabled());
        QVERIFY(createAction->isEnabled());
        QVERIFY(h->View()->IsCreateEnabled());
        // Choosing the same culture again empties and refills the name types.
        QVERIFY(ClickItem(*cultures, kElben));
        QVERIFY(!create->isEnabled());
        QVERIFY(!createAction->isEnabled());
        QVERIFY(nameTypes->selectedItems().isEmpty());
        QCOMPARE(nameTypes->count(), 4);
        // So does moving through the cultures by keyboard.
        QVERIFY(ClickItem(*nameTypes, kVorname));
        QVERIFY(create->isEnabled());
        cultures->setFocus();
        QTest::keyClick(cultures, Qt::Key_Down);
        QCOMPARE(cultures->selectedItems().value(0)->text(), QStringLiteral("Gamma"));
        QCOMPARE(ItemTexts(*nameTypes), QStringList({"Vorname"}));
        QVERIFY(!create->isEnabled());
    }

    // Ctrl would deselect in a multi-selection list; here the one selection
    // must survive it, or Create would run with no name type chosen.
    void ctrlOnTheSelectedItemKeepsItSelected() {
        VELTRANO_FIND(cultures, CListBox, *h, "cultureList");
        VELTRANO_FIND(nameTypes, CListBox, *h, "nameTypeList");
        VELTRANO_FIND(create, QPushButton, *h, "createButton");
        struct SGesture {
            const char* name;
            std::function<void(CListBox&, QListWidgetItem*)> apply;
            // A click on the selected item chooses it again; a key does not.
            bool choosesAgain;
        };
        const SGesture gestures[] = {
            {"Ctrl+click",
             [](CListBox& list, QListWidgetItem* item) {
                 QTest::mouseClick(list.viewport(), Qt::LeftButton, Qt::ControlModifier,
                                   list.visualItemRect(item).center());
             },
             true},
            {"Ctrl+Space",
             [](CListBox& list, QListWidgetItem* /*item*/) {
                 list.setFocus();
                 QTest::keyClick(&list, Qt::Key_Space, Qt::ControlModifier);
             },
             false},
        };
        for (const SGesture& gesture : gestures) {
            QVERIFY(h->Choose(kElben, kVorname));
            QListWidgetItem* nameType = nameTypes->selectedItems().value(0);
            QVERIFY2(nameType != nullptr && nameType->text() == kVorname, gesture.name);
            gesture.apply(*nameTypes, nameType);
            QVERIFY2(nameType->isSelected(), gesture.name);
            QVERIFY2(nameTypes->selectedItems().size() == 1, gesture.name);
            QVERIFY2(create->isEnabled() && h->View()->IsCreateEnabled(), gesture.name);
            QVERIFY2(h->PressCreate(QStringLiteral("1")), gesture.name);
            QVERIFY2(h->View()->Output() == "Aeldor", gesture.name);

            QListWidgetItem* culture = cultures->selectedItems().value(0);
            QVERIFY2(culture != nullptr && culture->text() == kElben, gesture.name);
            gesture.apply(*cultures, culture);
            QVERIFY2(culture->isSelected(), gesture.name);
            QVERIFY2(cultures->selectedItems().size() == 1, gesture.name);
            QVERIFY2(ItemTexts(*nameTypes) == QStringList({"beiname", "Leer", "Vorname", "Zuname"}),
                     gesture.name);
            // Chosen again, the culture refills the name types and Create
            // waits for one of them, as after a plain click.
            QVERIFY2(nameTypes->selectedItems().isEmpty() == gesture.choosesAgain, gesture.name);
            QVERIFY2(create->isEnabled() == !gesture.choosesAgain, gesture.name);
            QVERIFY2(h->View()->IsCreateEnabled() == !gesture.choosesAgain, gesture.name);
        }
    }

    void clickBelowTheItemsKeepsTheSelection() {
        VELTRANO_FIND(nameTypes, CListBox, *h, "nameTypeList");
        VELTRANO_FIND(create, QPushButton, *h, "createButton");
        // Gamma has one name type, so the list has room below it.
        QVERIFY(h->Choose(QStringLiteral("Gamma"), kVorname));
        const QPoint below(10, nameTypes->visualItemRect(nameTypes->item(0)).bottom() + 10);
        QVERIFY(nameTypes->viewport()->rect().contains(below));
        QVERIFY(nameTypes->itemAt(below) == nullptr);
        for (const Qt::KeyboardModifiers modifiers :
             {Qt::KeyboardModifiers(), Qt::KeyboardModifiers(Qt::ControlModifier)}) {
            QTest::mouseClick(nameTypes->viewport(), Qt::LeftButton, modifiers, below);
            QCOMPARE(nameTypes->selectedItems().size(), 1);
            QVERIFY(create->isEnabled());
        }
        QVERIFY(h->PressCreate(QStringLiteral("1")));
        QCOMPARE(h->View()->Output(), std::string("Grimbart"));
    }

    void doubleClickOnlySelects() {
        VELTRANO_FIND(nameTypes, CListBox, *h, "nameTypeList");
        QVERIFY(h->Choose(kElben, kVorname));
        QListWidgetItem* item = nameTypes->findItems(QStringLiteral("Zuname"), Qt::MatchExactly)[0];
        QTest::mouseDClick(nameTypes->viewport(), Qt::LeftButton, {},
                           nameTypes->visualItemRect(item).center());
        QVERIFY(item->isSelected());
        QVERIFY(h->View()->Output().empty());
        QVERIFY(!h->View()->IsSaveEnabled());
    }

    // ---- the count field ----

    void countFieldRefusesTypedNonDigits() {
        VELTRANO_FIND(count, QLineEdit, *h, "countEdit");
        struct SKey {
            const char* name;
            Qt::Key key;
            const char* text;  // UTF-8
        };
        const SKey refused[] = {
            {"letter", Qt::Key_A, "a"},      {"capital", Qt::Key_Z, "Z"},
            {"blank", Qt::Key_Space, " "},   {"minus", Qt::Key_Minus, "-"},
            {"plus", Qt::Key_Plus, "+"},     {"umlaut", Qt::Key_Adiaeresis, "ä"},
            {"euro", Qt::Key_unknown, "€"},  {"above 127", Qt::Key_unknown, "\xc2\xa0"},
            {"period", Qt::Key_Period, "."},
        };
        count->setFocus();
        for (const SKey& row : refused) {
            count->setText(QStringLiteral("1"));
            count->end(false);
            QTest::sendKeyEvent(QTest::Click, count, row.key, QString::fromUtf8(row.text),
                                Qt::NoModifier);
            QVERIFY2(count->text() == QStringLiteral("1"), row.name);
        }
        // Digits go in; backspace deletes; the third digit is refused.
        count->setText(QString());
        QTest::keyClicks(count, QStringLiteral("4"));
        QCOMPARE(count->text(), QStringLiteral("4"));
        QTest::keyClick(count, Qt::Key_Backspace);
        QCOMPARE(count->text(), QString());
        QTest::keyClicks(count, QStringLiteral("123"));
        QCOMPARE(count->text(), QStringLiteral("12"));
    }

    void countFieldKeepsOnlyDigitsOfComposedInput() {
        VELTRANO_FIND(count, QLineEdit, *h, "countEdit");
        count->setFocus();
        count->setText(QString());
        QInputMethodEvent composed(QString(), {});
        composed.setCommitString(QString::fromUtf8("ä7ß"));
        QApplication::sendEvent(count, &composed);
        QCOMPARE(count->text(), QStringLiteral("7"));
    }

    void pastedCountIsReadAsTheCreateCommandReads() {
        VELTRANO_FIND(count, QLineEdit, *h, "countEdit");
        struct SRow {
            const char* pasted;
            const char* fieldAfterCreate;
            int names;
        };
        const SRow rows[] = {
            {"x", "1", 1},   {"0", "1", 1},    {"00", "1", 1},    {"", "1", 1},
            {" 3", " 3", 3}, {"-5", "1", 1},   {"+4", "+4", 4},   {"7x", "7x", 7},
            {"05", "05", 5}, {"99", "99", 99}, {"123", "12", 12}, {"-", "1", 1},
        };
        QVERIFY(h->Choose(kElben, kVorname));
        VELTRANO_FIND(create, QPushButton, *h, "createButton");
        for (const SRow& row : rows) {
            // Pasting goes through the field's own context menu, which no
            // filter stops.
            count->clear();
            QApplication::clipboard()->setText(QString::fromUtf8(row.pasted));
            count->paste();
            QTest::mouseClick(create, Qt::LeftButton);
            QVERIFY2(count->text() == QString::fromUtf8(row.fieldAfterCreate), row.pasted);
            std::string expected = "Aeldor";
            for (int i = 1; i < row.names; ++i) {
                expected += "\r\nAeldor";
            }
            QVERIFY2(h->View()->Output() == expected, row.pasted);
        }
    }

    // ---- create and keep ----

    void createReplacesUnlessKeepIsOn() {
        VELTRANO_FIND(keep, QCheckBox, *h, "keepCheck");
        QVERIFY(h->Choose(kElben, kVorname));
        QVERIFY(h->PressCreate(QStringLiteral("2")));
        QCOMPARE(h->View()->Output(), std::string("Aeldor\r\nAeldor"));
        QVERIFY(h->PressCreate(QStringLiteral("1")));
        QCOMPARE(h->View()->Output(), std::string("Aeldor"));
        ClickCheckBox(*keep);
        QVERIFY(ClickItem(*h->Find<CListBox>("nameTypeList"), QStringLiteral("Zuname")));
        QVERIFY(h->PressCreate(QStringLiteral("2")));
        QCOMPARE(h->View()->Output(), std::string("Aeldor\r\nDorael\r\nDorael"));
        ClickCheckBox(*keep);
        QVERIFY(h->PressCreate(QStringLiteral("1")));
        QCOMPARE(h->View()->Output(), std::string("Dorael"));
    }

    void emptyNamesFollowTheSeparatorRule() {
        VELTRANO_FIND(keep, QCheckBox, *h, "keepCheck");
        VELTRANO_FIND(nameTypes, CListBox, *h, "nameTypeList");
        VELTRANO_FIND(save, QPushButton, *h, "saveButton");
        QVERIFY(h->Choose(kElben, kLeer));
        // Empty names at the very start leave nothing behind...
        QVERIFY(h->PressCreate(QStringLiteral("3")));
        QCOMPARE(h->View()->Output(), std::string());
        QVERIFY(save->isEnabled());
        ClickCheckBox(*keep);
        QVERIFY(h->PressCreate(QStringLiteral("2")));
        QCOMPARE(h->View()->Output(), std::string());
        QVERIFY(ClickItem(*nameTypes, kVorname));
        QVERIFY(h->PressCreate(QStringLiteral("1")));
        QCOMPARE(h->View()->Output(), std::string("Aeldor"));
        // ...further on each leaves an empty line.
        QVERIFY(ClickItem(*nameTypes, kLeer));
        QVERIFY(h->PressCreate(QStringLiteral("2")));
        QCOMPARE(h->View()->Output(), std::string("Aeldor\r\n\r\n"));
        QVERIFY(ClickItem(*nameTypes, kVorname));
        QVERIFY(h->PressCreate(QStringLiteral("1")));
        QCOMPARE(h->View()->Output(), std::string("Aeldor\r\n\r\n\r\nAeldor"));
    }

    void paneShowsTheOutput() {
        VELTRANO_FIND(pane, QPlainTextEdit, *h, "outputView");
        QVERIFY(h->Choose(kElben, QStringLiteral("beiname")));
        QVERIFY(h->PressCreate(QStringLiteral("3")));
        QCOMPARE(h->View()->Output(), std::string("ael\r\nael\r\nael"));
        QCOMPARE(pane->toPlainText(), QStringLiteral("ael\nael\nael"));
        QCOMPARE(pane->document()->blockCount(), 3);
    }

    void keptListsGrowThePaneAsTheOutputGrows() {
        VELTRANO_FIND(pane, QPlainTextEdit, *h, "outputView");
        VELTRANO_FIND(keep, QCheckBox, *h, "keepCheck");
        VELTRANO_FIND(nameTypes, CListBox, *h, "nameTypeList");
        QVERIFY(h->Choose(kElben, kLeer));
        ClickCheckBox(*keep);
        // Empty names first (nothing shown), then names and empty lines
        // appended: after every list the pane shows exactly the output.
        const struct {
            QString nameType;
            QString count;
            QString shown;
        } steps[] = {
            {kLeer, QStringLiteral("2"), QString()},
            {kVorname, QStringLiteral("2"), QStringLiteral("Aeldor\nAeldor")},
            {kLeer, QStringLiteral("1"), QStringLiteral("Aeldor\nAeldor\n")},
            {kVorname, QStringLiteral("3"),
             QStringLiteral("Aeldor\nAeldor\n\nAeldor\nAeldor\nAeldor")},
            {kVorname, QStringLiteral("1"),
             QStringLiteral("Aeldor\nAeldor\n\nAeldor\nAeldor\nAeldor\nAeldor")},
        };
        for (const auto& step : steps) {
            QVERIFY(ClickItem(*nameTypes, step.nameType));
            QVERIFY(h->PressCreate(step.count));
            QCOMPARE(pane->toPlainText(), step.shown);
        }
        QCOMPARE(pane->document()->blockCount(), 7);
    }

    // ---- menu and keys follow the flags ----

    void createKeyDoesNothingBeforeANameType() {
        VELTRANO_FIND(count, QLineEdit, *h, "countEdit");
        VELTRANO_FIND(cultures, CListBox, *h, "cultureList");
        QVERIFY(ClickItem(*cultures, kElben));
        QTest::keyClick(h->Frame(), Qt::Key_E, Qt::ControlModifier);
        count->setFocus();
        count->setCursorPosition(0);
        QTest::keyClick(count, Qt::Key_E, Qt::ControlModifier);
        QVERIFY(h->View()->Output().empty());
        QVERIFY(!h->View()->IsSaveEnabled());
        // Nor did the field take it as "end of line".
        QCOMPARE(count->cursorPosition(), 0);
    }

    void createKeyInTheCountFieldCreatesTheList() {
        VELTRANO_FIND(count, QLineEdit, *h, "countEdit");
        QVERIFY(h->Choose(kElben, kVorname));
        count->setFocus();
        count->setText(QStringLiteral("2"));
        count->setCursorPosition(0);
        QTest::keyClick(count, Qt::Key_E, Qt::ControlModifier);
        QCOMPARE(h->View()->Output(), std::string("Aeldor\r\nAeldor"));
        QCOMPARE(count->cursorPosition(), 0);
    }

    void saveKeyDoesNothingBeforeTheFirstList() {
        QTest::keyClick(h->Frame(), Qt::Key_S, Qt::ControlModifier);
        QVERIFY(h->dialogs.fileDialogs.empty());
        QVERIFY(h->Choose(kElben, kVorname));
        QVERIFY(h->PressCreate(QStringLiteral("1")));
        h->dialogs.saveAnswers.push_back(std::nullopt);  // the user cancels
        QTest::keyClick(h->Frame(), Qt::Key_S, Qt::ControlModifier);
        QCOMPARE(h->dialogs.fileDialogs.size(), std::size_t{1});
        QVERIFY(h->dialogs.messages.empty());
    }

    void keepOutputCheckBoxMenuAndKeyAgree() {
        VELTRANO_FIND(keep, QCheckBox, *h, "keepCheck");
        VELTRANO_FIND(count, QLineEdit, *h, "countEdit");
        QAction* action = h->Frame()->Action(ID_EDIT_KEEP_OUTPUT);
        QVERIFY(action != nullptr);
        struct SStep {
            const char* name;
            std::function<void()> toggle;
        };
        const SStep steps[] = {
            {"check box", [&] { ClickCheckBox(*keep); }},
            {"menu", [&] { action->trigger(); }},
            {"Ctrl+B", [&] { QTest::keyClick(h->Frame(), Qt::Key_B, Qt::ControlModifier); }},
            {"Ctrl+B in the count field",
             [&] {
                 count->setFocus();
                 QTest::keyClick(count, Qt::Key_B, Qt::ControlModifier);
             }},
            {"space on the check box",
             [&] {
                 keep->setFocus();
                 QTest::keyClick(keep, Qt::Key_Space);
             }},
            {"menu again", [&] { action->trigger(); }},
        };
        for (std::size_t i = 0; i < std::size(steps); ++i) {
            const SStep& step = steps[i];
            step.toggle();
            const bool expected = i % 2 == 0;  // each step toggles, starting from off
            QVERIFY2(h->View()->IsKeepOutput() == expected, step.name);
            QVERIFY2(keep->isChecked() == expected, step.name);
            QVERIFY2(action->isChecked() == expected, step.name);
        }
    }

    void editKeysNeverReachTheCountField() {
        VELTRANO_FIND(count, QLineEdit, *h, "countEdit");
        struct SKey {
            const char* name;
            Qt::Key key;
            Qt::KeyboardModifiers modifiers;
        };
        const SKey keys[] = {
            {"Ctrl+V", Qt::Key_V, Qt::ControlModifier},
            {"Shift+Insert", Qt::Key_Insert, Qt::ShiftModifier},
            {"Ctrl+X", Qt::Key_X, Qt::ControlModifier},
            {"Shift+Delete", Qt::Key_Delete, Qt::ShiftModifier},
            {"Ctrl+Z", Qt::Key_Z, Qt::ControlModifier},
            {"Alt+Backspace", Qt::Key_Backspace, Qt::AltModifier},
            {"Ctrl+C", Qt::Key_C, Qt::ControlModifier},
            {"Ctrl+Insert", Qt::Key_Insert, Qt::ControlModifier},
            {"F6", Qt::Key_F6, Qt::NoModifier},
            {"Shift+F6", Qt::Key_F6, Qt::ShiftModifier},
        };
        count->setFocus();
        for (const SKey& row : keys) {
            // Something to undo, a selection to cut or copy, text to paste.
            count->setText(QStringLiteral("1"));
            QTest::keyClicks(count, QStringLiteral("5"));
            count->selectAll();
            QApplication::clipboard()->setText(QStringLiteral("34"));
            QTest::keyClick(count, row.key, row.modifiers);
            QVERIFY2(count->text() == QStringLiteral("15"), row.name);
            QVERIFY2(QApplication::clipboard()->text() == QStringLiteral("34"), row.name);
            QVERIFY2(QApplication::focusWidget() == count, row.name);
        }
        QVERIFY(h->View()->Output().empty());
    }

    void editCommandsActOnThePaneOnceClicked() {
        VELTRANO_FIND(pane, QPlainTextEdit, *h, "outputView");
        QAction* copy = h->Frame()->Action(ID_EDIT_COPY);
        QVERIFY(copy != nullptr);
        QVERIFY(h->Choose(kElben, kVorname));
        QVERIFY(h->PressCreate(QStringLiteral("2")));
        pane->selectAll();
        QVERIFY(!copy->isEnabled());
        QTest::mouseClick(pane->viewport(), Qt::LeftButton);
        pane->selectAll();
        QVERIFY(copy->isEnabled());
        QApplication::clipboard()->setText(QStringLiteral("vorher"));
        QTest::keyClick(pane, Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("Aeldor\nAeldor"));
        // The pane stays read-only: cutting, pasting and undoing change nothing.
        for (const int id : {ID_EDIT_CUT, ID_EDIT_PASTE, ID_EDIT_UNDO}) {
            QVERIFY(!h->Frame()->Action(id)->isEnabled());
            QVERIFY(h->Frame()->OnCmdMsg(id));
        }
        QTest::keyClick(pane, Qt::Key_X, Qt::ControlModifier);
        QTest::keyClick(pane, Qt::Key_V, Qt::ControlModifier);
        QTest::keyClick(pane, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(pane->toPlainText(), QStringLiteral("Aeldor\nAeldor"));
        QCOMPARE(h->View()->Output(), std::string("Aeldor\r\nAeldor"));
    }

    void tabMovesNoFocus() {
        VELTRANO_FIND(count, QLineEdit, *h, "countEdit");
        count->setFocus();
        QTest::keyClick(count, Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), count);
        h->View()->setFocus();
        QTest::keyClick(h->View(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), h->View());
    }

    // ---- application commands ----

    void aboutBoxShowsVersionIconAndOk() {
        QAction* about = h->Frame()->Action(ID_APP_ABOUT);
        QVERIFY(about != nullptr);
        auto inspected = std::make_shared<bool>(false);
        h->dialogs.inspectModal = [inspected](QDialog& dialog) {
            auto* version = dialog.findChild<QLabel*>(QStringLiteral("aboutVersion"));
            auto* icon = dialog.findChild<QLabel*>(QStringLiteral("aboutIcon"));
            auto* ok = dialog.findChild<QPushButton*>(QStringLiteral("aboutOk"));
            if (version == nullptr || icon == nullptr || ok == nullptr) {
                return;
            }
            *inspected = version->text() == QStringLiteral("Veltrano Version 0.97") &&
                         !icon->pixmap().isNull() && ok->text() == QStringLiteral("OK") &&
                         ok->isDefault() && dialog.isModal();
            // Every control lies inside the box and shows its text unclipped.
            for (QWidget* child : dialog.findChildren<QWidget*>()) {
                *inspected = *inspected && dialog.rect().contains(child->geometry());
                if (auto* label = qobject_cast<QLabel*>(child)) {
                    *inspected = *inspected && label->sizeHint().width() <= label->width() &&
                                 label->sizeHint().height() <= label->height() + 2;
                }
            }
        };
        about->trigger();
        QCOMPARE(h->dialogs.modalTitles, QStringList({QString::fromUtf8("Info über Veltrano")}));
        QVERIFY(*inspected);
    }

    void exitClosesTheFrame() {
        QAction* exit = h->Frame()->Action(ID_APP_EXIT);
        QVERIFY(exit != nullptr);
        exit->trigger();
        QVERIFY(!h->Frame()->isVisible());
    }
};

QTEST_MAIN(WindowTest)
#include "tst_window.moc"
