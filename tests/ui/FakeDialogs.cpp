#include "FakeDialogs.h"

#include <QDialog>

namespace {

// The next queued answer, or a cancel counted as unexpected when none is left.
std::optional<QString> TakeAnswer(std::deque<std::optional<QString>>& answers, int& unexpected) {
    if (answers.empty()) {
        ++unexpected;
        return std::nullopt;
    }
    std::optional<QString> answer;
    answer.swap(answers.front());
    answers.pop_front();
    return answer;
}

}  // namespace

void CFakeDialogs::MessageBox(QWidget* owner, const QString& text, const QString& caption) {
    messages.push_back({text, caption, owner != nullptr});
}

std::optional<QString> CFakeDialogs::GetSaveFileName(QWidget* /*owner*/,
                                                     const CFileDialogRequest& request) {
    fileDialogs.push_back({true, request});
    return TakeAnswer(saveAnswers, unexpectedDialogs);
}

std::optional<QString> CFakeDialogs::GetOpenFileName(QWidget* /*owner*/,
                                                     const CFileDialogRequest& request) {
    fileDialogs.push_back({false, request});
    return TakeAnswer(openAnswers, unexpectedDialogs);
}

void CFakeDialogs::RunModal(QDialog& dialog) {
    modalTitles.push_back(dialog.windowTitle());
    if (inspectModal) {
        inspectModal(dialog);
    }
}
