#include "Cli.h"

#include <functional>
#include <memory>

#include <CLI/CLI.hpp>

#include "Backups.h"
#include "Commands.h"

#ifndef STATEWRIGHT_VERSION
#define STATEWRIGHT_VERSION "0.0.0"
#endif

namespace sw::cli {
namespace {

struct Arguments {
    DemoArgs demo;
    ShowArgs show;
    SetArgs set;
    FlagArgs flag;
    ExportConfigArgs exportConfig;
    ImportConfigArgs importConfig;
    ItemsArgs items;
    RenameItemArgs renameItem;
    DiffArgs diff;
    ApplyArgs apply;
    BackupsArgs backups;
    RestoreArgs restore;
};

constexpr char kForceHelp[] =
    "Answer Yes when the ROM beside the state has a foreign title (the window would ask)";
// Names the folder as it is on this machine and platform.
std::string NoBackupHelp() {
    const std::string folder = DefaultBackupFolder();
    return "Write without first copying the file to the backup folder (" +
           (folder.empty() ? std::string("there is none for this user") : folder) + ")";
}

constexpr char kRomHelp[] =
    "The state's ROM image, where it is not beside the state as STATE's name with .smc or .sfc";

struct Command {
    const char* name;
    const char* description;
    std::function<void(CLI::App&, Arguments&)> declare;
    std::function<int(const Arguments&, Streams)> run;
};

const std::vector<Command>& Commands() {
    static const std::vector<Command> kCommands = {
        {"demo", "Write the demo save state and ROM (vellumgate.zs1, vellumgate.smc) into DIR",
         [](CLI::App& c, Arguments& a) { c.add_option("DIR", a.demo.dir)->required(); },
         [](const Arguments& a, Streams io) { return RunDemo(a.demo, io); }},
        {"show", "Print the party, money, texts and set flags of a save state",
         [](CLI::App& c, Arguments& a) {
             c.add_option("STATE", a.show.state)->required();
             c.add_flag("--json", a.show.json,
                        "Print one JSON object (the form `apply` reads; docs/state.schema.json), "
                        "the set flags with their descriptions");
             c.add_option("--rom", a.show.rom, kRomHelp);
             c.add_flag("--force", a.show.force, kForceHelp);
         },
         [](const Arguments& a, Streams io) { return RunShow(a.show, io); }},
        {"set", "Change fields as the pages would, then save: KEY=VALUE ...",
         [](CLI::App& c, Arguments& a) {
             c.add_option("STATE", a.set.state)->required();
             c.add_option("ASSIGNMENTS", a.set.assignments,
                          "memberN.name|level|experience|hp|hpMax|pp|ppMax|offense|defense|"
                          "speed|guts|luck|vitality|iq|goods (N = 0-3), money, bank, "
                          "playerName, dogName, favoriteFood, psiSpecial")
                 ->required();
             c.add_option("--rom", a.set.rom, kRomHelp);
             c.add_flag("--force", a.set.force, kForceHelp);
             c.add_flag("--no-backup", a.set.noBackup, NoBackupHelp());
         },
         [](const Arguments& a, Streams io) { return RunSet(a.set, io); }},
        {"flag", "Turn event flags on, off or over, then save (numbers as $0010, 10 or 0x10)",
         [](CLI::App& c, Arguments& a) {
             c.add_option("STATE", a.flag.state)->required();
             c.add_option("ACTION", a.flag.action, "on, off or toggle")->required();
             c.add_option("N", a.flag.numbers, "Flag numbers $0001-$0400")->required();
             c.add_option("--rom", a.flag.rom, kRomHelp);
             c.add_flag("--force", a.flag.force, kForceHelp);
             c.add_flag("--no-backup", a.flag.noBackup, NoBackupHelp());
         },
         [](const Arguments& a, Streams io) { return RunFlag(a.flag, io); }},
        {"diff",
         "Compare the editable data of two save states; exit 0 when the same, 1 when they "
         "differ, 2 on trouble",
         [](CLI::App& c, Arguments& a) {
             c.add_option("A", a.diff.a, "The first save state")->required();
             c.add_option("B", a.diff.b,
                          "The second save state; flags are described from its own "
                          "event.<name>.txt, else event.txt")
                 ->required();
             c.add_flag("--json", a.diff.json, "Print one JSON object");
             c.add_flag("--raw", a.diff.raw,
                        "Also list the byte ranges outside the editor's fields that differ");
         },
         [](const Arguments& a, Streams io) { return RunDiff(a.diff, io); }},
        {"apply",
         "Set every field present in a JSON file (as `show --json` prints it) by the rules of "
         "`set`, then save; a wrong document changes nothing",
         [](CLI::App& c, Arguments& a) {
             c.add_option("STATE", a.apply.state)->required();
             c.add_option("FILE", a.apply.json, "A JSON file, or - for standard input")->required();
             c.add_option("--rom", a.apply.rom, kRomHelp);
             c.add_flag("--force", a.apply.force, kForceHelp);
             c.add_flag("--no-backup", a.apply.noBackup, NoBackupHelp());
         },
         [](const Arguments& a, Streams io) { return RunApply(a.apply, io); }},
        {"export-config", "Write the state's editable data to a configuration file (.swr)",
         [](CLI::App& c, Arguments& a) {
             c.add_option("STATE", a.exportConfig.state)->required();
             c.add_option("FILE", a.exportConfig.config)->required();
             c.add_option("--rom", a.exportConfig.rom, kRomHelp);
             c.add_flag("--force", a.exportConfig.force, kForceHelp);
         },
         [](const Arguments& a, Streams io) { return RunExportConfig(a.exportConfig, io); }},
        {"import-config", "Load a configuration file (.swr) into a save state and save it",
         [](CLI::App& c, Arguments& a) {
             c.add_option("FILE", a.importConfig.config)->required();
             c.add_option("STATE", a.importConfig.state)->required();
             c.add_option("--rom", a.importConfig.rom, kRomHelp);
             c.add_flag("--force", a.importConfig.force, kForceHelp);
             c.add_flag("--no-backup", a.importConfig.noBackup, NoBackupHelp());
         },
         [](const Arguments& a, Streams io) { return RunImportConfig(a.importConfig, io); }},
        {"items", "List the 256 item names of a ROM image",
         [](CLI::App& c, Arguments& a) {
             c.add_option("ROM", a.items.rom)->required();
             c.add_flag("--json", a.items.json, "Print one JSON object");
         },
         [](const Arguments& a, Streams io) { return RunItems(a.items, io); }},
        {"rename-item", "Write a new name (38 characters at most) for an item into a ROM",
         [](CLI::App& c, Arguments& a) {
             c.add_option("ROM", a.renameItem.rom)->required();
             c.add_option("CODE", a.renameItem.code, "0-255 or 0x00-0xFF")->required();
             c.add_option("NAME", a.renameItem.name)->required();
             c.add_flag("--force", a.renameItem.force,
                        "Answer Yes when the ROM's title is not the game's");
             c.add_flag("--no-backup", a.renameItem.noBackup, NoBackupHelp());
         },
         [](const Arguments& a, Streams io) { return RunRenameItem(a.renameItem, io); }},
        {"backups", "List the backups of a save state or ROM, newest first",
         [](CLI::App& c, Arguments& a) { c.add_option("FILE", a.backups.file)->required(); },
         [](const Arguments& a, Streams io) { return RunBackups(a.backups, io); }},
        {"restore", "Put a backup back into a save state or ROM (the newest by default)",
         [](CLI::App& c, Arguments& a) {
             c.add_option("FILE", a.restore.file)->required();
             c.add_option("BACKUP", a.restore.backup,
                          "A backup as `backups` lists it (its path or its name)");
             c.add_flag("--no-backup", a.restore.noBackup,
                        "Do not first copy the file as it is now to the backup folder");
         },
         [](const Arguments& a, Streams io) { return RunRestore(a.restore, io); }},
    };
    return kCommands;
}

}  // namespace

int RunCli(int argc, const char* const* argv, std::ostream& out, std::ostream& err) {
    CLI::App app("Statewright: edit Vellumgate save states from the command line",
                 "statewright-cli");
    app.set_version_flag("--version", std::string("statewright-cli ") + STATEWRIGHT_VERSION);
    app.require_subcommand(1);
    Arguments arguments;
    std::vector<std::pair<CLI::App*, const Command*>> subcommands;
    for (const Command& command : Commands()) {
        CLI::App* sub = app.add_subcommand(command.name, command.description);
        command.declare(*sub, arguments);
        subcommands.emplace_back(sub, &command);
    }
    try {
        app.parse(argc, argv);
    } catch (const CLI::CallForHelp& e) {
        out << app.help("", CLI::AppFormatMode::Normal);
        return kDone;
    } catch (const CLI::CallForVersion& e) {
        out << e.what() << '\n';
        return kDone;
    } catch (const CLI::ParseError& e) {
        // Help asked of a subcommand also arrives here.
        if (e.get_exit_code() == static_cast<int>(CLI::ExitCodes::Success)) {
            app.exit(e, out, err);
            return kDone;
        }
        app.exit(e, out, err);
        return kUsage;
    }
    for (const auto& [sub, command] : subcommands) {
        if (sub->parsed()) {
            return command->run(arguments, Streams{out, err});
        }
    }
    return kUsage;
}

}  // namespace sw::cli
