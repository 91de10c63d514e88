#include "ui/MainView.h"

#include <QAction>
#include <QCheckBox>
#include <QEvent>
#include <QFile>
#include <QFont>
#include <QFontMetrics>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRect>
#include <QTextCursor>
#include <algorithm>
#include <array>
#include <optional>

#include "semantics/Semantics.h"
#include "settings/RegistryStore.h"
#include "settings/Settings.h"
#include "ui/CommandIds.h"
#include "ui/Dialogs.h"
#include "ui/DisplayText.h"
#include "ui/ListBox.h"
#include "ui/Resources.h"
#include "ui/SaveFile.h"

namespace {

// Left, top, right and bottom in pixels of the view, right and bottom
// exclusive.
struct SRectangle {
    int left;
    int top;
    int right;
    int bottom;

    QRect ToQRect() const { return {left, top, right - left, bottom - top}; }
};

constexpr SRectangle kCultureListRect{5, 25, 190, 95};
constexpr SRectangle kNameTypeListRect{200, 25, 430, 95};
constexpr SRectangle kCountEditRect{440, 25, 520, 45};
constexpr SRectangle kCreateButtonRect{440, 55, 520, 80};
constexpr SRectangle kOutputViewRect{5, 130, 520, 400};
constexpr SRectangle kSaveButtonRect{5, 410, 160, 435};
constexpr SRectangle kKeepCheckRect{170, 410, 520, 435};

struct SLabel {
    const char* objectName;
    const char* text;
    SRectangle rect;
};

constexpr std::array<SLabel, 4> kLabels = {{
    {"cultureLabel", "Kultur", {5, 5, 190, 20}},
    {"nameTypeLabel", "Namenstyp", {200, 5, 430, 20}},
    {"countLabel", "Anzahl", {440, 5, 520, 20}},
    {"outputLabel", "Ausgabe", {5, 105, 520, 125}},
}};

const char* const kCannotOpenDatabases = "Konnte Datenbanken nicht öffnen!";
const char* const kFatalErrorCaption = "Schwerer Fehler ist aufgetreten.";
const char* const kCannotRegisterInitFile = "Die Init-Datei konnte nicht eingetragen werden.";
// sic: the caption has always been spelt so.
const char* const kShowInitFileCaption = "Momentante Init-Datei";
const char* const kSavedSuffix = " wurde gespeichert.";
const char* const kNotSavedSuffix = " konnte nicht gespeichert werden.";

template <typename Widget>
Widget* PlaceControl(Widget* widget, const char* objectName, int controlId,
                     const SRectangle& rect) {
    widget->setObjectName(QString::fromLatin1(objectName));
    widget->setProperty("controlId", controlId);
    widget->setGeometry(rect.ToQRect());
    return widget;
}

// Stores where the new init file lies: its name first, then its folder. When
// the second write fails, the first is undone, so that the store never pairs
// the new name with the old folder. False when the store keeps its old
// location.
bool StoreInitFileLocation(const std::string& fileName, const std::string& directory) {
    // A value the store refuses is known before anything is written; the undo
    // below is left for a store that fails while writing, and cannot put back
    // a name it could not read.
    if (!IsStorableValue(fileName) || !IsStorableValue(directory)) {
        return false;
    }
    const bool reloadWasPending = SettingsReloadPending;
    const std::string oldFileName = ReadRegistryValue("InitFile");
    if (!WriteRegistryValue("InitFile", fileName)) {
        return false;
    }
    if (WriteRegistryValue("DataDir", directory)) {
        return true;
    }
    // A value that could not be read cannot be put back; it was unusable.
    if (oldFileName != kErrorNoKey && oldFileName != kErrorUnknownSubkey) {
        WriteRegistryValue("InitFile", oldFileName);
    }
    SettingsReloadPending = reloadWasPending;
    return false;
}

bool IsAsciiDigit(QChar ch) { return ch >= u'0' && ch <= u'9'; }

// The rectangles are fixed and were drawn for a small font: a label is 15
// pixels high. A larger desktop font is made smaller until one line fits, so
// that no text is cut off; its family stays the desktop's.
constexpr int kLineHeight = 15;
constexpr qreal kSmallestPointSize = 5.0;
constexpr int kSmallestPixelSize = 7;

QFont FittedFont(QFont font) {
    while (QFontMetrics(font).height() > kLineHeight) {
        if (font.pointSizeF() > 0) {
            if (font.pointSizeF() <= kSmallestPointSize) {
                break;
            }
            font.setPointSizeF(font.pointSizeF() - 0.5);
        } else {
            if (font.pixelSize() <= kSmallestPixelSize) {
                break;
            }
            font.setPixelSize(font.pixelSize() - 1);
        }
    }
    return font;
}

}  // namespace

