// Game text is one byte per character: shown as Latin-1, so every byte value survives a round
// trip, and a typed character without a single-byte form is stored as "?" (so is 0xD0, whose
// byte would end the text).
#pragma once

#include <QString>
#include <string>

#include "GameText.h"

namespace sw::ui {

inline QString ShownGameText(const std::string& bytes) {
    return QString::fromLatin1(bytes.data(), static_cast<qsizetype>(bytes.size()));
}

// Text for a multi-line box: the files and texts break lines with CR LF, which such a box
// shows as one line break each.
inline QString ShownTextBlock(const std::string& bytes) {
    return ShownGameText(bytes).replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
}

// By character, not by UTF-16 unit: one beyond U+FFFF (two units) is one "?" as well.
inline std::string TypedGameText(const QString& text) {
    std::string bytes;
    for (const char32_t c : text.toUcs4()) {
        bytes.push_back(c <= 0xFF ? static_cast<char>(c) : '?');
    }
    return StorableGameText(bytes);
}

}  // namespace sw::ui
