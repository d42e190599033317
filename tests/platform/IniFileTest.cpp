// The INI file: case-insensitive look-up, values as users and other tools write
// them, rewrites that keep the rest of the file, and writes that fail loudly
// without harming the file.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#ifndef _WIN32
#include <sys/wait.h>
#include <unistd.h>
#endif

#include "platform/UIniFile.h"
#include "shared/UGenDeclarations.h"
#include "support/TempDir.h"

namespace velmora {
namespace {

namespace fs = std::filesystem;
using test::TempDir;
using namespace std::string_literals;

#ifdef _WIN32
const std::string NewLine = "\r\n";
#else
const std::string NewLine = "\n";
#endif

// Expects the write to raise the program's error naming the file.
template <typename F>
void ExpectWriteError(const std::string& path, F write)
{
    try {
        write();
        ADD_FAILURE() << "no error raised";
    } catch (const EGenException& e) {
        EXPECT_EQ(std::string(e.what()), "Unable to write to " + path);
    }
}

TEST(IniFile, SectionsAndKeysMatchWithoutRegardToCase)
{
    TempDir dir;
    std::string path = dir.Write("s.ini", "[Main Window Placement]\nMinMaxPos(1024x768)=1,2,3,4\n");
    TIniFile ini(path);
    EXPECT_EQ(ini.ReadString("main window PLACEMENT", "minmaxpos(1024X768)", "-"), "1,2,3,4");
    EXPECT_TRUE(ini.SectionExists("MAIN WINDOW PLACEMENT"));

    // A write in another case replaces the line and keeps the file's spelling.
    ini.WriteString("MAIN window placement", "MINMAXPOS(1024x768)", "5,6,7,8");
    EXPECT_EQ(TempDir::Read(path), "[Main Window Placement]\nMinMaxPos(1024x768)=5,6,7,8\n");
}

TEST(IniFile, RewriteKeepsCommentsBlankLinesAndOtherLines)
{
    TempDir dir;
    std::string path = dir.Write("s.ini",
                                 "; settings of the program\n"
                                 "\n"
                                 "[Profiles]\n"
                                 "  ; the most recent first\n"
                                 "Profile #0 = /a.cfg\n"
                                 "a line without equals\n"
                                 "\n"
                                 "; next comes the switch\n"
                                 "[Defaults storage]\n"
                                 "Use ini defaults=0\n");
    TIniFile ini(path);
    ini.WriteString("Profiles", "Profile #0", "/b.cfg");
    ini.WriteString("Profiles", "Profile #1", "/a.cfg");
    ini.WriteInteger("Defaults", "HTML Background", 4194368);
    EXPECT_EQ(TempDir::Read(path),
              "; settings of the program\n"
              "\n"
              "[Profiles]\n"
              "  ; the most recent first\n"
              "Profile #0=/b.cfg\n"
              "Profile #1=/a.cfg\n"
              "a line without equals\n"
              "\n"
              "; next comes the switch\n"
              "[Defaults storage]\n"
              "Use ini defaults=0\n"
              "\n"
              "[Defaults]\n"
              "HTML Background=4194368\n");
}

TEST(IniFile, RewriteKeepsTheFilesLineBreaksAndNewFilesUseThePlatforms)
{
    TempDir dir;
    std::string crlf = dir.Write("crlf.ini", "[A]\r\nx=1\r\n; note\r\n");
    TIniFile(crlf).WriteString("B", "y", "2");
    EXPECT_EQ(TempDir::Read(crlf), "[A]\r\nx=1\r\n; note\r\n\r\n[B]\r\ny=2\r\n");

    // A file with no line break at its end, or mixed ones, comes out consistent.
    std::string lf = dir.Write("lf.ini", "[A]\nx=1\r\ny=2");
    TIniFile(lf).WriteString("a", "z", "3");
    EXPECT_EQ(TempDir::Read(lf), "[A]\nx=1\ny=2\nz=3\n");

    std::string fresh = dir.File("new.ini");
    TIniFile(fresh).WriteString("A", "x", "1");
    EXPECT_EQ(TempDir::Read(fresh), "[A]" + NewLine + "x=1" + NewLine);
}

TEST(IniFile, ValuesAreTrimmedAndLoseOnePairOfQuotes)
{
    struct Case {
        const char* Line;
        const char* Expected;
    };
    const std::vector<Case> cases = {
        {"k=plain", "plain"},
        {"  k \t=  spaced value \t", "spaced value"},
        {"k=\"  quoted  \"", "  quoted  "},
        {"k='single'", "single"},
        {"k=\"\"twice\"\"", "\"twice\""},
        {"k=\"mixed'", "\"mixed'"},
        {"k=\"", "\""},
        {"k=\"\"", ""},
        {"k=", ""},
        {"k=a=b", "a=b"},
        {"k=C:\\dir\\Default.cfg", "C:\\dir\\Default.cfg"},
    };
    TempDir dir;
    for (const Case& c : cases) {
        TIniFile ini(dir.Write("v.ini", std::string("[S]\n") + c.Line + "\n"));
        EXPECT_EQ(ini.ReadString("S", "k", "default"), c.Expected) << c.Line;
    }
}

TEST(IniFile, EveryWrittenValueReadsBackAsWritten)
{
    const std::vector<std::string> values = {
        "/home/user/My Profiles/q3.cfg", " leading", "trailing\t", "\"quoted\"", "'single'", "\"", "", "a;b#c",
        std::string("nul\0byte", 8),
    };
    TempDir dir;
    TIniFile ini(dir.File("v.ini"));
    for (const std::string& v : values) {
        ini.WriteString("Profiles", "Profile #0", v);
        EXPECT_EQ(ini.ReadString("Profiles", "Profile #0", "default"), v) << v;
    }
}

TEST(IniFile, NamesAreStoredAsGiven)
{
    TempDir dir;
    std::string path = dir.File("s.ini");
    TIniFile ini(path);
    ini.WriteString("Main Window Placement.SrcFilesList_Columns", "Item0_Width", "189");
    ini.WriteString("Main Window Placement", "NormPos(1024x768)", "1,2,3,4");
    ini.WriteString("Profiles", "Profile #0", "/a.cfg");
    EXPECT_EQ(TempDir::Read(path), "[Main Window Placement.SrcFilesList_Columns]" + NewLine + "Item0_Width=189" +
                                       NewLine + NewLine + "[Main Window Placement]" + NewLine +
                                       "NormPos(1024x768)=1,2,3,4" + NewLine + NewLine + "[Profiles]" + NewLine +
                                       "Profile #0=/a.cfg" + NewLine);
    EXPECT_EQ(ini.ReadString("main window placement.srcfileslist_columns", "ITEM0_WIDTH", ""), "189");
}

TEST(IniFile, IntegersAreDecimalOrHexadecimalElseTheDefault)
{
    struct Case {
        const char* Value;
        int Expected;
    };
    const int def = -77;
    const std::vector<Case> cases = {
        {"4194368", 4194368},
        {"  42  ", 42},
        {"\"42\"", 42},
        {"+7", 7},
        {"-5", -5},
        {"007", 7},
        {"2147483647", 2147483647},
        {"-2147483648", -2147483647 - 1},
        {"$1F", 31},
        {"0x1f", 31},
        {"0XFF0000", 0xFF0000},
        {"-$10", -16},
        {"$FFFFFFFF", -1}, // a 32-bit colour pattern
        {"0x8000000F", static_cast<int>(0x8000000Fu - 0x100000000ull)},
        {"2147483648", def},
        {"-2147483649", def},
        {"99999999999999999999", def},
        {"$100000000", def},
        {"-0xFFFFFFFF", def},
        {"12abc", def},
        {"1 2", def},
        {"1.5", def},
        {"abc", def},
        {"$", def},
        {"0x", def},
        {"-", def},
        {"$G1", def},
        {"", def},
    };
    TempDir dir;
    for (const Case& c : cases) {
        TIniFile ini(dir.Write("n.ini", std::string("[Defaults]\nHTML Background=") + c.Value + "\n"));
        EXPECT_EQ(ini.ReadInteger("Defaults", "HTML Background", def), c.Expected) << c.Value;
    }
    TIniFile ini(dir.File("w.ini"));
    ini.WriteInteger("Defaults", "Color", -2147483633);
    EXPECT_EQ(ini.ReadString("Defaults", "Color", ""), "-2147483633");
    EXPECT_EQ(ini.ReadInteger("Defaults", "Missing", def), def);
}

TEST(IniFile, SectionExistsOnlyWithAKey)
{
    TempDir dir;
    TIniFile ini(dir.Write("s.ini", "[Empty]\n; only a comment\n[Profiles]\nProfile #3=/x.cfg\n"));
    EXPECT_TRUE(ini.SectionExists("profiles"));
    EXPECT_FALSE(ini.SectionExists("Empty"));
    EXPECT_FALSE(ini.SectionExists("Defaults"));
}

TEST(IniFile, EraseSectionLeavesTheOthers)
{
    TempDir dir;
    std::string path = dir.Write("s.ini",
                                 "[Profiles]\nProfile #0=/a.cfg\n\n"
                                 "[Defaults storage]\nUse ini defaults=1\n\n"
                                 "[PROFILES]\nProfile #7=/b.cfg\n; gone with its section\n"
                                 "[Defaults]\nHTML Background=1\n");
    TIniFile ini(path);
    ini.EraseSection("profiles");
    EXPECT_EQ(TempDir::Read(path), "[Defaults storage]\nUse ini defaults=1\n\n[Defaults]\nHTML Background=1\n");
    EXPECT_FALSE(ini.SectionExists("Profiles"));
    EXPECT_EQ(ini.ReadInteger("Defaults storage", "Use ini defaults", 0), 1);

    std::string before = TempDir::Read(path);
    ini.EraseSection("Not There");
    EXPECT_EQ(TempDir::Read(path), before);
}

TEST(IniFile, MissingFileReadsAsEmptyAndTheFirstWriteCreatesIt)
{
    TempDir dir;
    std::string path = dir.File("velmora.ini");
    TIniFile ini(path);
    EXPECT_EQ(ini.ReadString("Profiles", "Profile #0", "none"), "none");
    EXPECT_EQ(ini.ReadInteger("Defaults storage", "Use ini defaults", 3), 3);
    EXPECT_FALSE(ini.SectionExists("Profiles"));
    ini.EraseSection("Profiles");
    EXPECT_FALSE(fs::exists(path)) << "erasing nothing creates no file";

    ini.WriteInteger("Defaults storage", "Use ini defaults", 0);
    EXPECT_EQ(TempDir::Read(path), "[Defaults storage]" + NewLine + "Use ini defaults=0" + NewLine);
}

TEST(IniFile, OddLinesAreKeptAndIgnored)
{
    TempDir dir;
    std::string bytes("\xEF\xBB\xBF[Profiles]\n"
                      "[no closing bracket\n"
                      "=value without key\n"
                      "just text\n"
                      "Profile #0=/a\0b.cfg\n"
                      "Profile #1=/c.cfg\n"
                      "[Nested [brackets] here]\n"
                      "x=1\n"s);
    std::string path = dir.Write("s.ini", bytes);
    TIniFile ini(path);
    EXPECT_EQ(ini.ReadString("Profiles", "Profile #0", ""), std::string("/a\0b.cfg", 8));
    EXPECT_EQ(ini.ReadString("Profiles", "Profile #1", ""), "/c.cfg");
    EXPECT_EQ(ini.ReadString("Profiles", "", "none"), "none");
    EXPECT_EQ(ini.ReadInteger("Nested [brackets] here", "x", 0), 1);

    ini.WriteString("Profiles", "Profile #1", "/d.cfg");
    std::string expected = bytes;
    expected.replace(expected.find("/c.cfg"), 6, "/d.cfg");
    EXPECT_EQ(TempDir::Read(path), expected) << "the byte order mark and every odd line stay";
}

TEST(IniFile, KeysAboveTheFirstSectionBelongToNone)
{
    TempDir dir;
    TIniFile ini(dir.Write("s.ini", "k=top\n[]\nk=unnamed\n"));
    EXPECT_EQ(ini.ReadString("", "k", ""), "unnamed");
    EXPECT_EQ(ini.ReadString("Profiles", "k", "none"), "none");
}

TEST(IniFile, FailingWriteRaisesAndLeavesNothingBehind)
{
    TempDir dir;
    dir.Write("afile", "plain file");
    std::string throughFile = dir.File("afile/settings.ini");
    TIniFile ini(throughFile);
    ExpectWriteError(throughFile, [&] { ini.WriteString("Profiles", "Profile #0", "/a.cfg"); });
    ExpectWriteError(throughFile, [&] { ini.WriteInteger("Defaults", "HTML Background", 1); });
    EXPECT_EQ(TempDir::Read(dir.File("afile")), "plain file");

    // A directory where the file should be stays a directory.
    fs::create_directory(dir.File("taken.ini"));
    fs::create_directory(dir.File("taken.ini/inside"));
    std::string taken = dir.File("taken.ini");
    ExpectWriteError(taken, [&] { TIniFile(taken).WriteString("Profiles", "Profile #0", "/a.cfg"); });
    EXPECT_TRUE(fs::is_directory(dir.File("taken.ini/inside")));
}

#ifndef _WIN32
TEST(IniFile, FileThatExistsButCannotBeReadIsNotReplaced)
{
    // Reading is refused by the permissions; root reads anything, so the
    // write runs in a child process as an ordinary user.
    TempDir dir;
    fs::permissions(dir.Path(), fs::perms::all);
    std::string path = dir.Write("settings.ini", "[Profiles]\nProfile #0=/keep.cfg\n");
    fs::permissions(path, fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write);
    pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        if (geteuid() == 0 && setuid(65534) != 0)
            _exit(3);
        try {
            TIniFile(path).WriteString("Defaults storage", "Use ini defaults", "1");
        } catch (const EGenException&) {
            _exit(0);
        }
        _exit(1);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0) << "1: no error raised; 3: cannot become an ordinary user";
    fs::permissions(path, fs::perms::owner_read | fs::perms::owner_write);
    EXPECT_EQ(TempDir::Read(path), "[Profiles]\nProfile #0=/keep.cfg\n");
}
#endif

TEST(IniFile, NamesAndValuesThatWouldNotReadBackAreRefused)
{
    struct Case {
        std::string Section, Key, Value;
    };
    const std::vector<Case> cases = {
        {"Profiles", "Profile #0", "/a.cfg\n[Defaults]"},
        {"Profiles", "Profile #0", "carriage\rreturn"},
        {"Profiles", "a=b", "v"},
        {"Profiles", "; comment", "v"},
        {"Profiles", "[x", "v"},
        {"Profiles", "  ", "v"},
        {"Pro\nfiles", "k", "v"},
    };
    TempDir dir;
    const std::string original = "[Profiles]\r\nProfile #0=/old.cfg\r\n";
    std::string path = dir.Write("s.ini", original);
    TIniFile ini(path);
    for (const Case& c : cases) {
        ExpectWriteError(path, [&] { ini.WriteString(c.Section, c.Key, c.Value); });
        EXPECT_EQ(TempDir::Read(path), original) << c.Key << "=" << c.Value;
    }
}

} // namespace
} // namespace velmora
