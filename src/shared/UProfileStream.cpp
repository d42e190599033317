#include "shared/UProfileStream.h"

#include <limits>

namespace velmora {

std::int32_t TProfileWriter::CheckedInt32(std::size_t size)
{
    if (size > static_cast<std::size_t>(std::numeric_limits<std::int32_t>::max()))
        throw EGenException("Profile data too large");
    return static_cast<std::int32_t>(size);
}

void TProfileWriter::WriteInt32(std::int32_t value)
{
    auto u = static_cast<std::uint32_t>(value);
    for (int i = 0; i < 4; ++i)
        FData.push_back(static_cast<char>((u >> (8 * i)) & 0xFF));
}

void TProfileWriter::WriteBool(bool value)
{
    FData.push_back(value ? '\1' : '\0');
}

void TProfileWriter::WriteByte(std::uint8_t value)
{
    FData.push_back(static_cast<char>(value));
}

void TProfileWriter::WriteString(std::string_view text)
{
    WriteInt32(CheckedInt32(text.size()));
    WriteBytes(text);
}

void TProfileWriter::WriteBytes(std::string_view bytes)
{
    FData.append(bytes);
}

void TProfileWriter::PatchInt32(std::size_t offset, std::int32_t value)
{
    if (offset + 4 > FData.size())
        throw EGenException("Profile offset out of range");
    auto u = static_cast<std::uint32_t>(value);
    for (int i = 0; i < 4; ++i)
        FData[offset + i] = static_cast<char>((u >> (8 * i)) & 0xFF);
}

void TProfileReader::Require(std::size_t count) const
{
    if (count > FData.size() - FPos)
        throw EProfileReadError("Profile data ends early");
}

std::int32_t TProfileReader::ReadInt32()
{
    Require(4);
    std::uint32_t u = 0;
    for (int i = 0; i < 4; ++i)
        u |= static_cast<std::uint32_t>(static_cast<unsigned char>(FData[FPos + i])) << (8 * i);
    FPos += 4;
    return static_cast<std::int32_t>(u);
}

std::uint8_t TProfileReader::ReadByte()
{
    Require(1);
    return static_cast<std::uint8_t>(FData[FPos++]);
}

bool TProfileReader::ReadBool()
{
    Require(1);
    return FData[FPos++] != 0;
}

std::string TProfileReader::ReadString()
{
    return ReadBytes(ReadInt32());
}

std::string TProfileReader::ReadBytes(std::int32_t count)
{
    if (count < 0)
        throw EProfileReadError("Negative length in profile data");
    Require(static_cast<std::size_t>(count));
    std::string result(FData.substr(FPos, static_cast<std::size_t>(count)));
    FPos += static_cast<std::size_t>(count);
    return result;
}

std::int32_t TProfileReader::Int32At(std::size_t offset) const
{
    TProfileReader at(FData);
    at.Seek(static_cast<std::int64_t>(offset));
    return at.ReadInt32();
}

TProfileReader TProfileReader::Until(std::int64_t end) const
{
    if (end < static_cast<std::int64_t>(FPos) || static_cast<std::uint64_t>(end) > FData.size())
        throw EProfileReadError("Profile section offset out of order");
    return TProfileReader(FData.substr(FPos, static_cast<std::size_t>(end) - FPos));
}

void TProfileReader::Seek(std::int64_t offset)
{
    if (offset < 0 || static_cast<std::uint64_t>(offset) > FData.size())
        throw EProfileReadError("Profile offset out of range");
    FPos = static_cast<std::size_t>(offset);
}

} // namespace velmora
