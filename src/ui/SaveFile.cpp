#include "ui/SaveFile.h"

#include <QSaveFile>

bool SaveBytesAtomically(const QString& path, std::string_view bytes) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        return false;
    }
    const auto size = static_cast<qint64>(bytes.size());
    // QSaveFile buffers; with Qt 6.4 a final flush that fails (a full disk)
    // is not noticed by commit(), which would then put a cut file in place.
    // So every write and the flush are checked here, and the temporary file
    // is dropped before commit() when any of them failed.
    const bool written = (size == 0 || file.write(bytes.data(), size) == size) && file.flush();
    if (!written) {
        file.cancelWriting();
    }
    return file.commit() && written;
}