CMainView::CMainView(CDialogs& dialogs, QWidget* parent) : QWidget(parent), m_dialogs(dialogs) {
    setObjectName(QStringLiteral("mainView"));
    setFocusPolicy(Qt::StrongFocus);
}

CMainView::~CMainView() = default;

bool CMainView::Create() {
    m_pSemantics = std::make_unique<CSemantics>();
    if (!m_pSemantics->Load()) {
        ShowMessage(QString::fromUtf8(kCannotOpenDatabases), QString::fromUtf8(kFatalErrorCaption));
        return false;
    }

    if (const QFont fitted = FittedFont(font()); fitted != font()) {
        setFont(fitted);
    }
    m_cultureList =
        PlaceControl(new CListBox(this), "cultureList", IDC_CULTURE_LIST, kCultureListRect);
    FillCultureList();
    m_nameTypeList =
        PlaceControl(new CListBox(this), "nameTypeList", IDC_NAME_TYPE_LIST, kNameTypeListRect);

    m_countEdit = PlaceControl(new QLineEdit(this), "countEdit", IDC_COUNT_EDIT, kCountEditRect);
    m_countEdit->setMaxLength(2);
    m_countEdit->setAlignment(Qt::AlignRight);
    m_countEdit->setText(QStringLiteral("1"));
    m_countEdit->installEventFilter(this);

    m_outputView =
        PlaceControl(new QPlainTextEdit(this), "outputView", IDC_OUTPUT_VIEW, kOutputViewRect);
    m_outputView->setReadOnly(true);
    // Read-only: there is nothing to undo, and appended lists would pile up.
    m_outputView->setUndoRedoEnabled(false);
    m_outputView->setLineWrapMode(QPlainTextEdit::NoWrap);
    m_outputView->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);

    m_createButton = PlaceControl(new QPushButton(QStringLiteral("Erstellen"), this),
                                  "createButton", ID_FILE_CREATE_LIST, kCreateButtonRect);
    m_createButton->setEnabled(false);
    m_saveButton = PlaceControl(new QPushButton(QStringLiteral("Liste Speichern"), this),
                                "saveButton", ID_FILE_SAVE_LIST, kSaveButtonRect);
    m_saveButton->setEnabled(false);
    m_keepCheck = PlaceControl(new QCheckBox(QStringLiteral("Liste beibehalten"), this),
                               "keepCheck", ID_EDIT_KEEP_OUTPUT, kKeepCheckRect);

    for (std::size_t i = 0; i < kLabels.size(); ++i) {
        auto* label = new QLabel(QString::fromUtf8(kLabels[i].text), this);
        label->setTextFormat(Qt::PlainText);
        label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        m_labels[i] = PlaceControl(label, kLabels[i].objectName, IDC_STATIC, kLabels[i].rect);
    }

    connect(m_cultureList, &CListBox::selectionChangedByUser, this, &CMainView::OnCultureChanged);
    connect(m_nameTypeList, &CListBox::selectionChangedByUser, this, &CMainView::OnNameTypeChanged);
    // The buttons issue the menu's commands, under the same ids.
    for (QAbstractButton* button : {static_cast<QAbstractButton*>(m_createButton),
                                    static_cast<QAbstractButton*>(m_saveButton),
                                    static_cast<QAbstractButton*>(m_keepCheck)}) {
        const int id = button->property("controlId").toInt();
        connect(button, &QAbstractButton::clicked, this, [this, id] { OnCmdMsg(id); });
    }
    return true;
}

bool CMainView::OnCmdMsg(int id) {
    switch (id) {
        case ID_FILE_CREATE_LIST:
            OnCreateList();
            return true;
        case ID_FILE_SAVE_LIST:
            OnSaveList();
            return true;
        case ID_FILE_CHOOSE_INIT:
            OnChooseInitFile();
            return true;
        case ID_FILE_SHOW_INIT:
            OnShowInitFile();
            return true;
        case ID_EDIT_KEEP_OUTPUT:
            OnKeepOutput();
            return true;
        default:
            return false;
    }
}

