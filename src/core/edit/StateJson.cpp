#include "StateJson.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <functional>
#include <optional>
#include <set>

#include <nlohmann/json.hpp>

#include "GameText.h"
#include "Layout.h"
#include "ReadBack.h"

namespace sw {
namespace {

using Json = nlohmann::ordered_json;  // keys in the order they are documented
using Edit = std::function<void(GameState&)>;

// Keys that `show --json` writes for the reader's information and `apply` passes over.
constexpr const char* kInformationKeys[] = {"$schema", "file", "format", "rom"};

Json MemberJson(const CharacterRecord& member) {
    Json json = {{"slot", member.index}};
    for (MemberField field : kMemberFieldsListed) {
        const std::string shown = ShownMemberField(member, field);
        const char* key = MemberFields()[static_cast<int>(field)].key;
        if (field == MemberField::kName) {
            json[key] = Latin1ToUtf8(shown);
        } else {
            json[key] = std::stoll(shown);
        }
    }
    json["goods"] = member.goods;
    return json;
}

// Collects the edits a document asks for, and every error with its path.
class Reader {
public:
    std::vector<Edit> edits;
    std::vector<std::string> errors;

    void Document(const Json& root) {
        if (!root.is_object()) {
            Error("$", "a JSON object is expected, not " + What(root));
            return;
        }
        for (const auto& [key, value] : root.items()) {
            const std::string path = Key("$", key);
            if (std::find(std::begin(kInformationKeys), std::end(kInformationKeys), key) !=
                std::end(kInformationKeys)) {
                continue;
            }
            if (key == "money" || key == "bank") {
                if (const auto number = Number(value, path)) {
                    const bool money = key == "money";
                    edits.push_back([money, number = *number](GameState& s) {
                        (money ? s.money : s.bank) = ParseTypedNumber(number);  // no limit
                    });
                }
            } else if (key == "members") {
                Members(value, path);
            } else if (key == "flags") {
                Flags(value, path);
            } else if (!Text(key, value, path)) {
                Error(path, "no such field");
            }
        }
    }

private:
    void Error(const std::string& path, const std::string& what) {
        errors.push_back(path + ": " + what);
    }

    static std::string Key(const std::string& path, const std::string& key) {
        const bool plain = !key.empty() && !std::isdigit(static_cast<unsigned char>(key[0])) &&
                           std::all_of(key.begin(), key.end(), [](char c) {
                               return std::isalnum(static_cast<unsigned char>(c)) || c == '_';
                           });
        return plain ? path + "." + key : path + "[" + Json(key).dump() + "]";
    }
    static std::string Index(const std::string& path, std::size_t index) {
        return path + "[" + std::to_string(index) + "]";
    }

    static std::string What(const Json& value) {
        if (value.is_string()) {
            return "a text";
        }
        if (value.is_number_float()) {
            return "a number with a fraction";
        }
        if (value.is_boolean() || value.is_null()) {
            return value.dump();
        }
        return value.is_array() ? "a list" : value.is_object() ? "an object" : "a number";
    }

    // A whole number as the text a page box would hold, so that `set`'s reading applies.
    std::optional<std::string> Number(const Json& value, const std::string& path) {
        if (value.is_number_unsigned()) {
            return std::to_string(value.get<std::uint64_t>());
        }
        if (value.is_number_integer()) {
            return std::to_string(value.get<std::int64_t>());
        }
        // Beyond 64 bits JSON readers keep a number as a floating one; whole, it is still one.
        if (value.is_number_float() && std::isfinite(value.get<double>()) &&
            std::trunc(value.get<double>()) == value.get<double>()) {
            char text[400];
            std::snprintf(text, sizeof text, "%.0f", value.get<double>());
            return std::string(text);
        }
        Error(path, "a whole number is expected, not " + What(value));
        return std::nullopt;
    }

    std::optional<std::string> GameTextOf(const Json& value, const std::string& path) {
        if (!value.is_string()) {
            Error(path, "a text is expected, not " + What(value));
            return std::nullopt;
        }
        return GameTextFromUtf8(value.get<std::string>());
    }

    bool Text(const std::string& key, const Json& value, const std::string& path) {
        for (const StateTextInfo& info : kStateTexts) {
            if (key == info.key) {
                if (const auto text = GameTextOf(value, path)) {
                    edits.push_back(
                        [info, text = *text](GameState& s) { StoreTypedText(s, info.text, text); });
                }
                return true;
            }
        }
        return false;
    }

    void Members(const Json& members, const std::string& path) {
        if (!members.is_array()) {
            Error(path, "a list of members is expected, not " + What(members));
            return;
        }
        std::set<std::int64_t> slots;
        for (std::size_t i = 0; i < members.size(); ++i) {
            const Json& member = members[i];
            const std::string at = Index(path, i);
            if (!member.is_object()) {
                Error(at, "a member (an object) is expected, not " + What(member));
                continue;
            }
            std::int64_t slot = static_cast<std::int64_t>(i);
            if (member.contains("slot")) {
                const Json& given = member["slot"];
                if (!given.is_number_integer() || given.get<std::int64_t>() < 0 ||
                    given.get<std::int64_t>() >= layout::kMemberCount) {
                    Error(at + ".slot", "slots run from 0 to 3");
                    continue;
                }
                slot = given.get<std::int64_t>();
            } else if (slot >= layout::kMemberCount) {
                Error(at, "there are four members, slots 0 to 3");
                continue;
            }
            if (!slots.insert(slot).second) {
                Error(at, "member " + std::to_string(slot) + " is given twice");
                continue;
            }
            Member(member, static_cast<int>(slot), at);
        }
    }

