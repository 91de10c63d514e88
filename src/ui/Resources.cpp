#include "ui/Resources.h"

#include <array>

QIcon VeltranoIcon() {
    static constexpr std::array kSizes = {16, 32, 48, 64, 128, 256};
    QIcon icon;
    for (const int size : kSizes) {
        icon.addFile(QStringLiteral(":/veltrano/icons/veltrano-%1.png").arg(size),
                     QSize(size, size));
    }
    return icon;
}