bool CMainView::OnUpdateCmdUi(int id, QAction& action) const {
    switch (id) {
        case ID_FILE_CREATE_LIST:
            OnUpdateCreateList(action);
            return true;
        case ID_FILE_SAVE_LIST:
            OnUpdateSaveList(action);
            return true;
        case ID_EDIT_KEEP_OUTPUT:
            OnUpdateKeepOutput(action);
            return true;
        default:
            return false;
    }
}

void CMainView::OnCreateList() {
    if (!m_keepOutput) {
        m_output.clear();
    }
    const std::size_t keptBytes = m_output.size();
    const std::string culture = m_cultureList->GetSelectedBytes();
    const std::string nameType = m_nameTypeList->GetSelectedBytes();
    // The field is read as atoi reads it: blanks, a sign, then digits; a
    // text without digits gives 0.
    const QByteArray countText = m_countEdit->text().toUtf8();
    int count = ParseWeight(std::string_view(countText.constData(), countText.size()));
    if (count < 1) {
        m_countEdit->setText(QStringLiteral("1"));
        count = 1;
    }
    for (int i = 0; i < count; ++i) {
        // Only what has been built so far decides: an empty first name leaves
        // no line behind, an empty name further on leaves an empty line.
        if (!m_output.empty()) {
            m_output += "\r\n";
        }
        m_output += m_pSemantics->Generate(culture, nameType);
    }
    ShowOutput(keptBytes);
    m_saveEnabled = true;
    m_saveButton->setEnabled(true);
    emit commandStateChanged();
}

void CMainView::OnSaveList() {
    const std::optional<QString> path = m_dialogs.GetSaveFileName(
        this, {QStringLiteral("Textdatei (*.txt);;Alle Dateien (*.*)"), QStringLiteral("txt"), {}});
    if (!path) {
        return;
    }
    // The confirmation comes only after the bytes are safely in place.
    const bool saved = SaveBytesAtomically(*path, m_output);
    ShowMessage(*path + QString::fromUtf8(saved ? kSavedSuffix : kNotSavedSuffix),
                ApplicationTitle());
}

void CMainView::OnChooseInitFile() {
    const std::optional<QString> chosen =
        m_dialogs.GetOpenFileName(this, {QStringLiteral("Initdateien (init.txt)"),
                                         QStringLiteral("init.txt"), QStringLiteral("init.txt")});
    if (!chosen) {
        return;
    }
    // The store holds the path's bytes as the file system spells them.
    const std::string path = QFile::encodeName(*chosen).toStdString();
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos || slash == 0) {
        return;
    }
    if (!StoreInitFileLocation(path.substr(slash + 1), path.substr(0, slash))) {
        ShowMessage(QString::fromUtf8(kCannotRegisterInitFile),
                    QString::fromUtf8(kFatalErrorCaption));
        return;
    }

    // The new object's construction re-reads the init file the store now
    // names; the language file stays as first read.
    m_pSemantics.reset();
    m_pSemantics = std::make_unique<CSemantics>();
    if (!m_pSemantics->Load()) {
        ShowMessage(QString::fromUtf8(kCannotOpenDatabases), QString::fromUtf8(kFatalErrorCaption));
        return;
    }
    m_cultureList->ResetContent();
    m_nameTypeList->ResetContent();
    SetCreateEnabled(false);
    FillCultureList();
}

void CMainView::OnShowInitFile() {
    // What the store says, not what is loaded: an unreadable value shows its
    // error text.
    const std::string location = ReadRegistryValue("DataDir") + "/" + ReadRegistryValue("InitFile");
    ShowMessage(BytesToDisplay(location), QString::fromUtf8(kShowInitFileCaption));
}

void CMainView::OnKeepOutput() {
    // A click on the check box has already moved its mark; the menu and Ctrl+B
    // have not. Setting it from the flag makes both ways agree.
    m_keepOutput = !m_keepOutput;
    m_keepCheck->setChecked(m_keepOutput);
    emit commandStateChanged();
}

void CMainView::OnUpdateCreateList(QAction& action) const { action.setEnabled(m_createEnabled); }

void CMainView::OnUpdateSaveList(QAction& action) const { action.setEnabled(m_saveEnabled); }

