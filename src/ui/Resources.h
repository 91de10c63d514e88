#pragma once

#include <QIcon>
#include <QString>

// The application title: the frame's title and the caption of every message
// box that has none of its own.
inline QString ApplicationTitle() { return QStringLiteral("Veltrano"); }

// The program's icon in every size drawn for it.
QIcon VeltranoIcon();
