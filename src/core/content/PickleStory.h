// The story for a party that carries anything called a pickle: an old ferryman's tale, an
// opening and 31 paragraphs, shown whole in the Goods page's hidden box.
#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <string_view>

namespace sw {

inline constexpr std::size_t kPickleStoryPartCount = 32;  // the opening, then the paragraphs

// The 32 texts in their order; plain ASCII, no line breaks of their own.
const std::array<std::string_view, kPickleStoryPartCount>& PickleStoryParts();

// Every text followed by "\r\n\r\n" (the box breaks lines only at CR LF), built once.
const std::string& PickleStoryText();

}  // namespace sw
