// The primitive encodings of the profile file: little-endian int32, one-byte
// bool and counted strings, written to and read from an in-memory copy of the file.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "shared/UGenDeclarations.h"

namespace velmora {

// The profile file starts with a table of five int32 words: the file size and
// the end offsets of the page, general, input/output and names sections.
namespace ProfileLayout {
inline constexpr std::size_t FileSizeWord = 0;
inline constexpr std::size_t PageEndWord = 4;
inline constexpr std::size_t GeneralEndWord = 8;
inline constexpr std::size_t IOEndWord = 12;
inline constexpr std::size_t NamesEndWord = 16;
inline constexpr std::size_t FirstSection = 20;
} // namespace ProfileLayout

// Raised by TProfileReader when the data does not hold what is asked for.
class EProfileReadError : public EGenException {
public:
    using EGenException::EGenException;
};

class TProfileWriter {
public:
    // A size or count as the int32 the file stores; raises EGenException for
    // one that does not fit, rather than writing a wrapped-around number.
    static std::int32_t CheckedInt32(std::size_t size);

    void WriteInt32(std::int32_t value);
    void WriteBool(bool value);
    void WriteByte(std::uint8_t value);
    // The byte count, then the bytes.
    void WriteString(std::string_view text);
    void WriteBytes(std::string_view bytes);
    // Overwrites the four bytes at offset with value (the offset table).
    void PatchInt32(std::size_t offset, std::int32_t value);

    std::size_t Size() const { return FData.size(); }
    const std::string& Data() const { return FData; }

private:
    std::string FData;
};

// Reads from bytes it does not own. Every read checks that its bytes are there
// and raises EProfileReadError otherwise; nothing is allocated for a length
// that the data cannot hold.
class TProfileReader {
public:
    explicit TProfileReader(std::string_view data) : FData(data) {}

    std::int32_t ReadInt32();
    bool ReadBool();
    std::uint8_t ReadByte();
    std::string ReadString();
    std::string ReadBytes(std::int32_t count);
    // Moves to an offset inside the data (the end included).
    void Seek(std::int64_t offset);
    // The int32 at an offset, without moving.
    std::int32_t Int32At(std::size_t offset) const;
    // A reader of the bytes from here up to end (a section), which must not
    // lie before here or past the data.
    TProfileReader Until(std::int64_t end) const;

    std::size_t Position() const { return FPos; }
    std::size_t Size() const { return FData.size(); }

private:
    void Require(std::size_t count) const;

    std::string_view FData;
    std::size_t FPos = 0;
};

} // namespace velmora
