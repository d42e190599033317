// The primitive encodings of the profile file: byte order, widths, and reads
// that refuse data that is not there.
#include <gtest/gtest.h>

#include <functional>
#include <limits>

#include "shared/UProfileStream.h"

namespace velmora {
namespace {

std::string Bytes(std::initializer_list<unsigned char> bytes)
{
    return std::string(bytes.begin(), bytes.end());
}

TEST(ProfileWriterTest, WritesLittleEndianInt32BoolAndCountedStrings)
{
    TProfileWriter writer;
    writer.WriteInt32(0x12345678);
    writer.WriteInt32(-2);
    writer.WriteBool(false);
    writer.WriteBool(true);
    writer.WriteString("ab");
    writer.WriteString("");
    EXPECT_EQ(writer.Data(), Bytes({0x78, 0x56, 0x34, 0x12, 0xFE, 0xFF, 0xFF, 0xFF, 0x00, 0x01, 0x02, 0x00, 0x00,
                                    0x00, 'a', 'b', 0x00, 0x00, 0x00, 0x00}));
}

TEST(ProfileWriterTest, PatchInt32_OverwritesInPlaceAndRefusesOffsetsPastTheEnd)
{
    TProfileWriter writer;
    writer.WriteBytes(std::string(6, '\0'));
    writer.PatchInt32(2, 0x01020304);
    EXPECT_EQ(writer.Data(), Bytes({0, 0, 0x04, 0x03, 0x02, 0x01}));
    EXPECT_THROW(writer.PatchInt32(3, 1), EGenException);
}

TEST(ProfileWriterTest, CheckedInt32_RefusesSizesBeyondInt32)
{
    constexpr auto max = static_cast<std::size_t>(std::numeric_limits<std::int32_t>::max());
    EXPECT_EQ(TProfileWriter::CheckedInt32(max), std::numeric_limits<std::int32_t>::max());
    EXPECT_THROW(TProfileWriter::CheckedInt32(max + 1), EGenException);
}

TEST(ProfileReaderTest, ReadsWhatTheWriterWrote)
{
    TProfileWriter writer;
    writer.WriteInt32(std::numeric_limits<std::int32_t>::min());
    writer.WriteBool(true);
    writer.WriteString(std::string("a\0\r\nb", 5));
    writer.WriteString("");
    writer.WriteInt32(7);
    TProfileReader reader(writer.Data());
    EXPECT_EQ(reader.ReadInt32(), std::numeric_limits<std::int32_t>::min());
    EXPECT_TRUE(reader.ReadBool());
    EXPECT_EQ(reader.ReadString(), std::string("a\0\r\nb", 5));
    EXPECT_EQ(reader.ReadString(), ""); // a count of 0 is an empty string; the next field follows
    EXPECT_EQ(reader.ReadInt32(), 7);
    EXPECT_EQ(reader.Position(), reader.Size());
}

TEST(ProfileReaderTest, AnyNonZeroByteReadsAsTrue)
{
    std::string data = Bytes({0x00, 0x01, 0x02, 0x80, 0xFF});
    TProfileReader reader(data);
    EXPECT_FALSE(reader.ReadBool());
    for (int i = 0; i < 4; ++i)
        EXPECT_TRUE(reader.ReadBool());
}

struct BadRead {
    const char* Name;
    std::string Data;
    std::function<void(TProfileReader&)> Read;
};

TEST(ProfileReaderTest, ReadsBeyondTheData_RaiseReadError)
{
    const std::vector<BadRead> cases = {
        {"int32 with three bytes", Bytes({1, 2, 3}), [](TProfileReader& r) { r.ReadInt32(); }},
        {"bool at the end", "", [](TProfileReader& r) { r.ReadBool(); }},
        {"string longer than the data", Bytes({5, 0, 0, 0, 'a', 'b', 'c', 'd'}),
         [](TProfileReader& r) { r.ReadString(); }},
        {"string of the largest count", Bytes({0xFF, 0xFF, 0xFF, 0x7F, 'a'}),
         [](TProfileReader& r) { r.ReadString(); }},
        {"negative string count", Bytes({0xFF, 0xFF, 0xFF, 0xFF, 'a'}), [](TProfileReader& r) { r.ReadString(); }},
        {"negative byte count", "abc", [](TProfileReader& r) { r.ReadBytes(-1); }},
        {"seek past the end", "abc", [](TProfileReader& r) { r.Seek(4); }},
        {"seek before the start", "abc", [](TProfileReader& r) { r.Seek(-1); }},
        {"string count cut short", Bytes({1, 0}), [](TProfileReader& r) { r.ReadString(); }},
    };
    for (const BadRead& c : cases) {
        TProfileReader reader(c.Data);
        EXPECT_THROW(c.Read(reader), EProfileReadError) << c.Name;
    }
}

TEST(ProfileReaderTest, SeekToTheEnd_IsAllowedAndLeavesNothingToRead)
{
    TProfileReader reader("abc");
    reader.Seek(3);
    EXPECT_EQ(reader.ReadBytes(0), "");
    EXPECT_THROW(reader.ReadBool(), EProfileReadError);
}

} // namespace
} // namespace velmora
