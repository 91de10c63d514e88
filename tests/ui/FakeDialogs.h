#pragma once

#include <QString>
#include <QStringList>
#include <deque>
#include <functional>
#include <optional>
#include <vector>

#include "ui/Dialogs.h"

// Answers the program's dialogs from queues the test fills, and records what
// was shown. A file dialog without a queued answer counts as unexpected and
// is cancelled, so a test never waits for a person.
class CFakeDialogs : public CDialogs {
  public:
    struct SMessage {
        QString text;
        QString caption;
        bool hasOwner;
    };
    struct SFileDialog {
        bool save;
        CFileDialogRequest request;
    };

    void MessageBox(QWidget* owner, const QString& text, const QString& caption) override;
    std::optional<QString> GetSaveFileName(QWidget* owner,
                                           const CFileDialogRequest& request) override;
    std::optional<QString> GetOpenFileName(QWidget* owner,
                                           const CFileDialogRequest& request) override;
    void RunModal(QDialog& dialog) override;

    std::deque<std::optional<QString>> saveAnswers;
    std::deque<std::optional<QString>> openAnswers;
    // Called with each modal dialog of the program's own before it "closes".
    std::function<void(QDialog&)> inspectModal;

    std::vector<SMessage> messages;
    std::vector<SFileDialog> fileDialogs;
    QStringList modalTitles;
    int unexpectedDialogs = 0;
};
