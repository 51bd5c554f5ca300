#include "FlagDescriptions.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>

#include "FileIO.h"
#include "Messages.h"
#include "PathRules.h"

namespace sw {
namespace {

constexpr char kHeader[] = "'Statewright-generated event description listing\n'\n";

int HexDigit(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    const char lower = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return lower >= 'a' && lower <= 'f' ? lower - 'a' + 10 : -1;
}

// Handles one line (its line feed included, if it had one). False on a parse error.
bool ParseLine(std::string_view line, DescriptionTable& descriptions) {
    if (!line.empty() && line.front() == '\'') {
        return true;  // comment
    }
    // Leading colons are skipped, the number runs to the next colon, and after the colons
    // behind it the rest of the line is the description: a colon typed into one is kept.
    const std::size_t numberStart = line.find_first_not_of(':');
    if (numberStart == std::string_view::npos) {
        return false;  // nothing but colons, and no line end
    }
    const std::size_t numberEnd = std::min(line.find(':', numberStart), line.size());
    const std::int32_t number = ParseFlagNumber(line.substr(numberStart, numberEnd - numberStart));
    const std::size_t textStart = line.find_first_not_of(':', numberEnd);
    if (textStart == std::string_view::npos) {
        return true;  // a number without a description leaves the slot as it was
    }
    if (number >= 0 && number <= 1024) {
        descriptions[static_cast<std::size_t>(number)] = std::string(line.substr(textStart));
    }
    return true;
}

// Also carriage returns left at the end: the reader takes one before the line feed as part of
// the line end, so they would not come back.
std::string WithoutLineFeeds(std::string text) {
    text.erase(std::remove(text.begin(), text.end(), '\n'), text.end());
    text.erase(text.find_last_not_of('\r') + 1);
    return text;
}

// The file's full path for messages (the name alone when the working folder has vanished).
std::string ShownPath(const std::string& name) {
    std::error_code error;
    const std::u8string folder = std::filesystem::current_path(error).u8string();
    return error ? name : std::string(folder.begin(), folder.end()) + kPathSeparator + name;
}

}  // namespace

std::string FlagNumberText(std::int32_t number) {
    const char* zeros = number < 16 ? "000" : number < 256 ? "00" : "0";
    char text[24];
    std::snprintf(text, sizeof text, "$%s%X", zeros, static_cast<std::uint32_t>(number));
    return text;
}

std::int32_t ParseFlagNumber(std::string_view input) {
    std::string text(input);
    text.erase(std::remove(text.begin(), text.end(), '$'), text.end());
    std::size_t i = 0;
    while (i < text.size() && std::isspace(static_cast<unsigned char>(text[i]))) {
        ++i;
    }
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    if (i + 1 < text.size() && text[i] == '0' && (text[i + 1] == 'x' || text[i + 1] == 'X') &&
        i + 2 < text.size() && HexDigit(text[i + 2]) >= 0) {
        i += 2;
    }
    std::uint64_t value = 0;
    bool overflow = false;
    for (; i < text.size() && HexDigit(text[i]) >= 0; ++i) {
        value = value * 16 + static_cast<std::uint64_t>(HexDigit(text[i]));
        if (value > 0xFFFFFFFFu) {
            overflow = true;
            value = 0xFFFFFFFFu;
        }
    }
    auto result = static_cast<std::uint32_t>(value);
    if (negative && !overflow) {
        result = 0u - result;
    }
    return static_cast<std::int32_t>(result);
}

std::int32_t ParseTypedFlagNumber(std::string_view text) {
    return text.find('-') == std::string_view::npos ? ParseFlagNumber(text) : 0;
}

bool ParseDescriptions(std::string_view text, DescriptionTable& descriptions) {
    std::size_t pos = 0;
    while (pos < text.size()) {
        const std::size_t feed = text.find('\n', pos);
        std::string line;
        if (feed == std::string_view::npos) {
            line = std::string(text.substr(pos));
            pos = text.size();
        } else {
            line = std::string(text.substr(pos, feed - pos));
            if (!line.empty() && line.back() == '\r') {
                line.pop_back();  // a carriage return before the line feed is dropped
            }
            line.push_back('\n');
            pos = feed + 1;
        }
        if (!ParseLine(line, descriptions)) {
            return false;
        }
    }
    return true;
}

DescriptionSource LoadDescriptions(DescriptionTable& descriptions, const std::string& baseName,
                                   const std::string& programDir, Prompter& prompter) {
    descriptions.fill(std::string());
    DescriptionSource source;
    const std::string own = DescriptionFileName(baseName);
    std::string bytes;
    FileProblem problem;
    source.ownFileKnown = source.ownFileExists = ReadWholeFile(own, bytes, problem);
    if (!source.ownFileExists) {
        source.ownFileKnown = problem.IsMissing();
        if (!problem.IsMissing()) {
            source.ownFileUnreadable = true;
            prompter.ShowMessage(std::string(msg::kDescriptionsUnreadable) +
                                 Describe(ShownPath(own), problem) + "\n\n" +
                                 msg::kDescriptionsShownInstead);
        }
        if (!ReadWholeFile(programDir + "event.txt", bytes, problem)) {
            prompter.ShowMessage(msg::kDefaultDescriptionsFailed);
            prompter.ShowMessage(msg::kEventTxtNotFound);
            return source;
        }
    } else {
        source.ownFileBytes = bytes;
    }
    if (!ParseDescriptions(DecodeTextFile(bytes, source.encoding), descriptions)) {
        prompter.ShowMessage(msg::kDescriptionParseError);
    }
    return source;
}

bool ReadDescriptionFile(const std::string& path, DescriptionTable& descriptions,
                         FileProblem& problem) {
    descriptions.fill(std::string());
    std::string bytes;
    if (!ReadWholeFile(path, bytes, problem)) {
        return false;
    }
    TextEncoding encoding = TextEncoding::kUtf8;
    ParseDescriptions(DecodeTextFile(bytes, encoding), descriptions);
    return true;
}

namespace {

// The line end of the document's own file as it was read (that of its first line), so that a
// rewrite does not turn every line of it around; a new file gets the platform's.
std::string LineEndOf(const DescriptionSource& source) {
    const std::string& bytes = source.ownFileBytes;
    const std::size_t end =
        source.ownFileKnown && source.ownFileExists ? bytes.find('\n') : std::string::npos;
    if (end == std::string::npos) {
        return kTextLineEnd;
    }
    return end > 0 && bytes[end - 1] == '\r' ? "\r\n" : "\n";
}

// The table as a file in the source's encoding; after a write that succeeded, the table and
// the source hold what the file now holds.
bool WriteTable(DescriptionTable& descriptions, const std::string& path, DescriptionSource& source,
                Prompter& prompter) {
    const std::string lineEnd = LineEndOf(source);
    std::string text;
    for (const char c : std::string_view(kHeader)) {
        text += c == '\n' ? lineEnd : std::string(1, c);
    }
    for (std::size_t n = 1; n < descriptions.size(); ++n) {
        text += FlagNumberText(static_cast<std::int32_t>(n));
        text += ':';
        text += WithoutLineFeeds(descriptions[n]);
        text += lineEnd;
    }
    TextEncoding encoding = source.encoding;
    std::string bytes = EncodeTextFile(text, encoding);
    FileProblem problem;
    if (!ReplaceFile(path, bytes, problem)) {
        // The table stays as it was, line feeds included: nothing of it reached the file.
        prompter.ShowMessage(std::string(msg::kCannotCreateDescriptions) + "\n\n" +
                             Describe(ShownPath(path), problem));
        return false;
    }
    source.encoding = encoding;
    source.ownFileUnreadable = false;
    source.ownFileKnown = source.ownFileExists = true;
    source.ownFileBytes = std::move(bytes);
    source.unwritten.clear();
    for (std::size_t n = 1; n < descriptions.size(); ++n) {
        descriptions[n] = WithoutLineFeeds(descriptions[n]);
    }
    return true;
}

}  // namespace

bool SaveDescriptions(DescriptionTable& descriptions, const std::string& baseName,
                      DescriptionSource& source, Prompter& prompter) {
    const std::string path = DescriptionFileName(baseName);
    if (source.ownFileUnreadable) {
        prompter.ShowMessage(std::string(msg::kDescriptionsNotWritten) + ShownPath(path) +
                             ": it could not be read when the save state was opened");
        return false;
    }
    return WriteTable(descriptions, path, source, prompter);
}

bool EditDescription(DescriptionTable& descriptions, std::size_t number, std::string text,
                     const std::string& baseName, DescriptionSource& source, Prompter& prompter) {
    if (WithoutLineFeeds(descriptions[number]) != WithoutLineFeeds(text)) {
        source.unwritten.insert(number);  // an editor closed unchanged edits nothing
    }
    descriptions[number] = std::move(text);
    const std::string path = DescriptionFileName(baseName);
    std::string bytes;
    FileProblem problem;
    const bool exists = ReadWholeFile(path, bytes, problem);
    if (!exists && !problem.IsMissing()) {
        prompter.ShowMessage(std::string(msg::kDescriptionsNotWritten) +
                             Describe(ShownPath(path), problem));
        return false;
    }
    const bool changed = !source.ownFileKnown || exists != source.ownFileExists ||
                         bytes != source.ownFileBytes;
    if (changed && exists) {
        // Another program's version, with what was edited here and is not in the file yet.
        DescriptionTable fresh;
        ParseDescriptions(DecodeTextFile(bytes, source.encoding), fresh);
        for (const std::size_t edited : source.unwritten) {
            fresh[edited] = std::move(descriptions[edited]);
        }
        descriptions = std::move(fresh);
    }
    // A file deleted meanwhile is written from memory again: nothing of it is lost.
    return WriteTable(descriptions, path, source, prompter);
}

}  // namespace sw
