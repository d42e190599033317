// File-name helpers and the choice of the program directory.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "platform/UPaths.h"
#include "support/ScopedEnv.h"
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
#ifdef _WIN32
        {"c:\\q3\\condump.txt", "condump.txt", "c:\\q3\\"},
        {"c:condump.txt", "condump.txt", "c:"},
        {"c:\\q3/mixed.txt", "mixed.txt", "c:\\q3/"},
#else
        // ":" is an ordinary character on POSIX, not a drive mark.
        {"/dumps/c:chat.txt", "c:chat.txt", "/dumps/"},
#endif
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
    EXPECT_EQ(IncludeTrailingPathDelimiter("/out"), std::string("/out") + PathDelim);
    EXPECT_EQ(IncludeTrailingPathDelimiter("/out/"), "/out/");
    EXPECT_EQ(IncludeTrailingPathDelimiter(""), std::string(1, PathDelim));
}

TEST(Paths, ExecutablePathNamesThisTestProgram)
{
    std::string exe = ExecutablePath();
    ASSERT_FALSE(exe.empty());
#ifdef _WIN32
    EXPECT_EQ(ExtractFileName(exe), "velmora_platform_tests.exe");
#else
    EXPECT_EQ(ExtractFileName(exe), "velmora_platform_tests");
#endif
}

// The per-user directory lives where the environment says, here inside the
// test's temporary directory.
class ProgramDirectoryTest : public ::testing::Test {
protected:
    test::TempDir FTemp;
#ifdef _WIN32
    test::ScopedEnv FConfig{"APPDATA", FTemp.Path() + "config"};
    const std::string FPerUser = FTemp.Path() + "config\\Velmora\\";
#else
    test::ScopedEnv FConfig{"XDG_CONFIG_HOME", FTemp.Path() + "config"};
    const std::string FPerUser = FTemp.Path() + "config/velmora/";
#endif
};

TEST_F(ProgramDirectoryTest, WritableExecutableDirectoryIsUsed)
{
    EXPECT_EQ(ProgramDirectory(FTemp.Path() + "."), FTemp.Path() + "." + PathDelim);
    EXPECT_EQ(ProgramDirectory(FTemp.Path()), FTemp.Path());
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(FTemp.Path()), {}), 0) << "nothing is left behind";
}

TEST_F(ProgramDirectoryTest, UnusableExecutableDirectoryFallsBackToThePerUserDirectory)
{
    // A "directory" that runs through a regular file cannot be written, even as root.
    std::string file = FTemp.Write("plain-file", "x");
    const std::string& expected = FPerUser;
    EXPECT_EQ(ProgramDirectory(file + "/bin"), expected);
    EXPECT_EQ(ProgramDirectory(""), expected);
    EXPECT_TRUE(std::filesystem::is_directory(expected)) << "the per-user directory is created";
}

} // namespace
} // namespace velmora
