#include "text/SystemError.h"

#include <cerrno>
#include <cstring>

std::string SystemErrorText(int errorNumber) {
    switch (errorNumber) {
        case ENOSPC:
            return "Auf dem Datenträger ist kein Platz mehr";
        case EDQUOT:
            return "Das Speicherkontingent ist erschöpft";
        case EPIPE:
            return "Die Gegenseite hat die Leitung geschlossen";
        case EACCES:
        case EPERM:
            return "Keine Berechtigung";
        case EROFS:
            return "Das Dateisystem ist nur lesbar";
        case ENOENT:
            return "Datei oder Ordner nicht gefunden";
        case ENOTDIR:
            return "Ein Teil des Pfads ist kein Ordner";
        case EISDIR:
            return "Das ist ein Ordner";
        case EBADF:
            return "Die Ausgabe ist nicht geöffnet";
        case EIO:
            return "Ein-/Ausgabefehler";
        case EFBIG:
            return "Die Datei wird zu groß";
        case ENOMEM:
            return "Der Arbeitsspeicher reicht nicht";
        case ENAMETOOLONG:
            return "Der Name ist zu lang";
        default:
            return std::string(std::strerror(errorNumber)) + " (Fehler " +
                   std::to_string(errorNumber) + ")";
    }
}
