#include "ui/AppSetup.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QTranslator>

#include "ui/Resources.h"

void SetUpApplication(QTranslator& qtTexts) {
    QApplication::setApplicationName(ApplicationTitle());
    QApplication::setApplicationVersion(QStringLiteral(VELTRANO_VERSION));
    // The desktop entry's name, by which Wayland compositors find the
    // program's icon and name for its window.
    QApplication::setDesktopFileName(QStringLiteral("de.brannock.Veltrano"));
    // The program speaks German, so Qt's own texts (file dialogs, context
    // menus) do too, whatever the locale; without the translation they stay
    // English.
    if (qtTexts.load(QStringLiteral("qtbase_de"),
                     QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        QApplication::installTranslator(&qtTexts);
    }
}
