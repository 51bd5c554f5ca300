// The about box's text, read once at start-up from "about.dat" and shown as it stands.
#pragma once

#include <cstddef>
#include <string>

namespace sw {

// The about box shows at most this many characters of the text.
inline constexpr std::size_t kAboutTextShown = 2160;

// Every byte of the file, one character each; empty when the file cannot be opened.
std::string ReadAboutText(const std::string& path);

}  // namespace sw
