// Comparing two save states as the editor sees them: the fields that differ with both values
// as the pages show them, the flags that differ with their descriptions, and (for the curious)
// the bytes outside every field that differ. `statewright-cli diff` and the window's Tools >
// Compare with... both print it through DifferencesText.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "FlagDescriptions.h"
#include "GameState.h"

namespace sw {

struct ByteRange {
    long offset = 0;
    long length = 0;
    bool operator==(const ByteRange&) const = default;
};

// Every byte the editor reads or writes, in file order: per member its name, the block from
// level to maximum PP (experience's fourth byte, written as 0, included), the attributes, the
// goods, HP and PP; the four texts; cash, its fourth byte and the bank; the flags.
const std::vector<ByteRange>& KnownFieldRanges();

// The bytes of every known field, one range after another, wherever the file's framing holds
// them: what tells whether another program changed a field.
std::string KnownFieldBytes(std::string_view state);

enum class FieldKind { kNumber, kText, kGoods };

struct FieldDifference {
    std::string key;  // as `set` and the JSON name the field: "member0.level", "money"
    FieldKind kind = FieldKind::kNumber;
    // As the pages show them: decimal numbers; game text (one byte per character, Latin-1);
    // goods as the item codes that `set` takes ("21,21,255", trailing empty slots left out).
    std::string a;
    std::string b;
    bool operator==(const FieldDifference&) const = default;
};

struct FlagDifference {
    int number = 0;           // 1-1024, shown as $0001-$0400
    bool a = false;           // on in A
    bool b = false;           // on in B
    std::string description;  // UTF-8, without a line end
    bool operator==(const FlagDifference&) const = default;
};

struct StateDifferences {
    std::vector<FieldDifference> fields;  // members 0-3 in the pages' order, money, bank, texts
    std::vector<FlagDifference> flags;    // in flag order
    bool Same() const { return fields.empty() && flags.empty(); }
};

// The editable data of A and B compared as the pages show them: bytes behind a text's end, and
// the fourth bytes written as 0, do not count. Descriptions may be null.
StateDifferences CompareStates(const GameState& a, const GameState& b,
                               const DescriptionTable* descriptions);

enum class MergeSide { kMine, kTheirs };

// Puts together the player's edits (mine) and another program's changes (theirs), both made
// since `base` was read: each field goes to the side that changed it, flags bit by bit and goods
// slot by slot. Where both changed a field to different values, `prefer` decides, and the field
// is added to `conflicts` (may be null) with a = mine, b = theirs, as CompareStates shows them;
// goods count once per member. The member shown comes from mine.
GameState MergeStates(const GameState& base, const GameState& mine, const GameState& theirs,
                      MergeSide prefer, std::vector<FieldDifference>* conflicts);

// The fields both sides changed, one line each: "  key  mine A, theirs B".
std::string ConflictsText(const std::vector<FieldDifference>& conflicts);

// The ranges of bytes that differ outside the known fields, merged where they touch; a length
// difference counts as differing bytes up to the longer end. Offsets are those of the bytes
// the fields lie in: a compressed state's data undone. (States of two framings are compared
// byte by byte all the same, with the fields of either left out.)
std::vector<ByteRange> CompareOutsideFields(std::string_view a, std::string_view b);

// The report as the command line prints it (UTF-8): the fields as "key  A -> B", the flags with
// their state in B and their description, and with `raw` the byte ranges.
std::string DifferencesText(const StateDifferences& differences, const std::vector<ByteRange>* raw);

}  // namespace sw
