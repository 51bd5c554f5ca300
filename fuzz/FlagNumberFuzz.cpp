// Flag numbers: the input is the text. ParseFlagNumber must read what is left after taking out
// every "$" as strtoul does in base 16 with a 32-bit unsigned long (the Windows width the
// numbers were defined with): so strtoul here, whose long has 64 bits, is the reference for
// every magnitude that fits 32 bits, and a larger one must saturate at 0xFFFFFFFF whatever
// the sign. A number 1-1024 also reads back from its own text.
#include <cerrno>
#include <cstdlib>

#include "FlagDescriptions.h"
#include "FuzzSupport.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace sw;
    using namespace sw::fuzz;
    const std::string input(reinterpret_cast<const char*>(data), size);
    std::string text = input;
    std::erase(text, '$');

    errno = 0;
    const unsigned long wide = std::strtoul(text.c_str(), nullptr, 16);  // stops at a 0 byte
    const std::size_t first = text.find_first_not_of(" \t\n\v\f\r");
    const bool negative = first != std::string::npos && text[first] == '-';
    const unsigned long magnitude = negative ? 0 - wide : wide;
    const std::uint32_t expected = errno == ERANGE || magnitude > 0xFFFFFFFFul
                                       ? 0xFFFFFFFFu
                                       : static_cast<std::uint32_t>(wide);
    const std::int32_t number = ParseFlagNumber(input);
    FUZZ_CHECK(static_cast<std::uint32_t>(number) == expected);
    if (number >= 1 && number <= 1024) {
        FUZZ_CHECK(ParseFlagNumber(FlagNumberText(number)) == number);
    }
    return 0;
}
