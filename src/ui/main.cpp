#include <QApplication>
#include <QLibraryInfo>
#include <QTranslator>
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
    // The program speaks German, so Qt's own texts (file dialogs, context
    // menus) do too, whatever the locale; without the translation they stay
    // English.
    QTranslator qtTexts;
    if (qtTexts.load(QStringLiteral("qtbase_de"),
                     QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        QApplication::installTranslator(&qtTexts);
    }

    int exitCode = EXIT_FAILURE;
    if (theApp.InitInstance()) {
        exitCode = QApplication::exec();
    }
    theApp.ExitInstance();
    return exitCode;
}
