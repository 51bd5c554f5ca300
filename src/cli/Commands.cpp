#include "Commands.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <iostream>
#include <iterator>
#include <optional>

#include <nlohmann/json.hpp>

#include "Backups.h"
#include "ConfigFile.h"
#include "DataFiles.h"
#include "Demo.h"
#include "FileIO.h"
#include "FlagDescriptions.h"
#include "GameState.h"
#include "GameText.h"
#include "ItemNames.h"
#include "Layout.h"
#include "Messages.h"
#include "PathRules.h"
#include "ReadBack.h"
#include "StateCheck.h"
#include "StateDiff.h"
#include "StateFormat.h"
#include "StateJson.h"

namespace sw::cli {
namespace {

using layout::kGoodsSlots;
using layout::kMemberCount;

// Messages go to stderr; the ROM question is answered by --force, or refused.
class CliPrompter : public Prompter {
public:
    CliPrompter(std::ostream& err, bool force) : m_err(err), m_force(force) {}
    void ShowMessage(const std::string& text) override { m_err << text << '\n'; }
    bool AskYesNo(const std::string& text) override {
        m_err << text << '\n'
              << (m_force ? "(--force given: answered Yes)\n"
                          : "(refused: give --force to answer Yes)\n");
        return m_force;
    }
    // No command asks one; without a window to answer in, nothing goes on.
    Choice AskChoice(const std::string& text, const std::string&, const std::string&) override {
        m_err << text << "\n(refused: nothing was done)\n";
        return Choice::kCancel;
    }

private:
    std::ostream& m_err;
    bool m_force;
};

// A save state validated, checked against its ROM, opened and read, as the window opens one.
struct OpenDocument {
    std::string path;
    std::string romPath;  // empty without an accepted ROM
    ItemNameTable names = DefaultItemNames();
    GameState state;
    FilePtr file;
    FileIdentity identity;  // what the path led to when it was opened
    std::string format;     // "ZSNES 1.43", "bsnes-mercury v094 Accuracy in RetroArch", ...
};

// A ROM that lies beside the state but cannot be used is no ROM to the editor, which says
// nothing; here a line tells the user why the built-in names are shown.
void NoteUnusableRom(const std::string& statePath, std::ostream& err) {
    for (const std::string& rom : RomCandidatesFor(statePath)) {
        FileProblem problem;
        if (!OpenExisting(rom, FileAccess::kRead, problem) && !problem.IsMissing()) {
            err << "Note: the ROM beside the state is not used (" << Describe(rom, problem)
                << "); the built-in item names are shown.\n";
            return;
        }
    }
}

int OpenState(const std::string& path, const std::string& romChoice, bool force, bool forWriting,
              Streams io, OpenDocument& doc) {
    CliPrompter prompter(io.err, force);
    if (!ValidateStateFile(path, prompter)) {
        return kFileError;
    }
    doc.path = path;
    if (!romChoice.empty()) {
        // A ROM named on the command line that cannot be read is an error, not "no ROM".
        FileProblem problem;
        if (!OpenExisting(romChoice, FileAccess::kRead, problem)) {
            io.err << "Cannot read the ROM " << Describe(romChoice, problem) << '\n';
            return kFileError;
        }
    }
    const int rom = CheckRom(path, doc.romPath, prompter, romChoice);
    if (rom == kRomDeclined) {
        return kForeignRom;
    }
    if (rom == kRomAccepted) {
        ReadRomItemNames(doc.romPath, doc.names);
    } else {
        NoteUnusableRom(path, io.err);
    }
    FileProblem problem;
    doc.identity = IdentityOf(path);
    doc.file = OpenExisting(path, forWriting ? FileAccess::kUpdate : FileAccess::kRead, problem);
    if (!doc.file) {
        prompter.ShowMessage(std::string(msg::kStateOpenFailed) + "\n\n" + Describe(path, problem));
        return kFileError;
    }
    doc.state.NumberMembers();
    // One read of the whole file: its framing tells where the fields lie.
    std::string bytes;
    if (!ReadAllOf(doc.file.get(), bytes, problem) || !doc.state.ReadAll(bytes)) {
        io.err << "Error reading " << Describe(path, problem) << '\n';
        return kFileError;
    }
    doc.format = RecognizeState(bytes).format.name;
    return kDone;
}

// Writes every group as a save from the window does, after the backup, and closes the file.
BackupKeeper BackupsFor(bool noBackup) {
    return noBackup ? BackupKeeper::Off() : BackupKeeper(DefaultBackupFolder());
}

int SaveState(OpenDocument& doc, bool noBackup, Streams io) {
    BackupKeeper backups = BackupsFor(noBackup);
    std::string message =
        SaveStateFile(doc.file.get(), doc.path, doc.state, backups, &doc.identity);
    if (std::fclose(doc.file.release()) != 0 && message.empty()) {
        message = std::string(msg::kSaveFailed) + doc.path + ": " + LastErrorText();
    }
    if (!message.empty()) {
        io.err << message << '\n';
        return kFileError;
    }
    return kDone;
}

// The folder the backups are in, or a message and empty when there is none.
std::string BackupFolderOrSay(std::ostream& err) {
    const std::string folder = DefaultBackupFolder();
    if (folder.empty()) {
        err << NoBackupFolderText() << '\n';
    }
    return folder;
}

// Item codes on the command line: decimal, or hexadecimal with 0x.
std::optional<int> ParseItemCode(std::string text) {
    text.erase(0, text.find_first_not_of(" \t"));
    text.erase(text.find_last_not_of(" \t") + 1);
    int base = 10;
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        base = 16;
        text.erase(0, 2);
    }
    if (text.empty() || text.size() > 4) {
        return std::nullopt;
    }
    int value = 0;
    for (char c : text) {
        const int digit = std::isdigit(static_cast<unsigned char>(c)) ? c - '0'
                          : base == 16 && std::isxdigit(static_cast<unsigned char>(c))
                              ? std::tolower(static_cast<unsigned char>(c)) - 'a' + 10
                              : -1;
        if (digit < 0) {
            return std::nullopt;
        }
        value = value * base + digit;
    }
    return value <= 255 ? std::optional<int>(value) : std::nullopt;
}

std::optional<std::array<std::uint8_t, kGoodsSlots>> ParseGoods(const std::string& value) {
    std::array<std::uint8_t, kGoodsSlots> goods{};
    if (value.empty()) {
        return goods;
    }
    std::size_t slot = 0;
    std::size_t start = 0;
    while (true) {
        const std::size_t comma = value.find(',', start);
        const std::optional<int> code = ParseItemCode(value.substr(start, comma - start));
        if (!code || slot >= kGoodsSlots) {
            return std::nullopt;
        }
        goods[slot++] = static_cast<std::uint8_t>(*code);
        if (comma == std::string::npos) {
            return goods;
        }
        start = comma + 1;
    }
}

using Edit = std::function<void(GameState&)>;

// One KEY=VALUE of `set`, turned into the edit it makes; nullopt for a bad key or value.
std::optional<Edit> ParseAssignment(const std::string& assignment) {
    const std::size_t equals = assignment.find('=');
    if (equals == std::string::npos) {
        return std::nullopt;
    }
    const std::string key = assignment.substr(0, equals);
    const std::string value = assignment.substr(equals + 1);
    const std::string latin1 = GameTextFromUtf8(value);

    if (key == "money" || key == "bank") {
        const bool money = key == "money";
        return [money, value](GameState& s) {
            (money ? s.money : s.bank) = ParseTypedNumber(value);  // no limit
        };
    }
    for (const StateTextInfo& info : kStateTexts) {
        if (key == info.key) {
            return [info, latin1](GameState& s) { StoreTypedText(s, info.text, latin1); };
        }
    }
    if (key.size() < 9 || key.compare(0, 6, "member") != 0 || key[7] != '.' || key[6] < '0' ||
        key[6] > '3') {
        return std::nullopt;
    }
    const int member = key[6] - '0';
    const std::string field = key.substr(8);
    if (field == "goods") {
        const auto goods = ParseGoods(value);
        if (!goods) {
            return std::nullopt;
        }
        return [member, goods](GameState& s) { s.characters[member].goods = *goods; };
    }
    const std::optional<MemberField> memberField = MemberFieldByKey(field);
    if (!memberField) {
        return std::nullopt;
    }
    return [member, memberField, latin1](GameState& s) {
        StoreTypedMemberField(s.characters[member], *memberField, latin1);
    };
}

std::vector<int> SetFlagNumbers(const GameState& state) {
    std::vector<int> numbers;
    for (int n = 0; n < layout::kFlagCount; ++n) {
        if (state.GetFlag(n) != 0) {
            numbers.push_back(n + 1);
        }
    }
    return numbers;
}

using Json = nlohmann::ordered_json;  // keys in the order they are documented

// The program's default descriptions, event.txt, found where the editor finds its data files:
// the working folder, the executable's, ../share/statewright/ beside it, $XDG_DATA_DIRS.
std::string DefaultDescriptionFile() {
    const std::string self = ProgramPath();
    const std::string programDir = self.empty() ? std::string() : FolderOf(self);
    std::error_code error;
    const std::u8string current = std::filesystem::current_path(error).u8string();
    const std::string startUpDir(current.begin(), current.end());
    return FindDataFile(DataSearchFolders(startUpDir, programDir, std::getenv("XDG_DATA_DIRS")),
                        kDefaultDescriptionsFile);
}

// A state's descriptions: its own event.<base>.txt beside it, else the default event.txt;
// empty when neither can be read.
DescriptionTable DescriptionsFor(const std::string& statePath) {
    DescriptionTable descriptions;
    FileProblem problem;
    const std::string own = FolderOf(statePath) + DescriptionFileName(StateBaseName(statePath));
    if (!ReadDescriptionFile(own, descriptions, problem)) {
        const std::string fallback = DefaultDescriptionFile();
        if (fallback.empty() || !ReadDescriptionFile(fallback, descriptions, problem)) {
            descriptions.fill(std::string());
        }
    }
    return descriptions;
}

void PrintText(const OpenDocument& doc, std::ostream& out) {
    const GameState& s = doc.state;
    out << "File: " << doc.path << '\n'
        << "Format: " << doc.format << '\n'
        << "ROM:  " << (doc.romPath.empty() ? "(none; default item names)" : doc.romPath) << "\n\n";
    for (const CharacterRecord& m : s.characters) {
        out << "Member " << m.index << ": " << Latin1ToUtf8(TextOf(m.name)) << '\n'
            << "  Level " << int{m.level} << "  Experience " << m.experience << '\n'
            << "  HP " << m.hp << "/" << m.hpMax << "  PP " << m.pp << "/" << m.ppMax << '\n'
            << "  Offense " << int{m.offense} << "  Defense " << int{m.defense} << "  Speed "
            << int{m.speed} << "  Guts " << int{m.guts} << "  Vitality " << int{m.vitality}
            << "  I.Q " << int{m.iq} << "  Luck " << int{m.luck} << '\n'
            << "  Goods:";
        bool any = false;
        for (std::uint8_t code : m.goods) {
            if (code != 0) {
                out << (any ? ", " : " ") << Latin1ToUtf8(doc.names[code]);
                any = true;
            }
        }
        out << (any ? "\n" : " (none)\n");
    }
    out << "\nCash on Hand: " << s.money << "\nATM Balance:  " << s.bank << '\n'
        << "Player Name:  " << Latin1ToUtf8(TextOf(s.playerName)) << '\n'
        << "Dog's Name:   " << Latin1ToUtf8(TextOf(s.dogName)) << '\n'
        << "Fave Food:    " << Latin1ToUtf8(TextOf(s.favoriteFood)) << '\n'
        << "PSI Special:  " << Latin1ToUtf8(TextOf(s.psiSpecial)) << '\n';
    const std::vector<int> flags = SetFlagNumbers(s);
    out << "\nEvent flags set (" << flags.size() << "):";
    for (std::size_t i = 0; i < flags.size(); ++i) {
        out << (i % 12 == 0 ? "\n  " : " ") << FlagNumberText(flags[i]);
    }
    out << '\n';
}

}  // namespace

