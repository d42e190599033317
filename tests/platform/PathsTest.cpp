// File-name helpers and the choice of the program directory.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "platform/UPaths.h"
#include "platform/UText.h"
#include "support/TempDir.h"

namespace velmora {
namespace {

struct FileNameCase {
    const char* path;
    const char* name;
    const char* dir;
};

TEST(Paths, FileNameAndDirectorySplitAtTheLastSeparator)
{
    const FileNameCase cases[] = {
        {"/home/q3/condump.txt", "condump.txt", "/home/q3/"},
        {"condump.txt", "condump.txt", ""},
        {"/home/q3/", "", "/home/q3/"},
        {"/", "", "/"},
        {"", "", ""},
        // ":" is an ordinary character on POSIX, not a drive mark.
        {"/dumps/c:chat.txt", "c:chat.txt", "/dumps/"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ExtractFileName(c.path), c.name) << c.path;
        EXPECT_EQ(ExtractFilePath(c.path), c.dir) << c.path;
    }
}

TEST(Paths, ChangeFileExtReplacesFromTheLastDotOfTheFileName)
{
    EXPECT_EQ(ChangeFileExt("/d/condump.txt", ".htm"), "/d/condump.htm");
    EXPECT_EQ(ChangeFileExt("/d/chat.2002.dmp", ".htm"), "/d/chat.2002.htm");
    EXPECT_EQ(ChangeFileExt("/d/noext", ".htm"), "/d/noext.htm");
    // A dot in a directory name is not an extension.
    EXPECT_EQ(ChangeFileExt("/d.v2/noext", ".htm"), "/d.v2/noext.htm");
    EXPECT_EQ(ChangeFileExt("/d/.hidden", ".htm"), "/d/.htm");
}

TEST(Paths, TrailingSeparatorIsAddedOnce)
{
    EXPECT_EQ(IncludeTrailingPathDelimiter("/out"), "/out/");
    EXPECT_EQ(IncludeTrailingPathDelimiter("/out/"), "/out/");
    EXPECT_EQ(IncludeTrailingPathDelimiter(""), "/");
}

TEST(Paths, ComparedAsTheFileSystemComparesThem)
{
    struct TCase {
        const char* A;
        const char* B;
        int Order; // where the file system tells case apart
    };
    const std::vector<TCase> cases = {
        {"/d/chat.txt", "/d/chat.txt", 0},
        {"/d/Chat.txt", "/d/chat.txt", -1}, // the same text ignoring case: ordered by bytes
        {"/d/chat.txt", "/d/CHAT.TXT", 1},
        {"/d/a.txt", "/d/B.txt", -1},       // otherwise ignoring case
        {"/d/b.txt", "/d/A.txt", 1},
    };
    for (const TCase& c : cases) {
        bool sameText = CompareTextLocale(c.A, c.B) == 0;
        int order = ComparePaths(c.A, c.B);
        EXPECT_EQ(order, (PathsIgnoreCase && sameText) ? 0 : c.Order) << c.A << " " << c.B;
        EXPECT_EQ(SamePath(c.A, c.B), order == 0) << c.A << " " << c.B;
        EXPECT_EQ(ComparePaths(c.B, c.A), -order) << c.A << " " << c.B;
    }
}

TEST(Paths, ExecutablePathNamesThisTestProgram)
{
    std::string exe = ExecutablePath();
    ASSERT_FALSE(exe.empty());
    EXPECT_EQ(ExtractFileName(exe), "velmora_platform_tests");
}

class ProgramDirectoryTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        const char* old = std::getenv("XDG_CONFIG_HOME");
        FOld = old ? std::optional<std::string>(old) : std::nullopt;
        setenv("XDG_CONFIG_HOME", (FTemp.Path() + "config").c_str(), 1);
    }
    void TearDown() override
    {
        if (FOld)
            setenv("XDG_CONFIG_HOME", FOld->c_str(), 1);
        else
            unsetenv("XDG_CONFIG_HOME");
    }
    test::TempDir FTemp;
    std::optional<std::string> FOld;
};

TEST_F(ProgramDirectoryTest, WritableExecutableDirectoryIsUsed)
{
    EXPECT_EQ(ProgramDirectory(FTemp.Path() + "."), FTemp.Path() + "./");
    EXPECT_EQ(ProgramDirectory(FTemp.Path()), FTemp.Path());
}

TEST_F(ProgramDirectoryTest, UnusableExecutableDirectoryFallsBackToThePerUserDirectory)
{
    // A "directory" that runs through a regular file cannot be written, even as root.
    std::string file = FTemp.Write("plain-file", "x");
    std::string expected = FTemp.Path() + "config/velmora/";
    EXPECT_EQ(ProgramDirectory(file + "/bin"), expected);
    EXPECT_EQ(ProgramDirectory(""), expected);
    EXPECT_TRUE(std::filesystem::is_directory(expected)) << "the per-user directory is created";
}

} // namespace
} // namespace velmora
