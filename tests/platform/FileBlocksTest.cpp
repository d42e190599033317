// Files read in blocks by a thread reading ahead.
#include <gtest/gtest.h>

#include <string>

#include "platform/UFileBlocks.h"
#include "support/TempDir.h"

namespace velmora {
namespace {

using test::TempDir;

std::string ReadAll(TFileBlockReader& reader, std::size_t blockSize, std::uint64_t limit)
{
    std::string bytes;
    reader.Start(blockSize, limit);
    for (std::string_view block; !(block = reader.Next()).empty();) {
        EXPECT_LE(block.size(), blockSize);
        bytes += block;
    }
    return bytes;
}

TEST(FileBlocks, ReaderHandsOutEveryByteUpToTheLimitAndRefusesWhatIsNoFile)
{
    TempDir dir;
    const std::string content = std::string("a\r\nb\0c\xff\n", 8) + std::string(5000, '\xfe');
    TFileBlockReader reader;
    ASSERT_TRUE(reader.Open(dir.Write("dump.txt", content)));
    EXPECT_EQ(ReadAll(reader, 7, TFileBlockReader::NoLimit), content);
    EXPECT_EQ(ReadAll(reader, 1000, 4321), content.substr(0, 4321)) << "started again from the first byte";
    EXPECT_FALSE(reader.Failed());
    EXPECT_EQ(reader.BytesRead(), content.size() + 4321);

    ASSERT_TRUE(reader.Open(dir.Write("empty.txt", "")));
    EXPECT_EQ(ReadAll(reader, 7, TFileBlockReader::NoLimit), "");
    EXPECT_FALSE(reader.Open(dir.File("missing.txt")));
    EXPECT_FALSE(reader.Open(dir.Path())) << "a directory is not a file";
}

} // namespace
} // namespace velmora