int RunDemo(const DemoArgs& args, Streams io) {
    FileProblem ignored;  // a folder that cannot be made is said by the write below
    MakeFolders(args.dir, 0777, ignored);
    std::string error;
    if (!WriteDemoFiles(args.dir, error)) {
        io.err << "Cannot write the demo files: " << error << '\n';
        return kFileError;
    }
    const std::string folder = args.dir.find_last_of(kPathSeparators) == args.dir.size() - 1
                                   ? args.dir
                                   : args.dir + kPathSeparator;
    io.out << folder << kDemoStateName << '\n' << folder << kDemoRomName << '\n';
    return kDone;
}

int RunShow(const ShowArgs& args, Streams io) {
    OpenDocument doc;
    if (const int code = OpenState(args.state, args.rom, args.force, false, io, doc);
        code != kDone) {
        return code;
    }
    if (args.json) {
        const DescriptionTable descriptions = DescriptionsFor(doc.path);
        io.out << StateJsonText(doc.state, doc.path, doc.romPath, &descriptions, doc.format);
    } else {
        PrintText(doc, io.out);
    }
    return kDone;
}

int RunSet(const SetArgs& args, Streams io) {
    std::vector<Edit> edits;
    for (const std::string& assignment : args.assignments) {
        std::optional<Edit> edit = ParseAssignment(assignment);
        if (!edit) {
            io.err << "Not a KEY=VALUE this command knows: " << assignment << '\n';
            return kUsage;
        }
        edits.push_back(std::move(*edit));
    }
    OpenDocument doc;
    if (const int code = OpenState(args.state, args.rom, args.force, true, io, doc);
        code != kDone) {
        return code;
    }
    for (const Edit& edit : edits) {
        edit(doc.state);
    }
    return SaveState(doc, args.noBackup, io);
}

