// Whole-file reads into one buffer of the file's size.
#include <gtest/gtest.h>

#include <string>

#include "platform/UFileBytes.h"
#include "support/TempDir.h"

namespace velmora {
namespace {

using test::TempDir;

TEST(FileBytes, ReadsEveryByteAndRefusesWhatIsNoFile)
{
    TempDir dir;
    TFileBytes bytes;
    const std::string big(200000, '\xfe');
    for (const std::string& content : {std::string("a\r\nb\0c\xff\n", 8), std::string(), big}) {
        ASSERT_TRUE(bytes.Read(dir.Write("dump.txt", content)));
        EXPECT_EQ(bytes.View(), content) << "the same reader is used again, for smaller and larger files";
    }
    EXPECT_FALSE(bytes.Read(dir.File("missing.txt")));
    EXPECT_TRUE(bytes.View().empty());
    EXPECT_FALSE(bytes.Read(dir.Path())) << "a directory is not a file";
}

} // namespace
} // namespace velmora
