// Description files: the input is the bytes of one, read as the program reads them (UTF-8 when
// valid, else Windows-1252). Properties:
// - parsing stops with an error exactly when the text ends in a line of colons only;
// - no description starts with a colon (the colons behind the number are skipped; later ones
//   are part of it);
// - writing the table and reading the file back gives every description again, each followed
//   by the line feed that ends its line (the writer takes line feeds, and carriage returns at
//   the end, out of the table), in the encoding the file was read in.
#include <fcntl.h>

#include <algorithm>
#include <string_view>

#include "FlagDescriptions.h"
#include "FuzzSupport.h"

namespace {

// The document's own file is written in the working folder: ours for the run of one input,
// then back, so that libFuzzer's relative paths keep their meaning.
class InFolder {
public:
    InFolder() : m_old(open(".", O_RDONLY | O_DIRECTORY)) {
        FUZZ_CHECK(m_old >= 0 && chdir(sw::fuzz::Folder().c_str()) == 0);
    }
    ~InFolder() {
        FUZZ_CHECK(fchdir(m_old) == 0);
        close(m_old);
    }

private:
    int m_old;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace sw;
    using namespace sw::fuzz;
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const std::string_view lastLine = text.substr(text.rfind('\n') + 1);  // all when no feed
    const bool endsInColons =
        !lastLine.empty() && lastLine.find_first_not_of(':') == std::string_view::npos;

    DescriptionSource source;
    const std::string decoded = DecodeTextFile(text, source.encoding);
    DescriptionTable table;
    FUZZ_CHECK(ParseDescriptions(decoded, table) == !endsInColons);
    for (const std::string& description : table) {
        FUZZ_CHECK(description.empty() || description.front() != ':');
    }

    const InFolder inFolder;
    CountingPrompter prompter;
    const TextEncoding read = source.encoding;
    FUZZ_CHECK(SaveDescriptions(table, "fuzz", source, prompter));
    FUZZ_CHECK(source.encoding == read || read == TextEncoding::kWindows1252);
    DescriptionTable back;
    const DescriptionSource again = LoadDescriptions(back, "fuzz", Folder() + "/", prompter);
    FUZZ_CHECK(
        again.encoding == source.encoding ||
        (source.encoding == TextEncoding::kWindows1252 && again.encoding == TextEncoding::kUtf8));
    FUZZ_CHECK(prompter.messages == 0);
    FUZZ_CHECK(back[0].empty());
    for (std::size_t n = 1; n < table.size(); ++n) {
        FUZZ_CHECK(std::count(table[n].begin(), table[n].end(), '\n') == 0);
        FUZZ_CHECK(back[n] == table[n] + "\n");
    }
    return 0;
}