int RunFlag(const FlagArgs& args, Streams io) {
    if (args.action != "on" && args.action != "off" && args.action != "toggle") {
        io.err << "The action is on, off or toggle, not: " << args.action << '\n';
        return kUsage;
    }
    std::vector<int> indexes;
    for (const std::string& text : args.numbers) {
        const std::int32_t number = ParseTypedFlagNumber(text);
        if (number < 1 || number > layout::kFlagCount) {
            io.err << "Flag numbers run from $0001 to $0400: " << text << '\n';
            return kUsage;
        }
        indexes.push_back(number - 1);
    }
    OpenDocument doc;
    if (const int code = OpenState(args.state, args.rom, args.force, true, io, doc);
        code != kDone) {
        return code;
    }
    for (int index : indexes) {
        if (args.action == "toggle") {
            doc.state.ToggleFlag(index);
        } else {
            doc.state.SetFlag(index, args.action == "on");
        }
    }
    return SaveState(doc, args.noBackup, io);
}

int RunExportConfig(const ExportConfigArgs& args, Streams io) {
    OpenDocument doc;
    if (const int code = OpenState(args.state, args.rom, args.force, false, io, doc);
        code != kDone) {
        return code;
    }
    CliPrompter prompter(io.err, args.force);
    // Never over the state it was read from, nor over that state's ROM.
    return WriteConfigFile(args.config, doc.state, prompter, {doc.path, doc.romPath}) ? kDone
                                                                                      : kFileError;
}

