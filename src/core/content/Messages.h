// Texts the core shows to the user, word for word.
#pragma once

#include <string>

namespace sw::msg {

inline constexpr char kStateOpenFailed[] =
    "An error occured while attempting to open this file. Check to make sure the file is not "
    "read-only, or currently in use.";
inline constexpr char kNotAState[] = "Error opening file:\nFile is not a ZSNES save state.";
// Ours: a state of an emulator we know, in a version or shape we do not; followed by what it is
// ("a bsnes state of serializer version 28, which this program does not know") and ".".
inline constexpr char kStateNotKnown[] = "Error opening file:\nFile is ";
// Ours: a state too short to hold every field would be read past its end and grown on saving.
inline constexpr char kStateTooShort[] =
    "Error opening file:\nThe save state is too short. A Vellumgate save state holds at least "
    "43,163 bytes; this file is damaged or cut off, and it has not been opened.";
inline constexpr char kRomWarning[] =
    "WARNING: Associated ROM not valid\n\nOpening any non-Vellumgate save states can cause "
    "severe\ndamage to said save states. Do you want to continue anyway?";

inline constexpr char kRomWriteFailed[] =
    "WARNING: ROM write failed.\n\nMake sure the file is not currently in use by another "
    "application and try again.";
// Ours: after the message above, why no ROM could be written when none is open.
inline constexpr char kNoRomOpen[] =
    "No ROM image is open: the ROM must lie beside the save state, named like it with the "
    "extension .smc or .sfc, when the state is opened, or be chosen with File > ROM image...";
// Ours: File > ROM image... chose a file that cannot be read; the ROM in use stays.
inline constexpr char kRomNotReadable[] =
    "The ROM image cannot be read; the item names stay as they are.\n\n";

inline constexpr char kDefaultDescriptionsFailed[] = "Failed to load default.";
inline constexpr char kEventTxtNotFound[] =
    "WARNING: event.txt file not found.\n\nCheck to make sure this file exists in the program "
    "directory. If you are running this program through a shortcut, make sure the working "
    "directory of the shortcut is the same as the program's directory. If you moved things "
    "around and deleted things, and you can't figure out why it's not working anymore, you are "
    "an idiot.";
inline constexpr char kDescriptionParseError[] = "ERROR: Parse error reading events.dat";
inline constexpr char kCannotCreateDescriptions[] =
    "ERROR: Cannot create event flag description file.\n\nThere is probably no ROM in the "
    "current directory that is associated with the save state you have open.";

// Ours: the configuration commands report what they could not do.
inline constexpr char kConfigWriteFailed[] =
    "ERROR: Cannot write the configuration file.\n\n";  // followed by path and reason
inline constexpr char kConfigTooShort[] =
    "ERROR: Cannot load the configuration file.\n\nThe file is shorter than a Statewright "
    "configuration (339 bytes at least); nothing has been loaded.";

// Ours: the help documents are opened by the desktop, which may find no file or no program.
inline constexpr char kDocumentMissing[] =
    "The document could not be found:\n\n";  // followed by its path
inline constexpr char kDocumentNotOpened[] =
    "No program on this desktop could open the document:\n\n";  // followed by its path

// Ours: saving reports failures instead of passing over them.
inline constexpr char kSaveFailed[] =
    "ERROR: The save state could not be written.\n\n";  // followed by path and reason
inline constexpr char kNothingWritten[] = "Nothing was written to it.";
inline constexpr char kEditsKept[] =
    "Your edits are still on the pages; Tools > Save Config As... keeps them in a configuration "
    "file.";

// Ours: no save or rename goes ahead without a copy of the file to go back to.
inline constexpr char kBackupFailed[] =
    "ERROR: The file was not written, because no backup of it could be made first.\n\n";
// followed by what failed and why

// Ours: a configuration is never written over a file of another kind.
inline constexpr char kConfigNotOverState[] =
    "ERROR: Cannot write the configuration file.\n\nThis file is a save state; a configuration "
    "written over it would destroy it. Choose another file name.";
inline constexpr char kConfigNotOverRom[] =
    "ERROR: Cannot write the configuration file.\n\nThis file is a game ROM; a configuration "
    "written over it would destroy it. Choose another file name.";
inline constexpr char kConfigNotOverOpenFile[] =
    "ERROR: Cannot write the configuration file.\n\nThis is the save state or ROM that is open "
    "in the editor; a configuration written over it would destroy it. Choose another file name.";
inline constexpr char kConfigReadFailed[] =
    "ERROR: Cannot load the configuration file.\n\n";  // followed by path and reason

// Ours: a description file that exists but cannot be read is never written over.
inline constexpr char kDescriptionsUnreadable[] =
    "ERROR: The event flag description file could not be read.\n\n";  // path and reason, then:
inline constexpr char kDescriptionsShownInstead[] =
    "The default descriptions are shown instead. Your file will not be written over while it "
    "cannot be read; make it readable and open the save state again.";
inline constexpr char kDescriptionsNotWritten[] =
    "ERROR: The event flag descriptions were not written.\n\nThe file cannot be read, so "
    "writing it would lose the descriptions it holds. Your edit is kept in memory and is "
    "written with the next edit once the file can be read.\n\n";  // then path and reason

// Ours: Save puts the player's edits and another program's changes (the emulator's) together;
// where both changed a field, it asks. Preceded by the file's name, followed by the fields.
inline constexpr char kChangedOnDisk[] =
    " was changed by another program since it was opened. Save keeps its changes and writes "
    "yours, but both of you changed these fields:\n\n";
inline constexpr char kChangedOnDiskChoice[] =
    "\nKeep Mine writes your values there; Take Theirs keeps the other program's and shows them. "
    "Cancel writes nothing and keeps your edits on the pages.";
inline constexpr char kKeepMine[] = "Keep &Mine";
inline constexpr char kTakeTheirs[] = "Take &Theirs";

// Ours: File > Revert. Preceded by the file's name.
inline constexpr char kRevertQuestion[] =
    ": put the pages back to the file as it is on disk? Every edit not saved is lost.";
inline constexpr char kRevertFailed[] =
    "ERROR: The save state could not be read again; the pages still show your edits.\n\n";  // path

// Ours: Tools > Compare with... needs an open state, and a file that is one.
inline constexpr char kCompareNeedsState[] =
    "Open a save state first: Compare with... compares it with another one.";
inline constexpr char kCannotCompare[] =
    "ERROR: Cannot compare with this file.\n\n";  // followed by path and reason

// Ours: File > Restore Backup... needs an open state, and says why a restore was refused.
inline constexpr char kRestoreNeedsState[] =
    "Open a save state first: Restore Backup... puts back a backup of the open state or its ROM.";
inline constexpr char kRestoreDiscardsEdits[] =
    "The pages hold edits that are not saved. Restoring the backup discards them. Restore it?";
inline constexpr char kRestoreFailed[] =
    "ERROR: The backup was not restored; nothing was changed.\n\n";  // followed by the reason

}  // namespace sw::msg
