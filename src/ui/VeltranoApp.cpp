#include "ui/VeltranoApp.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>

#include "settings/FileRegistryStore.h"
#include "settings/Settings.h"
#include "ui/AboutDlg.h"
#include "ui/CommandIds.h"
#include "ui/Dialogs.h"
#include "ui/MainFrame.h"
#include "ui/MainView.h"

#ifndef VELTRANO_DATA_DIR_FROM_BIN
#define VELTRANO_DATA_DIR_FROM_BIN "../share/veltrano"
#endif

CVeltranoApp::CVeltranoApp()
    : m_qtDialogs(std::make_unique<CQtDialogs>()), m_dialogs(m_qtDialogs.get()) {}

CVeltranoApp::~CVeltranoApp() = default;

bool CVeltranoApp::InitInstance() {
    CreateStoreOnFirstStart();
    m_frame = std::make_unique<CMainFrame>(*this, *m_dialogs);
    if (!m_frame->Create()) {
        // The view has told the user already; the window is never shown.
        m_frame.reset();
        return false;
    }
    m_frame->show();
    m_frame->setFocus(Qt::OtherFocusReason);
    return true;
}

void CVeltranoApp::ExitInstance() { m_frame.reset(); }

bool CVeltranoApp::OnCmdMsg(int id) {
    switch (id) {
        case ID_APP_ABOUT:
            OnAppAbout();
            return true;
        case ID_APP_EXIT:
            if (m_frame != nullptr) {
                m_frame->close();
            }
            return true;
        default:
            return false;
    }
}

void CVeltranoApp::OnAppAbout() {
    CAboutDlg dialog(m_frame.get());
    m_dialogs->RunModal(dialog);
}

void CVeltranoApp::SetDialogs(CDialogs* dialogs) {
    m_dialogs = dialogs != nullptr ? dialogs : m_qtDialogs.get();
}

void CVeltranoApp::SetBundledDataDir(std::string directory) {
    m_bundledDataDir = std::move(directory);
}

std::string CVeltranoApp::BundledDataDir() const {
    if (!m_bundledDataDir.empty()) {
        return m_bundledDataDir;
    }
    const QString directory = QDir::cleanPath(QCoreApplication::applicationDirPath() +
                                              QStringLiteral("/" VELTRANO_DATA_DIR_FROM_BIN));
    return QFile::encodeName(directory).toStdString();
}

// A new user gets a store that points at the sample data, so the lists are
// filled at once. Only the file store is created, and an existing one, even
// one that cannot be read, is never replaced.
void CVeltranoApp::CreateStoreOnFirstStart() const {
    auto* fileStore = dynamic_cast<CFileRegistryStore*>(&CurrentRegistryStore());
    if (fileStore == nullptr) {
        return;
    }
    if (fileStore->CreateForSampleData(BundledDataDir()) ==
        CFileRegistryStore::Creation::kCreated) {
        // The settings were read at start-up from a store that did not exist.
        SettingsReloadPending = true;
    }
}
