#pragma once

// The library's own messages, for what veltrano-cli never meets: in its
// words and style.
inline constexpr const char* kOutOfMemoryMessage = "Der Arbeitsspeicher reicht nicht.";
inline constexpr const char* kEmptyDataMessage = "Es sind keine Daten geladen.";
inline constexpr const char* kNoGeneratorMessage =
    "Der Generator ist leer: er wurde verschoben oder freigegeben.";
inline constexpr const char* kNameTypeWithoutCultureMessage = "Zum Namenstyp fehlt die Kultur.";
