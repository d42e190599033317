// Reading a console dump as lines without copying it: CR, LF and CR LF each
// end a line, a last line without an ending is a line too, a NUL ends the text.
#pragma once

#include <cstddef>
#include <string_view>

namespace velmora {

// The text of a dump: its bytes up to the first NUL byte.
std::string_view DumpText(std::string_view bytes);

// The number of lines of a dump text.
std::size_t CountDumpLines(std::string_view text);

// Hands out the lines of a dump text one by one, as views into the text.
class TDumpLineReader {
public:
    explicit TDumpLineReader(std::string_view text);
    // False when no line is left.
    bool Next(std::string_view& line);

private:
    std::string_view FText;
    std::size_t FPos = 0;
    bool FHasCR; // most dumps have only LF and take the faster search
};

} // namespace velmora
