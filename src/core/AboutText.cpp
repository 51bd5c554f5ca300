#include "AboutText.h"

#include "FileIO.h"

namespace sw {

std::string ReadAboutText(const std::string& path) {
    std::string text;
    FilePtr file = OpenFile(path, "rb");
    if (!file) {
        return text;
    }
    char buffer[4096];
    std::size_t got = 0;
    while ((got = std::fread(buffer, 1, sizeof buffer, file.get())) > 0) {
        text.append(buffer, got);
    }
    return text;
}

}  // namespace sw