int RunImportConfig(const ImportConfigArgs& args, Streams io) {
    OpenDocument doc;
    if (const int code = OpenState(args.state, args.rom, args.force, true, io, doc);
        code != kDone) {
        return code;
    }
    CliPrompter prompter(io.err, args.force);
    if (ReadConfigFile(args.config, doc.state, prompter) != ConfigRead::kLoaded) {
        return kFileError;  // the message said why
    }
    return SaveState(doc, args.noBackup, io);
}

int RunItems(const ItemsArgs& args, Streams io) {
    ItemNameTable names = DefaultItemNames();
    FileProblem problem;
    if (!ReadRomItemNames(args.rom, names, problem)) {
        io.err << "Cannot read the ROM " << Describe(args.rom, problem) << '\n';
        return kFileError;
    }
    if (RomEndsBeforeItemTable(args.rom)) {
        io.err << "The ROM ends before its item-name table does; the names it lacks are the "
                  "built-in ones.\n";
    }
    if (args.json) {
        Json json = {{"rom", args.rom}, {"names", Json::array()}};
        for (const std::string& name : names) {
            json["names"].push_back(Latin1ToUtf8(name));
        }
        io.out << json.dump(2) << '\n';
        return kDone;
    }
    for (int code = 0; code < layout::kItemCount; ++code) {
        char hex[8];
        std::snprintf(hex, sizeof hex, "0x%02X  ", code);
        io.out << hex << Latin1ToUtf8(ItemChooserText(names[code], code)) << '\n';
    }
    return kDone;
}

