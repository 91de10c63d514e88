#include "ui/MainFrame.h"

#include <QAction>
#include <QEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <algorithm>
#include <array>
#include <span>

#include "ui/CommandIds.h"
#include "ui/MainView.h"
#include "ui/Resources.h"
#include "ui/VeltranoApp.h"

namespace {

struct SCommand {
    int id;
    const char* objectName;
};

// Every command the frame knows, menu or key.
constexpr std::array<SCommand, 13> kCommands = {{
    {ID_FILE_CREATE_LIST, "createListAction"},
    {ID_FILE_SAVE_LIST, "saveListAction"},
    {ID_FILE_SHOW_INIT, "showInitFileAction"},
    {ID_FILE_CHOOSE_INIT, "chooseInitFileAction"},
    {ID_APP_EXIT, "exitAction"},
    {ID_EDIT_KEEP_OUTPUT, "keepOutputAction"},
    {ID_EDIT_UNDO, "undoAction"},
    {ID_EDIT_CUT, "cutAction"},
    {ID_EDIT_COPY, "copyAction"},
    {ID_EDIT_PASTE, "pasteAction"},
    {ID_APP_ABOUT, "aboutAction"},
    {ID_NEXT_PANE, "nextPaneAction"},
    {ID_PREV_PANE, "prevPaneAction"},
}};

// A menu item; id 0 is a separator. The text after "\t" is what the menu
// shows as the item's key; the keys themselves come from kAccelerators.
struct SMenuItem {
    int id;
    const char* text;
};

constexpr std::array<SMenuItem, 7> kFileMenu = {{
    {ID_FILE_CREATE_LIST, "Liste &erstellen\tStrg+E"},
    {ID_FILE_SAVE_LIST, "&Liste speichern...\tStrg+S"},
    {0, nullptr},
    {ID_FILE_SHOW_INIT, "&Momentane Init-Datei"},
    {ID_FILE_CHOOSE_INIT, "&Init-Datei..."},
    {0, nullptr},
    // Alt+F4 closes the window through the window manager, not through a
    // shortcut of the program.
    {ID_APP_EXIT, "&Beenden\tAlt+F4"},
}};

constexpr std::array<SMenuItem, 7> kEditMenu = {{
    {ID_EDIT_KEEP_OUTPUT, "Ausgabe &behalten\tStrg+B"},
    {0, nullptr},
    {ID_EDIT_UNDO, "&Rückgängig\tStrg+Z"},
    {0, nullptr},
    {ID_EDIT_CUT, "&Ausschneiden\tStrg+X"},
    {ID_EDIT_COPY, "&Kopieren\tStrg+C"},
    {ID_EDIT_PASTE, "E&infügen\tStrg+V"},
}};

constexpr std::array<SMenuItem, 1> kHelpMenu = {{
    {ID_APP_ABOUT, "Inf&o über Veltrano..."},
}};

struct SAccelerator {
    QKeyCombination keys;
    int id;
};

constexpr std::array<SAccelerator, 13> kAccelerators = {{
    {Qt::CTRL | Qt::Key_B, ID_EDIT_KEEP_OUTPUT},
    {Qt::CTRL | Qt::Key_C, ID_EDIT_COPY},
    {Qt::CTRL | Qt::Key_E, ID_FILE_CREATE_LIST},
    {Qt::CTRL | Qt::Key_S, ID_FILE_SAVE_LIST},
    {Qt::CTRL | Qt::Key_V, ID_EDIT_PASTE},
    {Qt::ALT | Qt::Key_Backspace, ID_EDIT_UNDO},
    {Qt::SHIFT | Qt::Key_Delete, ID_EDIT_CUT},
    {QKeyCombination(Qt::Key_F6), ID_NEXT_PANE},
    {Qt::SHIFT | Qt::Key_F6, ID_PREV_PANE},
    {Qt::CTRL | Qt::Key_Insert, ID_EDIT_COPY},
    {Qt::SHIFT | Qt::Key_Insert, ID_EDIT_PASTE},
    {Qt::CTRL | Qt::Key_X, ID_EDIT_CUT},
    {Qt::CTRL | Qt::Key_Z, ID_EDIT_UNDO},
}};

}  // namespace

CMainFrame::CMainFrame(CVeltranoApp& app, CDialogs& dialogs, QWidget* parent)
    : QMainWindow(parent), m_app(app), m_dialogs(dialogs) {
    setObjectName(QStringLiteral("mainFrame"));
    setWindowTitle(ApplicationTitle());
    setWindowIcon(VeltranoIcon());
    setFixedSize(kWidth, kHeight);
    CreateActions();
    CreateMenus();
}

CMainFrame::~CMainFrame() = default;

bool CMainFrame::Create() {
    m_view = new CMainView(m_dialogs, this);
    if (!m_view->Create()) {
        return false;
    }
    setCentralWidget(m_view);
    // The frame never keeps the focus itself: it hands it to the view.
    setFocusProxy(m_view);
    RouteAcceleratorsPastControls();
    connect(m_view, &CMainView::commandStateChanged, this, &CMainFrame::UpdateCommandUi);
    connect(m_view->OutputView(), &QPlainTextEdit::copyAvailable, this,
            &CMainFrame::UpdateCommandUi);
    UpdateCommandUi();
    return true;
}

