#pragma once

#include <QMainWindow>
#include <map>

class CDialogs;
class CMainView;
class CVeltranoApp;
class QAction;

// The program's one window: fixed size, menu, keyboard accelerators, and the
// main view filling the rest. Every command is offered to the view first,
// then to the output pane once it has been clicked, then to the application.
class CMainFrame : public QMainWindow {
    Q_OBJECT
  public:
    static constexpr int kWidth = 540;
    static constexpr int kHeight = 490;

    CMainFrame(CVeltranoApp& app, CDialogs& dialogs, QWidget* parent = nullptr);
    ~CMainFrame() override;
    CMainFrame(const CMainFrame&) = delete;
    CMainFrame& operator=(const CMainFrame&) = delete;

    // Creates the view. False when it could not be created (the semantics
    // did not load); the frame must then not be shown.
    bool Create();

    // Routes command `id`; true when something handled it.
    bool OnCmdMsg(int id);
    // Brings every action's enabled and checked state up to date, so that a
    // command that is not available cannot fire from the menu or a key.
    void UpdateCommandUi();

    CMainView* View() const { return m_view; }
    QAction* Action(int id) const;

  protected:
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void CreateActions();
    void CreateMenus();
    void RouteAcceleratorsPastControls();
    bool IsAcceleratorKey(const QKeyEvent& key) const;
    bool OnEditCommand(int id);

    CVeltranoApp& m_app;
    CDialogs& m_dialogs;
    CMainView* m_view = nullptr;
    std::map<int, QAction*> m_actions;
    // The output pane receives the Edit commands once the user has clicked it.
    bool m_outputActive = false;
};
