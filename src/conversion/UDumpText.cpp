// Line splitting of dump texts, kept in one place for the page writer.
#include "conversion/UDumpText.h"

#include <cstring>

namespace velmora {

std::string_view DumpText(std::string_view bytes)
{
    const void* nul = std::memchr(bytes.data(), '\0', bytes.size());
    if (!nul)
        return bytes;
    return bytes.substr(0, static_cast<std::size_t>(static_cast<const char*>(nul) - bytes.data()));
}

std::size_t CountDumpLines(std::string_view text)
{
    if (text.empty())
        return 0;
    std::size_t count = 0;
    if (!std::memchr(text.data(), '\r', text.size())) {
        // memchr is vectorised by the C library; a plain counting loop is not at -O2.
        const char* end = text.data() + text.size();
        for (const char* p = text.data(); (p = static_cast<const char*>(std::memchr(p, '\n', static_cast<std::size_t>(end - p)))); ++p)
            ++count;
    } else {
        for (std::size_t i = 0; i < text.size(); ++i) {
            if (text[i] == '\n')
                ++count;
            else if (text[i] == '\r' && (i + 1 == text.size() || text[i + 1] != '\n'))
                ++count; // a CR LF pair is counted at its LF
        }
    }
    char last = text.back();
    if (last != '\n' && last != '\r')
        ++count;
    return count;
}

TDumpLineReader::TDumpLineReader(std::string_view text)
    : FText(text), FHasCR(std::memchr(text.data(), '\r', text.size()) != nullptr)
{
}

bool TDumpLineReader::Next(std::string_view& line)
{
    if (FPos >= FText.size())
        return false;
    const char* start = FText.data() + FPos;
    const std::size_t left = FText.size() - FPos;
    std::size_t length = left;
    if (FHasCR) {
        for (std::size_t i = 0; i < left; ++i)
            if (start[i] == '\r' || start[i] == '\n') {
                length = i;
                break;
            }
    } else if (const void* lf = std::memchr(start, '\n', left)) {
        length = static_cast<std::size_t>(static_cast<const char*>(lf) - start);
    }
    line = std::string_view(start, length);
    FPos += length;
    if (FPos < FText.size()) {
        bool crlf = FText[FPos] == '\r' && FPos + 1 < FText.size() && FText[FPos + 1] == '\n';
        FPos += crlf ? 2 : 1;
    }
    return true;
}

} // namespace velmora
