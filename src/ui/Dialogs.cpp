#include "ui/Dialogs.h"

#include <QDialog>
#include <QFileDialog>
#include <QMessageBox>

void CQtDialogs::MessageBox(QWidget* owner, const QString& text, const QString& caption) {
    QMessageBox box(QMessageBox::NoIcon, caption, text, QMessageBox::Ok, owner);
    box.exec();
}

namespace {

std::optional<QString> RunFileDialog(QFileDialog& dialog, const CFileDialogRequest& request) {
    dialog.setNameFilters(request.filter.split(QStringLiteral(";;")));
    dialog.setDefaultSuffix(request.defaultSuffix);
    if (!request.initialName.isEmpty()) {
        dialog.selectFile(request.initialName);
    }
    if (dialog.exec() != QDialog::Accepted) {
        return std::nullopt;
    }
    const QStringList files = dialog.selectedFiles();
    if (files.isEmpty()) {
        return std::nullopt;
    }
    return files.first();
}

}  // namespace

std::optional<QString> CQtDialogs::GetSaveFileName(QWidget* owner,
                                                   const CFileDialogRequest& request) {
    QFileDialog dialog(owner);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    // Replacing a file is confirmed in the dialog, before anything is written.
    dialog.setOption(QFileDialog::DontConfirmOverwrite, false);
    return RunFileDialog(dialog, request);
}

std::optional<QString> CQtDialogs::GetOpenFileName(QWidget* owner,
                                                   const CFileDialogRequest& request) {
    QFileDialog dialog(owner);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    return RunFileDialog(dialog, request);
}

void CQtDialogs::RunModal(QDialog& dialog) { dialog.exec(); }
