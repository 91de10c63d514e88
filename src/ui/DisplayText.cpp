#include "ui/DisplayText.h"

#include <QStringDecoder>

#include "text/TextReading.h"

QString FromWindows1252(std::string_view bytes) {
    QString text;
    text.reserve(static_cast<qsizetype>(bytes.size()));
    for (const char c : bytes) {
        // Every Windows-1252 character lies in the Basic Multilingual Plane.
        text.append(
            QChar(static_cast<char16_t>(Windows1252Character(static_cast<unsigned char>(c)))));
    }
    return text;
}

bool DecodeUtf8(std::string_view bytes, QString& text) {
    // A leading byte-order mark is data like any other byte: it stays a
    // character instead of silently vanishing.
    // Stateless, so that a sequence cut off at the end counts as an error
    // instead of waiting for bytes that never come.
    QStringDecoder utf8(QStringConverter::Utf8, QStringConverter::Flag::Stateless |
                                                    QStringConverter::Flag::ConvertInitialBom);
    text = utf8.decode(QByteArrayView(bytes.data(), static_cast<qsizetype>(bytes.size())));
    return !utf8.hasError();
}

QString BytesToDisplay(std::string_view bytes) {
    QString text;
    return DecodeUtf8(bytes, text) ? text : FromWindows1252(bytes);
}
