// UTF-8 from the command line into game text: the input is the text. Properties:
// - well-formed UTF-8 (as the C library's UTF-8 decoder judges it, up to U+10FFFF) gives each
//   character up to U+00FF as its byte and every other character as "?";
// - any input gives at most one byte per input byte, and a 0 byte only where the input has one
//   (a malformed sequence never smuggles in an end of text);
// - Latin-1 to UTF-8 and back gives every byte again.
#include <algorithm>
#include <clocale>
#include <cwchar>
#include <string_view>

#include "FuzzSupport.h"
#include "GameText.h"

namespace {

// The text as the C library reads UTF-8, each character U+0100 and up as "?"; false when the
// input is not well-formed.
bool ReferenceLatin1(std::string_view utf8, std::string& out) {
    std::mbstate_t state{};
    for (std::size_t i = 0; i < utf8.size();) {
        wchar_t c = 0;
        const std::size_t used = std::mbrtowc(&c, utf8.data() + i, utf8.size() - i, &state);
        if (used == static_cast<std::size_t>(-1) || used == static_cast<std::size_t>(-2) ||
            static_cast<std::uint32_t>(c) > 0x10FFFF) {
            return false;  // the C library also takes the old 5- and 6-byte forms
        }
        out.push_back(static_cast<std::uint32_t>(c) <= 0xFF ? static_cast<char>(c) : '?');
        i += used == 0 ? 1 : used;  // 0: the character read was a 0 byte
    }
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    FUZZ_CHECK(std::setlocale(LC_CTYPE, "C.UTF-8") != nullptr);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace sw;
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    const std::string latin1 = Utf8ToLatin1(input);
    std::string reference;
    if (ReferenceLatin1(input, reference)) {
        FUZZ_CHECK(latin1 == reference);
    }
    FUZZ_CHECK(latin1.size() <= input.size());
    FUZZ_CHECK(std::count(latin1.begin(), latin1.end(), '\0') ==
               std::count(input.begin(), input.end(), '\0'));
    FUZZ_CHECK(Utf8ToLatin1(Latin1ToUtf8(input)) == input);
    return 0;
}
