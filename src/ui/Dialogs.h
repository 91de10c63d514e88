#pragma once

#include <QString>
#include <optional>

class QDialog;
class QWidget;

// What a file dialog is asked to show.
struct CFileDialogRequest {
    // Entries separated by ";;", written Windows style: "Textdatei (*.txt)",
    // and "Alle Dateien (*.*)" for every file.
    QString filter;
    QString defaultSuffix;  // appended to a typed name without one
    QString initialName;    // preselected file name, may be empty
};

// Every modal dialog of the program goes through this interface, so that the
// window tests can answer them without a person.
class CDialogs {
  public:
    virtual ~CDialogs() = default;

    // A message box with only an OK button.
    virtual void MessageBox(QWidget* owner, const QString& text, const QString& caption) = 0;
    // The full path the user chose, or nothing when cancelled. The user has
    // confirmed replacing an existing file.
    virtual std::optional<QString> GetSaveFileName(QWidget* owner,
                                                   const CFileDialogRequest& request) = 0;
    // The full path of an existing file, or nothing when cancelled.
    virtual std::optional<QString> GetOpenFileName(QWidget* owner,
                                                   const CFileDialogRequest& request) = 0;
    // Runs a dialog of the program's own modally.
    virtual void RunModal(QDialog& dialog) = 0;
};

// The dialogs a person answers.
class CQtDialogs : public CDialogs {
  public:
    void MessageBox(QWidget* owner, const QString& text, const QString& caption) override;
    std::optional<QString> GetSaveFileName(QWidget* owner,
                                           const CFileDialogRequest& request) override;
    std::optional<QString> GetOpenFileName(QWidget* owner,
                                           const CFileDialogRequest& request) override;
    void RunModal(QDialog& dialog) override;
};