void CMainView::OnUpdateKeepOutput(QAction& action) const {
    action.setEnabled(true);
    action.setCheckable(true);
    action.setChecked(m_keepOutput);
}

void CMainView::OnCultureChanged() {
    m_nameTypeList->ResetContent();
    SetCreateEnabled(false);
    for (const std::string& name :
         m_pSemantics->GetNameTypeNames(m_cultureList->GetSelectedBytes())) {
        m_nameTypeList->AddString(name);
    }
}

void CMainView::OnNameTypeChanged() { SetCreateEnabled(true); }

bool CMainView::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_countEdit && IsRefusedCountInput(event)) {
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

bool CMainView::focusNextPrevChild(bool /*next*/) { return false; }

void CMainView::keyPressEvent(QKeyEvent* event) {
    // A Tab that no control used stops here, before the frame would move the
    // focus with it.
    if (event->key() == Qt::Key_Tab || event->key() == Qt::Key_Backtab) {
        event->accept();
        return;
    }
    QWidget::keyPressEvent(event);
}

void CMainView::ShowMessage(const QString& text, const QString& caption) {
    // Before the window is shown (a failed start) the box stands alone.
    m_dialogs.MessageBox(window()->isVisible() ? this : nullptr, text, caption);
}

void CMainView::FillCultureList() {
    for (const std::string& name : m_pSemantics->GetCultureNames()) {
        m_cultureList->AddString(name);
    }
}

void CMainView::SetCreateEnabled(bool enabled) {
    m_createEnabled = enabled;
    m_createButton->setEnabled(enabled);
    emit commandStateChanged();
}

void CMainView::ShowOutput(std::size_t unchangedBytes) {
    // The pane shows lines; m_output keeps its CR LF pairs for saving. A kept
    // output only grows, so the pane takes just the new names: setting its
    // whole text again would cost more with every list. The output reads as
    // one text, UTF-8 only while all of it is; so the pane starts afresh when
    // the new part is the first that is not.
    const std::string_view added = std::string_view(m_output).substr(unchangedBytes);
    QString text;
    bool append = unchangedBytes > 0;
    if (append && m_outputShownAsUtf8) {
        // Valid UTF-8 ends on a whole character, so the output stays valid
        // exactly when the new part is.
        append = DecodeUtf8(added, text);
        if (!append) {
            m_outputShownAsUtf8 = false;
            text = FromWindows1252(m_output);
        }
    } else if (append) {
        text = FromWindows1252(added);
    } else {
        m_outputShownAsUtf8 = DecodeUtf8(m_output, text);
        if (!m_outputShownAsUtf8) {
            text = FromWindows1252(m_output);
        }
    }
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    if (append) {
        QTextCursor end(m_outputView->document());
        end.movePosition(QTextCursor::End);
        end.insertText(text);
    } else {
        m_outputView->setPlainText(text);
    }
}

// Only digits and backspace may be typed into the count field. Editing keys
// that type nothing (arrows, Delete) pass; text pasted through the field's
// context menu passes too and is read by the create command.
bool CMainView::IsRefusedCountInput(QEvent* event) const {
    if (event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        // A line edit takes Ctrl and Ctrl+Shift as its own shortcuts (Ctrl+A)
        // and never types their text. Any other key press types its text,
        // whatever it carries: Super+x types "x", and AltGr arrives as
        // Ctrl+Alt. So the text alone decides for those.
        const Qt::KeyboardModifiers modifiers = key->modifiers();
        if (modifiers == Qt::ControlModifier ||
            modifiers == (Qt::ControlModifier | Qt::ShiftModifier)) {
            return false;
        }
        const QString typed = key->text();
        return std::any_of(typed.begin(), typed.end(),
                           [](QChar ch) { return ch.isPrint() && !IsAsciiDigit(ch); });
    }
    if (event->type() == QEvent::InputMethod) {
        // Composed characters (dead keys, input methods) arrive here, not as
        // key presses: keep only their digits.
        auto* input = static_cast<QInputMethodEvent*>(event);
        QString digits = input->commitString();
        digits.removeIf([](QChar ch) { return !IsAsciiDigit(ch); });
        if (digits != input->commitString()) {
            input->setCommitString(digits, input->replacementStart(), input->replacementLength());
        }
    }
    return false;
}