    void Member(const Json& member, int slot, const std::string& path) {
        for (const auto& [key, value] : member.items()) {
            const std::string at = Key(path, key);
            if (key == "slot") {
                continue;
            }
            if (key == "goods") {
                Goods(value, slot, at);
                continue;
            }
            const std::optional<MemberField> field = MemberFieldByKey(key);
            if (!field) {
                Error(at, "no such field");
                continue;
            }
            const auto typed =
                *field == MemberField::kName ? GameTextOf(value, at) : Number(value, at);
            if (typed) {
                edits.push_back([slot, field = *field, typed = *typed](GameState& s) {
                    StoreTypedMemberField(s.characters[slot], field, typed);
                });
            }
        }
    }

    void Goods(const Json& value, int slot, const std::string& path) {
        if (!value.is_array()) {
            Error(path, "a list of item codes is expected, not " + What(value));
            return;
        }
        if (value.size() > layout::kGoodsSlots) {
            Error(path, "at most 14 item codes (one per goods slot)");
            return;
        }
        std::array<std::uint8_t, layout::kGoodsSlots> goods{};  // the rest stay empty
        bool ok = true;
        for (std::size_t i = 0; i < value.size(); ++i) {
            const Json& code = value[i];
            if (!code.is_number_integer() || code.get<std::int64_t>() < 0 ||
                code.get<std::int64_t>() > 255) {
                Error(Index(path, i), "item codes run from 0 to 255");
                ok = false;
                continue;
            }
            goods[i] = static_cast<std::uint8_t>(code.get<std::int64_t>());
        }
        if (ok) {
            edits.push_back([slot, goods](GameState& s) { s.characters[slot].goods = goods; });
        }
    }

    std::optional<int> FlagNumber(const Json& value, const std::string& path) {
        std::int64_t number = 0;
        if (value.is_string()) {
            number = ParseTypedFlagNumber(value.get<std::string>());
        } else if (value.is_number_integer()) {
            number = value.get<std::int64_t>();
        } else {
            Error(path, "a flag number (\"$0010\" or 16) is expected, not " + What(value));
            return std::nullopt;
        }
        if (number < 1 || number > layout::kFlagCount) {
            Error(path, "flag numbers run from $0001 to $0400");
            return std::nullopt;
        }
        return static_cast<int>(number);
    }

    void Flags(const Json& flags, const std::string& path) {
        if (!flags.is_array()) {
            Error(path, "a list of the flags that are on is expected, not " + What(flags));
            return;
        }
        std::vector<int> on;
        for (std::size_t i = 0; i < flags.size(); ++i) {
            const Json& flag = flags[i];
            const std::string at = Index(path, i);
            std::optional<int> number;
            if (flag.is_object()) {
                for (const auto& [key, value] : flag.items()) {
                    if (key != "number" && key != "description") {
                        Error(Key(at, key), "no such field");
                    }
                }
                if (!flag.contains("number")) {
                    Error(at, "the flag's \"number\" is missing");
                    continue;
                }
                number = FlagNumber(flag["number"], at + ".number");
            } else {
                number = FlagNumber(flag, at);
            }
            if (number) {
                on.push_back(*number - 1);
            }
        }
        edits.push_back([on](GameState& s) {
            s.eventFlags.fill(0);
            for (int index : on) {
                s.SetFlag(index, true);
            }
        });
    }
};

}  // namespace

std::string StateJsonText(const GameState& state, const std::string& file, const std::string& rom,
                          const DescriptionTable* descriptions, const std::string& format) {
    Json json;
    json["file"] = file;
    json["format"] = format;
    json["rom"] = rom.empty() ? Json() : Json(rom);
    json["members"] = Json::array();
    for (const CharacterRecord& member : state.characters) {
        json["members"].push_back(MemberJson(member));
    }
    json["money"] = state.money;
    json["bank"] = state.bank;
    for (const StateTextInfo& info : kStateTexts) {
        json[info.key] = Latin1ToUtf8(ShownText(state, info.text));
    }
    json["flags"] = Json::array();
    for (int n = 0; n < layout::kFlagCount; ++n) {
        if (state.GetFlag(n) != 0) {
            std::string description =
                descriptions != nullptr ? (*descriptions)[static_cast<std::size_t>(n) + 1] : "";
            description.erase(std::remove(description.begin(), description.end(), '\n'),
                              description.end());
            json["flags"].push_back(
                {{"number", FlagNumberText(n + 1)}, {"description", description}});
        }
    }
    // Descriptions are UTF-8 already; a file in another encoding was converted when read.
    return json.dump(2, ' ', false, Json::error_handler_t::replace) + "\n";
}

bool ApplyStateJson(std::string_view json, GameState& state, std::vector<std::string>& errors) {
    Json root;
    try {
        root = Json::parse(json);
    } catch (const Json::parse_error& e) {
        std::string what = e.what();
        what.erase(0, what.find(']') + 2);  // "[json.exception.parse_error.101] "
        errors = {"$: not JSON: " + what};
        return false;
    }
    Reader reader;
    reader.Document(root);
    errors = reader.errors;
    if (!errors.empty()) {
        return false;
    }
    for (const Edit& edit : reader.edits) {
        edit(state);
    }
    return true;
}

}  // namespace sw
