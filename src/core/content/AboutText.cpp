#include "AboutText.h"

#include "FileIO.h"

namespace sw {

std::string ReadAboutText(const std::string& path) {
    std::string text;
    FileProblem problem;
    if (!ReadWholeFile(path, text, problem)) {
        text.clear();  // a missing or unusable file gives no text, silently
    }
    return text;
}

}  // namespace sw
