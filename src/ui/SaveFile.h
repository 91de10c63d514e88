#pragma once

#include <QString>
#include <string_view>

// Replaces the file at `path` by exactly `bytes`, or leaves it untouched.
// False when anything went wrong: a failed save never leaves a cut file.
bool SaveBytesAtomically(const QString& path, std::string_view bytes);
