// File-name helpers and the choice of the program directory.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
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
#ifdef _WIN32
    EXPECT_EQ(ExtractFileName(exe), "velmora_platform_tests.exe");
#else
    EXPECT_EQ(ExtractFileName(exe), "velmora_platform_tests");
#endif
}

// The folders a program uses, with an environment of its own inside a
// temporary directory: the home is FTemp/home, the configuration FTemp/config.
class ProgramDirectoryTest : public ::testing::Test {
protected:
    std::string Env(const char* name) const
    {
        auto it = FEnv.find(name);
        return it == FEnv.end() ? std::string() : it->second;
    }
    TEnvironment Environment() const
    {
        return [this](const char* name) { return Env(name); };
    }
    // Makes the folder and returns it as the program spells it.
    std::string MakeDir(const std::string& name) const
    {
        std::filesystem::path dir = std::filesystem::path(FTemp.File(name)).make_preferred();
        std::filesystem::create_directories(dir);
        return IncludeTrailingPathDelimiter(dir.string());
    }
    test::TempDir FTemp;
    std::map<std::string, std::string> FEnv{{"HOME", FTemp.File("home")},
                                             {"USERPROFILE", FTemp.File("home")},
                                             {"XDG_CONFIG_HOME", FTemp.File("config")},
                                             {"APPDATA", FTemp.File("config")}};
#ifdef _WIN32
    const std::string FPerUser = FTemp.Path() + "config\\Velmora\\";
#else
    const std::string FPerUser = FTemp.Path() + "config/velmora/";
#endif
};

TEST_F(ProgramDirectoryTest, WritableExecutableDirectoryIsUsedForEverything)
{
    EXPECT_EQ(ProgramDirectory(FTemp.Path() + ".", Environment()), FTemp.Path() + "." + PathDelim);
    EXPECT_EQ(ProgramDirectory(FTemp.Path(), Environment()), FTemp.Path());
    EXPECT_EQ(UserFilesDirectory(FTemp.Path(), Environment()), FTemp.Path());
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(FTemp.Path()), {}), 0) << "nothing is left behind";
}

TEST_F(ProgramDirectoryTest, UnusableExecutableDirectoryFallsBackToThePerUserDirectory)
{
    // A "directory" that runs through a regular file cannot be written, even as root.
    std::string file = FTemp.Write("plain-file", "x");
    EXPECT_EQ(ProgramDirectory(file + "/bin", Environment()), FPerUser);
    EXPECT_EQ(ProgramDirectory("", Environment()), FPerUser);
    EXPECT_TRUE(std::filesystem::is_directory(FPerUser)) << "the per-user directory is created";
    EXPECT_EQ(UserFilesDirectory("", Environment()), MakeDir("home"));
}

// Root may write into an installed program's folder; the desktop entry beside
// it still sends settings and pages to the user's folders.
TEST_F(ProgramDirectoryTest, InstalledProgramNeverKeepsFilesBesideItself)
{
    std::string bin = MakeDir("usr/bin");
    std::string entry = "usr/bin/" VELMORA_DESKTOP_ENTRY_FROM_BIN;
    MakeDir(ExtractFilePath(entry));
    FTemp.Write(entry, "[Desktop Entry]\n");
    std::string documents = MakeDir("home/Documents");

    EXPECT_EQ(ProgramDirectory(bin, Environment()), FPerUser);
    EXPECT_EQ(UserFilesDirectory(bin, Environment()), documents);
}

#ifndef _WIN32
TEST_F(ProgramDirectoryTest, PerUserDirectoryDefaultsToTheHomesConfigFolder)
{
    EXPECT_EQ(PerUserDirectory(Environment()), FPerUser);
    FEnv.erase("XDG_CONFIG_HOME");
    EXPECT_EQ(PerUserDirectory(Environment()), FTemp.Path() + "home/.config/velmora/");
}
#endif

TEST_F(ProgramDirectoryTest, DocumentsFolderIsTheUsersChoiceThenDocumentsThenHome)
{
    std::string home = MakeDir("home");
    EXPECT_EQ(DocumentsDirectory(Environment()), home) << "nothing configured, no Documents";
    std::string documents = MakeDir("home/Documents");
    EXPECT_EQ(DocumentsDirectory(Environment()), documents);
#ifndef _WIN32
    MakeDir("config");
    FTemp.Write("config/user-dirs.dirs", "XDG_DOCUMENTS_DIR=\"$HOME/Papers\"\n");
    EXPECT_EQ(DocumentsDirectory(Environment()), documents) << "a configured folder that is missing";
    std::string papers = MakeDir("home/Papers");
    EXPECT_EQ(DocumentsDirectory(Environment()), papers);
#endif
}

TEST(UserDirsDocuments, ReadsTheLastWellFormedAssignment)
{
    const struct {
        const char* text;
        const char* expected;
    } cases[] = {
        {"XDG_DOCUMENTS_DIR=\"$HOME/Documents\"\n", "/h/Documents"},
        {"# comment\nXDG_DESKTOP_DIR=\"$HOME/Desktop\"\n  XDG_DOCUMENTS_DIR=\"/srv/docs\"", "/srv/docs"},
        {"XDG_DOCUMENTS_DIR=\"$HOME/a\"\nXDG_DOCUMENTS_DIR=\"$HOME/b\"\n", "/h/b"},
        {"XDG_DOCUMENTS_DIR=\"$HOME\"\n", "/h"},
        {"XDG_DOCUMENTS_DIR=\"$HOME/say \\\"hi\\\"\"\n", "/h/say \"hi\""},
        // Malformed or relative values name nothing.
        {"XDG_DOCUMENTS_DIR=\"$HOME/open\n", ""},
        {"XDG_DOCUMENTS_DIR=$HOME/bare\n", ""},
        {"XDG_DOCUMENTS_DIR=\"docs\"\n", ""},
        {"XDG_DOCUMENTS_DIR=\"$HOMEWORK\"\n", ""},
        {"XDG_DOCUMENTS_DIR=\"\\", ""},
        {"XDG_DOCUMENTS_DIR=", ""},
        {"", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(UserDirsDocuments(c.text, "/h"), c.expected) << c.text;
}

} // namespace
} // namespace velmora
