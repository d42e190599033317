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

#ifdef __linux__
TEST(FileBytes, AFileLongerThanItsSizeSaidIsReadFromItsFirstByte)
{
    // A file under /proc has the size 0 and content, as a file that grew after
    // its size was taken: the buffer grows from one byte, each larger one
    // starting with the bytes read into the one before.
    TFileBytes bytes;
    ASSERT_TRUE(bytes.Read("/proc/self/status"));
    EXPECT_TRUE(bytes.View().starts_with("Name:\t")) << bytes.View().substr(0, 40);
    EXPECT_NE(bytes.View().find("\nPid:\t"), std::string_view::npos);
}
#endif

} // namespace
} // namespace velmora