bool CMainFrame::OnCmdMsg(int id) {
    if (m_view != nullptr && m_view->OnCmdMsg(id)) {
        return true;
    }
    if (OnEditCommand(id)) {
        return true;
    }
    return m_app.OnCmdMsg(id);
}

void CMainFrame::UpdateCommandUi() {
    for (const auto& [id, action] : m_actions) {
        if (m_view != nullptr && m_view->OnUpdateCmdUi(id, *action)) {
            continue;
        }
        switch (id) {
            case ID_EDIT_COPY:
                action->setEnabled(m_outputActive && m_view != nullptr &&
                                   m_view->OutputView()->textCursor().hasSelection());
                break;
            case ID_EDIT_CUT:
            case ID_EDIT_PASTE:
            case ID_EDIT_UNDO:
                // The output pane is read-only: nothing there can be cut,
                // pasted or undone.
                action->setEnabled(false);
                break;
            default:
                action->setEnabled(true);
                break;
        }
    }
}

QAction* CMainFrame::Action(int id) const {
    const auto found = m_actions.find(id);
    return found == m_actions.end() ? nullptr : found->second;
}

bool CMainFrame::event(QEvent* event) {
    if (event->type() == QEvent::WindowActivate && m_view != nullptr && focusWidget() == nullptr) {
        m_view->setFocus(Qt::ActiveWindowFocusReason);
    }
    return QMainWindow::event(event);
}

bool CMainFrame::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
        case QEvent::ShortcutOverride:
        case QEvent::KeyPress:
            // The accelerators come before the focused control, as a
            // control's own keys (Ctrl+E: end of line, Ctrl+V: paste) would
            // otherwise win: the override is refused, so the shortcut fires,
            // and a press that still arrives belongs to a command that is
            // not available and is dropped.
            if (IsAcceleratorKey(*static_cast<QKeyEvent*>(event))) {
                return true;
            }
            break;
        case QEvent::MouseButtonPress:
            if (m_view != nullptr && watched == m_view->OutputView()->viewport() &&
                !m_outputActive) {
                m_outputActive = true;
                UpdateCommandUi();
            }
            break;
        default:
            break;
    }
    return QMainWindow::eventFilter(watched, event);
}

void CMainFrame::CreateActions() {
    for (const SCommand& command : kCommands) {
        auto* action = new QAction(this);
        action->setObjectName(QString::fromLatin1(command.objectName));
        action->setData(command.id);
        QList<QKeySequence> keys;
        for (const SAccelerator& accelerator : kAccelerators) {
            if (accelerator.id == command.id) {
                keys.append(QKeySequence(accelerator.keys));
            }
        }
        action->setShortcuts(keys);
        action->setShortcutContext(Qt::WindowShortcut);
        const int id = command.id;
        connect(action, &QAction::triggered, this, [this, id] { OnCmdMsg(id); });
        // Added to the frame itself, the keys work whether or not a menu
        // shows the action.
        addAction(action);
        m_actions.emplace(id, action);
    }
}

void CMainFrame::CreateMenus() {
    struct SMenu {
        const char* objectName;
        const char* title;
        std::span<const SMenuItem> items;
    };
    const std::array<SMenu, 3> menus = {{
        {"fileMenu", "&Datei", kFileMenu},
        {"editMenu", "&Bearbeiten", kEditMenu},
        {"helpMenu", "&?", kHelpMenu},
    }};
    for (const SMenu& entry : menus) {
        QMenu* menu = menuBar()->addMenu(QString::fromUtf8(entry.title));
        menu->setObjectName(QString::fromLatin1(entry.objectName));
        for (const SMenuItem& item : entry.items) {
            if (item.id == 0) {
                menu->addSeparator();
                continue;
            }
            QAction* action = m_actions.at(item.id);
            action->setText(QString::fromUtf8(item.text));
            menu->addAction(action);
        }
        // The states are also kept current as the flags change; this is the
        // last chance before a person looks at them.
        connect(menu, &QMenu::aboutToShow, this, &CMainFrame::UpdateCommandUi);
    }
}

void CMainFrame::RouteAcceleratorsPastControls() {
    for (QWidget* control : m_view->findChildren<QWidget*>()) {
        control->installEventFilter(this);
    }
}

bool CMainFrame::IsAcceleratorKey(const QKeyEvent& key) const {
    const QKeyCombination pressed(key.modifiers() & ~Qt::KeypadModifier, Qt::Key(key.key()));
    return std::any_of(kAccelerators.begin(), kAccelerators.end(),
                       [&pressed](const SAccelerator& entry) { return entry.keys == pressed; });
}

bool CMainFrame::OnEditCommand(int id) {
    if (!m_outputActive || m_view == nullptr) {
        return false;
    }
    QPlainTextEdit* pane = m_view->OutputView();
    switch (id) {
        case ID_EDIT_COPY:
            pane->copy();
            return true;
        // The pane is read-only, so these leave its text as it is.
        case ID_EDIT_CUT:
            pane->cut();
            return true;
        case ID_EDIT_PASTE:
            pane->paste();
            return true;
        case ID_EDIT_UNDO:
            pane->undo();
            return true;
        default:
            return false;
    }
}