int RunRenameItem(const RenameItemArgs& args, Streams io) {
    const std::optional<int> code = ParseItemCode(args.code);
    if (!code) {
        io.err << "Item codes run from 0 to 255 (or 0x00 to 0xFF): " << args.code << '\n';
        return kUsage;
    }
    CliPrompter prompter(io.err, args.force);
    FileProblem problem;
    if (!OpenExisting(args.rom, FileAccess::kRead, problem)) {
        prompter.ShowMessage(std::string(msg::kRomWriteFailed) + "\n\n" +
                             Describe(args.rom, problem));
        return kFileError;
    }
    if (!RomTitleMatches(args.rom) && !prompter.AskYesNo(msg::kRomWarning)) {
        return kForeignRom;
    }
    ItemNameTable names = DefaultItemNames();
    ReadRomItemNames(args.rom, names);
    BackupKeeper backups = BackupsFor(args.noBackup);
    std::string message;
    if (!RenameRomItem(args.rom, *code, GameTextFromUtf8(args.name), names, backups, message,
                       !RomTitleMatches(args.rom))) {
        prompter.ShowMessage(message);
        return kFileError;
    }
    io.out << Latin1ToUtf8(ItemChooserText(names[*code], *code)) << '\n';
    return kDone;
}

namespace {

// A field's value in diff's JSON: numbers as numbers, texts as UTF-8, goods as a list of codes.
Json FieldValue(const FieldDifference& field, const std::string& value) {
    switch (field.kind) {
        case FieldKind::kText:
            return Latin1ToUtf8(value);
        case FieldKind::kGoods: {
            Json codes = Json::array();
            for (std::size_t start = 0; start < value.size();) {
                const std::size_t comma = std::min(value.find(',', start), value.size());
                codes.push_back(std::stoi(value.substr(start, comma - start)));
                start = comma + 1;
            }
            return codes;
        }
        case FieldKind::kNumber:
            break;
    }
    return std::stoll(value);
}

Json DifferencesJson(const DiffArgs& args, const StateDifferences& differences,
                     const std::vector<ByteRange>* raw) {
    Json json = {{"a", args.a}, {"b", args.b}, {"same", differences.Same()}};
    json["fields"] = Json::array();
    for (const FieldDifference& field : differences.fields) {
        json["fields"].push_back({{"field", field.key},
                                  {"a", FieldValue(field, field.a)},
                                  {"b", FieldValue(field, field.b)}});
    }
    json["flags"] = Json::array();
    for (const FlagDifference& flag : differences.flags) {
        json["flags"].push_back({{"number", FlagNumberText(flag.number)},
                                 {"a", flag.a},
                                 {"b", flag.b},
                                 {"description", flag.description}});
    }
    if (raw != nullptr) {
        json["raw"] = Json::array();
        for (const ByteRange& range : *raw) {
            json["raw"].push_back({{"offset", range.offset}, {"length", range.length}});
        }
    }
    return json;
}

}  // namespace

