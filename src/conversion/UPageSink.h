// The bytes of a page on their way to its file: gathered in blocks, each
// written by a thread of its own while the next one is filled. Every page
// style writes through it.
#pragma once

#include <cstddef>
#include <cstring>
#include <initializer_list>
#include <string_view>

#include "platform/UFileBlocks.h"

namespace velmora {

class TAtomicFileWriter;

class TPageSink {
public:
    // Bytes past any room handed out that may be written to, so that a
    // line's ending can be stored as one word of which only the front counts.
    static constexpr std::size_t Slack = 8;

    // The page goes to file (not owned), which must outlive the sink.
    TPageSink(TAtomicFileWriter& file, std::size_t blockSize);

    // Where `size` more bytes go; null when they are more than a block
    // holds, which Put then takes in pieces.
    char* Room(std::size_t size)
    {
        char* out = Space(size);
        if (out)
            FUsed += size;
        return out;
    }
    // Where up to `most` bytes may go, for output whose length is known only
    // once it is written: Used then takes its end. Null as for Room.
    char* Space(std::size_t most)
    {
        if (FUsed + most > FBlockSize) {
            Flush();
            if (most > FBlockSize)
                return nullptr;
        }
        return FBlock + FUsed;
    }
    void Used(const char* end) { FUsed = static_cast<std::size_t>(end - FBlock); }

    static char* Append(char* out, std::string_view piece)
    {
        if (!piece.empty())
            std::memcpy(out, piece.data(), piece.size());
        return out + piece.size();
    }
    // Appends bytes, however many.
    void Put(std::string_view bytes);
    // Appends the pieces as one run of bytes: a single room check for them all.
    void Put(std::initializer_list<std::string_view> pieces)
    {
        std::size_t size = 0;
        for (std::string_view piece : pieces)
            size += piece.size();
        if (char* out = Room(size)) {
            for (std::string_view piece : pieces)
                out = Append(out, piece);
        } else {
            for (std::string_view piece : pieces)
                Put(piece);
        }
    }
    // One item of the page: the pieces followed by CR LF.
    void Item(std::string_view a, std::string_view b = {}, std::string_view c = {}) { Put({a, b, c, "\r\n"}); }
    // Returns once the file has every byte put here.
    void Finish();

private:
    void Flush();

    TFileBlockWriter FWriter;
    std::size_t FBlockSize;
    char* FBlock;
    std::size_t FUsed = 0;
};

} // namespace velmora
