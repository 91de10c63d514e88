#include <QApplication>
#include <QTranslator>
#include <cstdlib>

#include "ui/AppSetup.h"
#include "ui/VeltranoApp.h"

namespace {
CVeltranoApp theApp;
}

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    QTranslator qtTexts;
    SetUpApplication(qtTexts);

    int exitCode = EXIT_FAILURE;
    if (theApp.InitInstance()) {
        exitCode = QApplication::exec();
    }
    theApp.ExitInstance();
    return exitCode;
}