int RunDiff(const DiffArgs& args, Streams io) {
    std::string bytes[2];
    GameState states[2];
    const std::string* paths[2] = {&args.a, &args.b};
    for (int i = 0; i < 2; ++i) {
        FileProblem problem;
        states[i].NumberMembers();
        if (!ReadStateBytes(*paths[i], bytes[i], problem) || !states[i].ReadAll(bytes[i])) {
            io.err << "Cannot compare " << Describe(*paths[i], problem) << '\n';
            return kFileError;
        }
    }
    const DescriptionTable descriptions = DescriptionsFor(args.b);
    const StateDifferences differences = CompareStates(states[0], states[1], &descriptions);
    std::vector<ByteRange> raw;
    if (args.raw) {
        raw = CompareOutsideFields(bytes[0], bytes[1]);
    }
    if (args.json) {
        io.out << DifferencesJson(args, differences, args.raw ? &raw : nullptr)
                      .dump(2, ' ', false, Json::error_handler_t::replace)
               << '\n';
    } else {
        io.out << DifferencesText(differences, args.raw ? &raw : nullptr);
    }
    return differences.Same() ? kDone : kDiffers;
}

int RunApply(const ApplyArgs& args, Streams io) {
    std::string text;
    const bool fromInput = args.json == "-";
    const std::string source = fromInput ? "standard input" : args.json;
    if (FileProblem problem;
        fromInput ? !ReadStandardInput(text, problem) : !ReadWholeFile(args.json, text, problem)) {
        io.err << "Cannot read the JSON document " << Describe(source, problem) << '\n';
        return kFileError;
    }
    // Every error is found before the state is opened, so a wrong document changes nothing.
    GameState trial;
    std::vector<std::string> errors;
    if (!ApplyStateJson(text, trial, errors)) {
        io.err << "Nothing was changed: " << source << " is not a document `apply` takes.\n";
        for (const std::string& error : errors) {
            io.err << "  " << error << '\n';
        }
        return kUsage;
    }
    OpenDocument doc;
    if (const int code = OpenState(args.state, args.rom, args.force, true, io, doc);
        code != kDone) {
        return code;
    }
    ApplyStateJson(text, doc.state, errors);
    return SaveState(doc, args.noBackup, io);
}

namespace {

void PrintBackups(const std::vector<BackupEntry>& entries, std::ostream& out) {
    for (const BackupEntry& entry : entries) {
        out << BackupTimeText(entry.stamp) << "  " << entry.size << " bytes  "
            << PrintablePath(entry.path) << '\n';
    }
}

}  // namespace

int RunBackups(const BackupsArgs& args, Streams io) {
    const std::string folder = BackupFolderOrSay(io.err);
    if (folder.empty()) {
        return kFileError;
    }
    const std::vector<BackupEntry> own = ListBackups(folder, args.file);
    const std::vector<BackupEntry> older = ListOlderBackups(folder, args.file);
    if (own.empty()) {
        io.out << "No backups of " << PrintablePath(ResolvedPath(args.file)) << " in "
               << PrintablePath(folder) << '\n';
    }
    PrintBackups(own, io.out);
    if (!older.empty()) {
        io.out << "\nBackups of a file named " << PrintablePath(StateFileName(args.file))
               << " in a folder no longer known (made before backups were kept per file; "
                  "restored only when named):\n";
        PrintBackups(older, io.out);
    }
    return kDone;
}

int RunRestore(const RestoreArgs& args, Streams io) {
    const std::string folder = BackupFolderOrSay(io.err);
    if (folder.empty()) {
        return kFileError;
    }
    std::string backup = args.backup;
    if (backup.empty()) {
        const std::vector<BackupEntry> found = ListBackups(folder, args.file);
        if (found.empty()) {
            io.err << "No backups of " << PrintablePath(ResolvedPath(args.file)) << " in "
                   << PrintablePath(folder) << '\n';
            return kFileError;
        }
        backup = found.front().path;
    } else if (StateFileName(backup) == backup) {
        // A name as `backups` lists it: one of the file's own, else one of the earlier naming.
        const std::string own = BackupFolderOf(folder, args.file);
        backup = !own.empty() && IsPlainFile(own + backup) ? own + backup : folder + backup;
    }
    FileProblem problem;
    if (!RestoreBackup(folder, !args.noBackup, backup, args.file, problem)) {
        io.err << "Cannot restore " << PrintablePath(args.file) << ": " << problem.reason << '\n';
        return kFileError;
    }
    io.out << "Restored " << PrintablePath(args.file) << " from " << PrintablePath(backup) << '\n';
    return kDone;
}

}  // namespace sw::cli
