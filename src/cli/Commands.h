// The commands of statewright-cli, one function each. They print results to `out`, and the
// system's messages and our own errors to `err`, and return the process exit code.
#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace sw::cli {

enum ExitCode : int {
    kDone = 0,
    kUsage = 1,       // malformed arguments, unknown keys, numbers out of range
    kDiffers = 1,     // diff: the editable data differ (as diff(1) says it)
    kFileError = 2,   // not a usable state, ROM or configuration; cannot read or write
    kForeignRom = 3,  // the ROM beside the state has a foreign title and --force was not given
};

struct Streams {
    std::ostream& out;
    std::ostream& err;
};

struct DemoArgs {
    std::string dir;
};
struct ShowArgs {
    std::string state;
    bool json = false;
    std::string rom;  // --rom: the ROM kept elsewhere; empty: the one beside the state
    bool force = false;
};
struct SetArgs {
    std::string state;
    std::vector<std::string> assignments;  // KEY=VALUE
    std::string rom;  // --rom: the ROM kept elsewhere; empty: the one beside the state
    bool force = false;
    bool noBackup = false;
};
struct FlagArgs {
    std::string state;
    std::string action;  // on, off or toggle
    std::vector<std::string> numbers;
    std::string rom;  // --rom: the ROM kept elsewhere; empty: the one beside the state
    bool force = false;
    bool noBackup = false;
};
struct ExportConfigArgs {
    std::string state;
    std::string config;
    std::string rom;  // --rom: the ROM kept elsewhere; empty: the one beside the state
    bool force = false;
};
struct ImportConfigArgs {
    std::string config;
    std::string state;
    std::string rom;  // --rom: the ROM kept elsewhere; empty: the one beside the state
    bool force = false;
    bool noBackup = false;
};
struct ItemsArgs {
    std::string rom;
    bool json = false;
};
struct RenameItemArgs {
    std::string rom;
    std::string code;
    std::string name;
    bool force = false;
    bool noBackup = false;
};

struct DiffArgs {
    std::string a;
    std::string b;
    bool json = false;
    bool raw = false;
};
struct ApplyArgs {
    std::string state;
    std::string json;  // a file, or "-" for standard input
    std::string rom;   // --rom: the ROM kept elsewhere; empty: the one beside the state
    bool force = false;
    bool noBackup = false;
};

struct BackupsArgs {
    std::string file;
};
struct RestoreArgs {
    std::string file;
    std::string backup;  // empty: the newest
    bool noBackup = false;
};

int RunDemo(const DemoArgs& args, Streams io);
int RunShow(const ShowArgs& args, Streams io);
int RunSet(const SetArgs& args, Streams io);
int RunFlag(const FlagArgs& args, Streams io);
int RunExportConfig(const ExportConfigArgs& args, Streams io);
int RunImportConfig(const ImportConfigArgs& args, Streams io);
int RunItems(const ItemsArgs& args, Streams io);
int RunRenameItem(const RenameItemArgs& args, Streams io);
// Exits 0 when the editable data are the same, 1 when they differ, 2 on trouble (as diff does).
int RunDiff(const DiffArgs& args, Streams io);
int RunApply(const ApplyArgs& args, Streams io);
int RunBackups(const BackupsArgs& args, Streams io);
int RunRestore(const RestoreArgs& args, Streams io);

}  // namespace sw::cli
