// Whole-file reads, writes that never leave a half-written file, and copies
// that never copy a file onto itself.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "platform/UFiles.h"
#include "support/TempDir.h"

namespace velmora {
namespace {

namespace fs = std::filesystem;
using test::TempDir;

int FilesIn(const std::string& dir)
{
    int n = 0;
    for ([[maybe_unused]] const auto& entry : fs::directory_iterator(dir))
        ++n;
    return n;
}

TEST(Files, ReadWholeFileKeepsEveryByte)
{
    TempDir dir;
    std::string bytes("a\r\nb\0c\xff\n", 8);
    std::string contents = "stale";
    ASSERT_TRUE(ReadWholeFile(dir.Write("dump.txt", bytes), contents));
    EXPECT_EQ(contents, bytes);

    EXPECT_FALSE(ReadWholeFile(dir.File("missing.txt"), contents));
    EXPECT_TRUE(contents.empty());
    EXPECT_FALSE(ReadWholeFile(dir.Path(), contents)) << "a directory is not a file";
}

TEST(Files, FileExistsOnlyForRegularFiles)
{
    TempDir dir;
    EXPECT_TRUE(FileExists(dir.Write("a.txt", "")));
    EXPECT_FALSE(FileExists(dir.File("b.txt")));
    EXPECT_FALSE(FileExists(dir.Path()));
    EXPECT_FALSE(FileExists(""));
}

TEST(Files, AtomicWriteReplacesTheTargetAndLeavesNoTemporaryFile)
{
    TempDir dir;
    std::string target = dir.Write("page.htm", "old");
    ASSERT_TRUE(WriteFileAtomically(target, "new content"));
    EXPECT_EQ(TempDir::Read(target), "new content");
    EXPECT_EQ(FilesIn(dir.Path()), 1);
}

#ifndef _WIN32 // symbolic links need a privilege on Windows
TEST(Files, WriteThroughALinkReplacesItsTargetAndKeepsTheLink)
{
    TempDir dir;
    fs::create_directory(dir.File("real"));
    std::string target = dir.Write("real/page.htm", "old");
    fs::create_symlink("real/page.htm", dir.File("relative.htm"));
    fs::create_symlink(dir.File("relative.htm"), dir.File("chain.htm"));
    fs::create_symlink("real/new.htm", dir.File("dangling.htm"));

    ASSERT_TRUE(WriteFileAtomically(dir.File("chain.htm"), "new"));
    EXPECT_EQ(TempDir::Read(target), "new");
    EXPECT_TRUE(fs::is_symlink(dir.File("chain.htm")) && fs::is_symlink(dir.File("relative.htm")));
    ASSERT_TRUE(WriteFileAtomically(dir.File("dangling.htm"), "made"));
    EXPECT_EQ(TempDir::Read(dir.File("real/new.htm")), "made");
    EXPECT_TRUE(fs::is_symlink(dir.File("dangling.htm")));
}
#endif

TEST(Files, FailedWriteLeavesTheOldFileWhole)
{
    TempDir dir;
    std::string file = dir.Write("plain-file", "x");
    EXPECT_FALSE(WriteFileAtomically(file + "/page.htm", "data")) << "path runs through a regular file";
    EXPECT_FALSE(WriteFileAtomically(dir.File("no-such-dir/page.htm"), "data"));

    // The rename cannot replace a directory: the directory and its content stay.
    fs::create_directory(dir.File("taken"));
    dir.Write("taken/inside.txt", "keep");
    EXPECT_FALSE(WriteFileAtomically(dir.File("taken"), "data"));
    EXPECT_EQ(TempDir::Read(dir.File("taken/inside.txt")), "keep");
    EXPECT_EQ(FilesIn(dir.Path()), 2) << "no temporary file is left behind";
}

TEST(Files, LongestFileNameCanBeSavedAndKeepsItsPermissions)
{
    TempDir dir;
    std::string target = dir.Write(std::string(251, 'n') + ".htm", "old");
#ifndef _WIN32 // Windows keeps no such permission bits
    fs::permissions(target, fs::perms::owner_read | fs::perms::owner_write);
#endif
    ASSERT_TRUE(WriteFileAtomically(target, "new"));
    EXPECT_EQ(TempDir::Read(target), "new");
#ifndef _WIN32
    EXPECT_EQ(fs::status(target).permissions(), fs::perms::owner_read | fs::perms::owner_write);
#endif
    EXPECT_EQ(FilesIn(dir.Path()), 1);
}

#ifdef __linux__
TEST(Files, OpenWriterLeavesNoNamedFileToBeLeftBehind)
{
    // A process killed while writing leaves what the directory holds now.
    TempDir dir;
    TAtomicFileWriter writer(dir.File("page.htm"));
    ASSERT_TRUE(writer.Ok());
    writer.Write("half a page");
    EXPECT_EQ(FilesIn(dir.Path()), 0);
    ASSERT_TRUE(writer.Commit());
    EXPECT_EQ(TempDir::Read(dir.File("page.htm")), "half a page");
}
#endif

TEST(Files, UncommittedWriterLeavesTargetUntouched)
{
    TempDir dir;
    std::string target = dir.Write("page.htm", "old");
    {
        TAtomicFileWriter writer(target);
        ASSERT_TRUE(writer.Ok());
        writer.Write("half a page");
    }
    EXPECT_EQ(TempDir::Read(target), "old");
    EXPECT_EQ(FilesIn(dir.Path()), 1);
}

TEST(Files, CopyReplacesTargetButNeverCopiesAFileOntoItself)
{
    TempDir dir;
    std::string source = dir.Write("red.gif", "GIF89a-red");
    std::string target = dir.Write("copy.gif", "older");
    ASSERT_TRUE(CopyFileAtomically(source, target));
    EXPECT_EQ(TempDir::Read(target), "GIF89a-red");

    EXPECT_TRUE(CopyFileAtomically(source, source));
    EXPECT_EQ(TempDir::Read(source), "GIF89a-red");

#ifndef _WIN32 // a symbolic link needs a privilege on Windows
    fs::create_symlink(source, dir.File("link.gif"));
    EXPECT_TRUE(CopyFileAtomically(source, dir.File("link.gif")));
    EXPECT_EQ(TempDir::Read(source), "GIF89a-red") << "same file through a link";
    EXPECT_TRUE(fs::is_symlink(dir.File("link.gif")));
#endif

    EXPECT_FALSE(CopyFileAtomically(dir.File("missing.gif"), target));
    EXPECT_EQ(TempDir::Read(target), "GIF89a-red");
}

} // namespace
} // namespace velmora
