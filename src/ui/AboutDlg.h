#pragma once

#include <QDialog>

// "Info über Veltrano": icon, version and two lines about the program.
class CAboutDlg : public QDialog {
    Q_OBJECT
  public:
    explicit CAboutDlg(QWidget* parent = nullptr);
};
