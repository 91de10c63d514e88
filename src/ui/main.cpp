#include <QApplication>
#include <cstdlib>

#include "ui/Resources.h"
#include "ui/VeltranoApp.h"

namespace {
CVeltranoApp theApp;
}

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    QApplication::setApplicationName(ApplicationTitle());
    QApplication::setApplicationVersion(QStringLiteral("0.97"));
    QApplication::setDesktopFileName(QStringLiteral("veltrano"));

    int exitCode = EXIT_FAILURE;
    if (theApp.InitInstance()) {
        exitCode = QApplication::exec();
    }
    theApp.ExitInstance();
    return exitCode;
}
