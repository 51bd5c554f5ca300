// The editable data of a save state as JSON, out (`show --json`) and back in (`apply`). The
// form is documented in docs/state.schema.json. Game text is UTF-8 in JSON and one byte per
// character in the state: a character with no single byte becomes "?", as typed in the pages.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "FlagDescriptions.h"
#include "GameState.h"

namespace sw {

// Every editable field, and the flags that are on with their descriptions (may be null).
// `rom` empty is written as null; `format` names the file's framing ("ZSNES 1.43").
std::string StateJsonText(const GameState& state, const std::string& file, const std::string& rom,
                          const DescriptionTable* descriptions,
                          const std::string& format = "ZSNES 1.43");

// Sets every field present in the JSON by the rules `set` follows (numbers stop at the pages'
// limits, texts are cut to their widths; "flags", when present, lists every flag that is on).
// Any error leaves the state untouched: false, and each error as "<JSON path>: what is wrong",
// the path written as $.members[1].level.
bool ApplyStateJson(std::string_view json, GameState& state, std::vector<std::string>& errors);

}  // namespace sw
