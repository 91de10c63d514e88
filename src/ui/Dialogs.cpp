#include "ui/Dialogs.h"

#include <QDialog>
#include <QFileDialog>
#include <QMessageBox>
#include <algorithm>

void CQtDialogs::MessageBox(QWidget* owner, const QString& text, const QString& caption) {
    QMessageBox box(QMessageBox::NoIcon, caption, text, QMessageBox::Ok, owner);
    // The texts hold paths and stored values: "<b>" in a file name is part of
    // the name, not markup.
    box.setTextFormat(Qt::PlainText);
    box.exec();
}

namespace {

// The filters are written Windows style, where "*.*" lists every file. Qt reads "*.*" as "names
// with a dot" and, when saving, turns a typed name's extension into the chosen filter's
// ("liste.*"). So each entry keeps its shown text and gets a pattern of Qt's own in a second pair
// of brackets, which HideNameFilterDetails leaves out of the list.
QStringList QtNameFilters(const QString& filter) {
    QStringList filters;
    for (const QString& entry : filter.split(QStringLiteral(";;"))) {
        const QString patterns = entry.section(QLatin1Char('('), -1).chopped(1);
        QStringList qtPatterns = patterns.split(QLatin1Char(' '));
        std::replace(qtPatterns.begin(), qtPatterns.end(), QStringLiteral("*.*"),
                     QStringLiteral("*"));
        filters.append(entry + QStringLiteral(" (") + qtPatterns.join(QLatin1Char(' ')) +
                       QLatin1Char(')'));
    }
    return filters;
}

std::optional<QString> RunFileDialog(QFileDialog& dialog, const CFileDialogRequest& request) {
    // Qt's own dialog, whatever the desktop offers: only with it does a name
    // that gets the default extension still ask before replacing a file of
    // that name (desktop dialogs ask about the name as typed, before Qt adds
    // the extension), and only its filters can be told apart from their text.
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setOption(QFileDialog::HideNameFilterDetails);
    dialog.setNameFilters(QtNameFilters(request.filter));
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
