// Files read straight into memory, or in blocks by a thread reading ahead.
#include <gtest/gtest.h>

#include <string>

#include "platform/UFileBlocks.h"
#include "support/TempDir.h"

namespace velmora {
namespace {

using test::TempDir;

std::string ReadAhead(TFileBlockReader& reader, std::size_t blockSize, std::uint64_t from, std::uint64_t limit)
{
    std::string bytes;
    reader.Start(blockSize, from, limit);
    for (std::string_view block; !(block = reader.Next()).empty();) {
        EXPECT_LE(block.size(), blockSize);
        bytes += block;
    }
    return bytes;
}

TEST(FileBlocks, ReaderHandsOutEveryByteFromWhereAskedUpToTheLimitAndRefusesWhatIsNoFile)
{
    TempDir dir;
    const std::string content = std::string("a\r\nb\0c\xff\n", 8) + std::string(5000, '\xfe');
    TFileBlockReader reader;
    ASSERT_TRUE(reader.Open(dir.Write("dump.txt", content)));
    std::string start(10, ' ');
    EXPECT_EQ(reader.ReadStart(start.data(), start.size()), 10u);
    EXPECT_EQ(start, content.substr(0, 10));
    EXPECT_EQ(ReadAhead(reader, 7, 10, TFileBlockReader::NoLimit), content.substr(10));
    EXPECT_EQ(ReadAhead(reader, 1000, 3, 4321), content.substr(3, 4321));
    EXPECT_EQ(reader.ReadStart(start.data(), start.size()), 10u) << "from the first byte again";
    EXPECT_FALSE(reader.Failed());
    EXPECT_EQ(reader.BytesRead(), 10 + (content.size() - 10) + 4321 + 10);

    ASSERT_TRUE(reader.Open(dir.Write("empty.txt", "")));
    EXPECT_EQ(reader.ReadStart(start.data(), start.size()), 0u);
    EXPECT_EQ(ReadAhead(reader, 7, 0, TFileBlockReader::NoLimit), "");
    EXPECT_FALSE(reader.Open(dir.File("missing.txt")));
    EXPECT_FALSE(reader.Open(dir.Path())) << "a directory is not a file";
}

#ifdef __linux__
TEST(FileBlocks, AFileLongerThanItsSizeSaidIsReadFromItsFirstByte)
{
    // A file under /proc has the size 0 and content, as a file that grew
    // after its size was taken.
    TFileBlockReader reader;
    ASSERT_TRUE(reader.Open("/proc/self/status"));
    std::string start(1 << 16, ' ');
    start.resize(reader.ReadStart(start.data(), start.size()));
    EXPECT_TRUE(start.starts_with("Name:\t")) << start.substr(0, 40);
    EXPECT_NE(start.find("\nPid:\t"), std::string::npos);
}
#endif

} // namespace
} // namespace velmora
