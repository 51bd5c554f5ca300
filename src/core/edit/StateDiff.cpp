#include "StateDiff.h"

#include <algorithm>
#include <cstdio>

#include "GameText.h"
#include "Layout.h"
#include "ReadBack.h"
#include "StateFormat.h"

namespace sw {
namespace {

using namespace layout;

std::vector<ByteRange> BuildKnownRanges() {
    // Relative to a member record: name; level, experience and its fourth byte, maximum HP and
    // PP; attributes; goods; HP; PP.
    const ByteRange member[] = {
        {kNameRel, static_cast<long>(kNameBytes)},
        {kLevelRel, kPpMaxRel + static_cast<long>(kPointsBytes) - kLevelRel},
        {kAttributesRel, static_cast<long>(kAttributeCount)},
        {kGoodsRel, static_cast<long>(kGoodsSlots)},
        {kHpRel, static_cast<long>(kPointsBytes)},
        {kPpRel, static_cast<long>(kPointsBytes)},
    };
    std::vector<ByteRange> ranges = {
        {kPlayerNameOffset,
         kPsiSpecialOffset + static_cast<long>(kPsiSpecialBytes) - kPlayerNameOffset},
        {kMoneyOffset, kBankOffset + static_cast<long>(kMoneyBytes) - kMoneyOffset},
    };
    for (int slot = 0; slot < kMemberCount; ++slot) {
        for (const ByteRange& field : member) {
            ranges.push_back({MemberBase(slot) + field.offset, field.length});
        }
    }
    ranges.push_back({kFlagsOffset, static_cast<long>(kFlagBytes)});
    return ranges;
}

std::string GoodsText(const CharacterRecord& member) {
    std::size_t used = member.goods.size();
    while (used > 0 && member.goods[used - 1] == 0) {
        --used;
    }
    std::string text;
    for (std::size_t slot = 0; slot < used; ++slot) {
        if (slot > 0) {
            text += ',';
        }
        text += std::to_string(member.goods[slot]);
    }
    return text;
}

void AddIfDifferent(std::vector<FieldDifference>& fields, std::string key, FieldKind kind,
                    std::string a, std::string b) {
    if (a != b) {
        fields.push_back({std::move(key), kind, std::move(a), std::move(b)});
    }
}

std::string Shown(const FieldDifference& field, const std::string& value) {
    switch (field.kind) {
        case FieldKind::kText: {
            // Built in place: `"\"" + text` trips a false -Wrestrict in GCC 12 at -O3.
            std::string quoted(1, '"');
            quoted += Latin1ToUtf8(value);
            quoted += '"';
            return quoted;
        }
        case FieldKind::kGoods:
            return value.empty() ? "(none)" : value;
        case FieldKind::kNumber:
            break;
    }
    return value;
}

std::string Hex(long value) {
    char text[16];
    std::snprintf(text, sizeof text, "0x%05lX", static_cast<unsigned long>(value));
    return text;
}

std::string Padded(std::string text, std::size_t width) {
    text.resize(std::max(text.size(), width), ' ');
    return text;
}

}  // namespace

const std::vector<ByteRange>& KnownFieldRanges() {
    static const std::vector<ByteRange> kRanges = [] {
        std::vector<ByteRange> ranges = BuildKnownRanges();
        std::sort(ranges.begin(), ranges.end(),
                  [](const ByteRange& x, const ByteRange& y) { return x.offset < y.offset; });
        return ranges;
    }();
    return kRanges;
}

namespace {

// The bytes the fields lie in (a compressed state's data undone) and how far from the table's
// ZSNES offsets; a file of no known framing is taken as a ZSNES state.
struct FieldBytes {
    explicit FieldBytes(std::string_view file) : found(RecognizeState(file)) {
        if (found.Known()) {
            bytes = found.Bytes(file);
            shift = found.format.FieldShift();
        } else {
            bytes = file;
        }
    }
    StateRecognition found;
    std::string_view bytes;
    long shift = 0;
};

}  // namespace

std::string KnownFieldBytes(std::string_view state) {
    const FieldBytes in(state);
    std::string bytes;
    for (const ByteRange& range : KnownFieldRanges()) {
        if (static_cast<std::size_t>(range.offset + in.shift) < in.bytes.size()) {
            bytes += in.bytes.substr(static_cast<std::size_t>(range.offset + in.shift),
                                     static_cast<std::size_t>(range.length));
        }
    }
    return bytes;
}

StateDifferences CompareStates(const GameState& a, const GameState& b,
                               const DescriptionTable* descriptions) {
    StateDifferences result;
    for (int slot = 0; slot < kMemberCount; ++slot) {
        const CharacterRecord& ma = a.characters[slot];
        const CharacterRecord& mb = b.characters[slot];
        const std::string prefix = "member" + std::to_string(slot) + ".";
        for (MemberField field : kMemberFieldsListed) {
            AddIfDifferent(result.fields, prefix + MemberFields()[static_cast<int>(field)].key,
                           field == MemberField::kName ? FieldKind::kText : FieldKind::kNumber,
                           ShownMemberField(ma, field), ShownMemberField(mb, field));
        }
        AddIfDifferent(result.fields, prefix + "goods", FieldKind::kGoods, GoodsText(ma),
                       GoodsText(mb));
    }
    AddIfDifferent(result.fields, "money", FieldKind::kNumber, std::to_string(a.money),
                   std::to_string(b.money));
    AddIfDifferent(result.fields, "bank", FieldKind::kNumber, std::to_string(a.bank),
                   std::to_string(b.bank));
    for (const StateTextInfo& text : kStateTexts) {
        AddIfDifferent(result.fields, text.key, FieldKind::kText, ShownText(a, text.text),
                       ShownText(b, text.text));
    }
    for (int n = 0; n < kFlagCount; ++n) {
        if (a.GetFlag(n) != b.GetFlag(n)) {
            std::string description =
                descriptions != nullptr ? (*descriptions)[static_cast<std::size_t>(n) + 1] : "";
            description.erase(std::remove(description.begin(), description.end(), '\n'),
                              description.end());
            result.flags.push_back({n + 1, a.GetFlag(n) != 0, b.GetFlag(n) != 0, description});
        }
    }
    return result;
}

GameState MergeStates(const GameState& base, const GameState& mine, const GameState& theirs,
                      MergeSide prefer, std::vector<FieldDifference>* conflicts) {
    GameState merged = mine;
    std::vector<FieldDifference> found;
    // Fields are told apart as the pages show them; `take` copies theirs into the merge.
    const auto merge = [&](std::string key, FieldKind kind, const std::string& b,
                           const std::string& m, const std::string& t, auto take) {
        if (m == b) {
            take();
        } else if (t != b && t != m) {
            found.push_back({std::move(key), kind, m, t});
            if (prefer == MergeSide::kTheirs) {
                take();
            }
        }
    };
    for (int slot = 0; slot < kMemberCount; ++slot) {
        const CharacterRecord& mb = base.characters[slot];
        const CharacterRecord& mm = mine.characters[slot];
        const CharacterRecord& mt = theirs.characters[slot];
        CharacterRecord& out = merged.characters[slot];
        const std::string prefix = "member" + std::to_string(slot) + ".";
        for (MemberField field : kMemberFieldsListed) {
            merge(prefix + MemberFields()[static_cast<int>(field)].key,
                  field == MemberField::kName ? FieldKind::kText : FieldKind::kNumber,
                  ShownMemberField(mb, field), ShownMemberField(mm, field),
                  ShownMemberField(mt, field), [&] { CopyMemberField(out, mt, field); });
        }
        bool goodsConflict = false;
        for (std::size_t i = 0; i < mb.goods.size(); ++i) {
            const bool mineSame = mm.goods[i] == mb.goods[i];
            const bool conflict =
                !mineSame && mt.goods[i] != mb.goods[i] && mt.goods[i] != mm.goods[i];
            goodsConflict = goodsConflict || conflict;
            if (mineSame || (conflict && prefer == MergeSide::kTheirs)) {
                out.goods[i] = mt.goods[i];
            }
        }
        if (goodsConflict) {
            found.push_back({prefix + "goods", FieldKind::kGoods, GoodsText(mm), GoodsText(mt)});
        }
    }
    merge("money", FieldKind::kNumber, std::to_string(base.money), std::to_string(mine.money),
          std::to_string(theirs.money), [&] { merged.money = theirs.money; });
    merge("bank", FieldKind::kNumber, std::to_string(base.bank), std::to_string(mine.bank),
          std::to_string(theirs.bank), [&] { merged.bank = theirs.bank; });
    for (const StateTextInfo& text : kStateTexts) {
        merge(text.key, FieldKind::kText, ShownText(base, text.text), ShownText(mine, text.text),
              ShownText(theirs, text.text), [&] { CopyText(merged, theirs, text.text); });
    }
    // A flag both changed has the same state on both sides: flags never conflict.
    for (std::size_t i = 0; i < merged.eventFlags.size(); ++i) {
        const std::uint8_t mineChanged = mine.eventFlags[i] ^ base.eventFlags[i];
        merged.eventFlags[i] = static_cast<std::uint8_t>(
            mine.eventFlags[i] ^ ((theirs.eventFlags[i] ^ base.eventFlags[i]) & ~mineChanged));
    }
    if (conflicts != nullptr) {
        *conflicts = std::move(found);
    }
    return merged;
}

std::string ConflictsText(const std::vector<FieldDifference>& conflicts) {
    std::string text;
    for (const FieldDifference& field : conflicts) {
        text += "  " + Padded(field.key, 16) + "  mine " + Shown(field, field.a) + ", theirs " +
                Shown(field, field.b) + "\n";
    }
    return text;
}

std::vector<ByteRange> CompareOutsideFields(std::string_view fileA, std::string_view fileB) {
    const FieldBytes inA(fileA);
    const FieldBytes inB(fileB);
    const std::string_view a = inA.bytes;
    const std::string_view b = inB.bytes;
    const std::size_t end = std::max(a.size(), b.size());
    std::vector<bool> known(end, false);
    for (const long shift : {inA.shift, inB.shift}) {
        for (const ByteRange& range : KnownFieldRanges()) {
            for (long i = range.offset + shift; i < range.offset + shift + range.length; ++i) {
                if (static_cast<std::size_t>(i) < end) {
                    known[static_cast<std::size_t>(i)] = true;
                }
            }
        }
    }
    std::vector<ByteRange> ranges;
    for (std::size_t i = 0; i < end; ++i) {
        const bool differs = i >= a.size() || i >= b.size() || a[i] != b[i];
        if (!differs || known[i]) {
            continue;
        }
        if (!ranges.empty() &&
            ranges.back().offset + ranges.back().length == static_cast<long>(i)) {
            ++ranges.back().length;
        } else {
            ranges.push_back({static_cast<long>(i), 1});
        }
    }
    return ranges;
}

std::string DifferencesText(const StateDifferences& differences,
                            const std::vector<ByteRange>* raw) {
    std::string text;
    if (differences.Same()) {
        text += "The editable data are the same.\n";
    }
    if (!differences.fields.empty()) {
        text += "Fields that differ (A -> B):\n";
        for (const FieldDifference& field : differences.fields) {
            text += "  " + Padded(field.key, 16) + "  " + Shown(field, field.a) + " -> " +
                    Shown(field, field.b) + "\n";
        }
    }
    if (!differences.flags.empty()) {
        text += "Flags that differ (their state in B):\n";
        for (const FlagDifference& flag : differences.flags) {
            std::string line = "  " + FlagNumberText(flag.number) + "  " +
                               (flag.b ? "on " : "off") + "  " + flag.description;
            line.erase(line.find_last_not_of(' ') + 1);
            text += line + "\n";
        }
    }
    if (raw != nullptr) {
        if (raw->empty()) {
            text += "No byte outside the fields differs.\n";
        } else {
            long total = 0;
            for (const ByteRange& range : *raw) {
                total += range.length;
            }
            text += "Bytes outside the fields that differ (" + std::to_string(total) + " in " +
                    std::to_string(raw->size()) + (raw->size() == 1 ? " range" : " ranges") +
                    "):\n";
            for (const ByteRange& range : *raw) {
                text += "  " + Hex(range.offset) + "-" + Hex(range.offset + range.length - 1) +
                        "  " + std::to_string(range.length) +
                        (range.length == 1 ? " byte\n" : " bytes\n");
            }
        }
    }
    return text;
}

}  // namespace sw
