// A profile as one JSON object, and a JSON object laid over a profile through
// the same setters and AddName that reading a profile file uses.
#pragma once

#include <stdexcept>
#include <string>

#include <nlohmann/json.hpp>

#include "settings/UAppOptions.h"

namespace velmora {
class THighlightProfile;
}

namespace velmora::cli {

// A JSON value that does not fit the profile; the text names the key.
class EProfileJsonError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The word for each way of treating colour codes, in JSON and on the command
// line: "keep", "remove", "colors"; and back, false for any other word.
std::string ColorCodesWord(TColorCodes codes);
bool ColorCodesFromWord(const std::string& word, TColorCodes& codes);
// The same for the page style ("classic", "modern") and the lines to keep
// ("all", "events", "chat").
std::string PageStyleWord(TPageStyle style);
bool PageStyleFromWord(const std::string& word, TPageStyle& style);
std::string KeepLinesWord(TKeepLines keep);
bool KeepLinesFromWord(const std::string& word, TKeepLines& keep);

// Every value of the profile: {"html": {...}, "app": {...}, "io": {...}, "names": [...]}.
// Colours read "#RRGGBB" (red first, as in pages) or "system:NAME"; a stored
// value that is neither stays an integer.
nlohmann::json ProfileToJson(THighlightProfile& profile);

// The JSON text of a value on one line; bytes that are not valid UTF-8 become
// replacement characters.
std::string JsonText(const nlohmann::json& value);

// What "velmora-cli profile --help" says of the JSON: the colour forms and
// every key with its type, default and meaning, wrapped for a terminal.
std::string ProfileJsonHelp();

// Applies any subset of the keys that ProfileToJson gives. "io.files"
// replaces the file list (sorted, without duplicates); each entry of "names"
// is added with AddName, "name" being required and the other keys defaulting
// as for a new name. Colours may also be given as integers, but only values
// a page can show. Multi-line texts take CR LF line ends, as the window's
// edits give them. Raises EProfileJsonError at the first unknown key or
// value of the wrong type; the values before it are already applied.
void ApplyProfileJson(const nlohmann::json& json, THighlightProfile& profile);

} // namespace velmora::cli
