#pragma once

#include <memory>
#include <string>

class CDialogs;
class CMainFrame;

// The application: starts the one window and handles the commands that no
// window takes (About, Exit).
class CVeltranoApp {
  public:
    CVeltranoApp();
    ~CVeltranoApp();
    CVeltranoApp(const CVeltranoApp&) = delete;
    CVeltranoApp& operator=(const CVeltranoApp&) = delete;

    // Needs the QApplication. Creates the store on a first start, then the
    // frame with its view, and shows it. False, with nothing shown but the
    // error message, when the semantics cannot be loaded.
    bool InitInstance();
    // Destroys the window while the QApplication still exists.
    void ExitInstance();

    // True when the command was one of the application's.
    bool OnCmdMsg(int id);
    void OnAppAbout();

    CMainFrame* MainFrame() const { return m_frame.get(); }

    // Tests answer the dialogs themselves; nullptr restores the real ones.
    void SetDialogs(CDialogs* dialogs);
    // Where a first start points the new store. Empty: the folder that the
    // build tree and an installation both place beside the executable.
    void SetBundledDataDir(std::string directory);
    std::string BundledDataDir() const;

  private:
    void CreateStoreOnFirstStart() const;

    std::unique_ptr<CDialogs> m_qtDialogs;
    CDialogs* m_dialogs;
    std::string m_bundledDataDir;
    std::unique_ptr<CMainFrame> m_frame;
};
