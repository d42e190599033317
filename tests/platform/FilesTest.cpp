// Whole-file reads, writes that never leave a half-written file, and copies
// that never copy a file onto itself.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#ifndef _WIN32
#include <sys/stat.h>
#include <unistd.h>
#endif

#include "platform/UFileBlocks.h"
#include "platform/UFiles.h"
#include "support/ChildProcess.h"
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

TEST(Files, RewriteReplacesWrittenBytes_AndFailsTheWriterPastThem)
{
    TempDir dir;
    {
        TAtomicFileWriter writer(dir.File("page.htm"));
        writer.Write("head ....; body");
        writer.Rewrite(5, "1234");
        writer.Write("; end");
        ASSERT_TRUE(writer.Commit());
        EXPECT_EQ(TempDir::Read(dir.File("page.htm")), "head 1234; body; end");
    }
    TAtomicFileWriter writer(dir.File("other.htm"));
    writer.Write("short");
    writer.Rewrite(3, "long");
    EXPECT_FALSE(writer.Ok());
    EXPECT_FALSE(writer.Commit());
    EXPECT_EQ(FilesIn(dir.Path()), 1);
}

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

#ifndef _WIN32 // named pipes, devices and permission bits are POSIX
TEST(Files, WhatIsNoRegularFileIsRefusedWithoutWaitingForIt)
{
    // A named pipe holds an ordinary open until someone writes into it; a
    // device may never end. The reads run in a child that is ended if it waits.
    TempDir dir;
    const std::string pipe = dir.File("pipe.txt");
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    for (const std::string& path : {pipe, std::string("/dev/null")}) {
        int status = test::RunInChild([&] {
            std::string contents;
            TFileBlockReader blocks;
            bool refused = !OpenForReading(path) && !ReadWholeFile(path, contents) && !blocks.Open(path) &&
                           !CopyFileAtomically(path, dir.File("copy.gif"));
            return refused ? 0 : 1;
        });
        EXPECT_EQ(status, 0) << path << (status < 0 ? ": waited" : ": read");
    }
    EXPECT_FALSE(fs::exists(dir.File("copy.gif")));
}

TEST(Files, CopyIsReadableByNoMoreThanItsSource)
{
    // A profile can name any file of the user's as an image to copy.
    TempDir dir;
    const mode_t oldMask = ::umask(022);
    struct Case {
        unsigned Source, Copy;
    };
    const std::vector<Case> cases = {
        {0600, 0600}, // a private key stays private
        {0640, 0640},
        {0666, 0644}, // the umask still applies
        {0400, 0400},
    };
    // An existing copy's wider permissions are not kept either.
    const std::string target = dir.Write("copy.gif", "older");
    fs::permissions(target, static_cast<fs::perms>(0644));
    for (const Case& c : cases) {
        const std::string source = dir.Write("source-" + std::to_string(c.Source), "secret");
        fs::permissions(source, static_cast<fs::perms>(c.Source));
        ASSERT_TRUE(CopyFileAtomically(source, target)) << std::oct << c.Source;
        EXPECT_EQ(fs::status(target).permissions(), static_cast<fs::perms>(c.Copy)) << std::oct << c.Source;
    }
    ::umask(oldMask);
    EXPECT_EQ(TempDir::Read(target), "secret");
}

TEST(Files, SaveRemovesTemporaryFilesOfEndedProcessesOnly)
{
    // What a writer killed before it could rename its file leaves behind.
    TempDir dir;
    const std::string ended = std::to_string(test::EndedProcessId());
    const std::string stale = dir.Write(".velmora-" + ended + "-0.tmp", "2 GB of a killed run");
    std::vector<std::string> kept = {
        ".velmora-" + std::to_string(::getpid()) + "-7.tmp", // this process's own
        ".velmora-" + std::to_string(::getppid()) + "-0.tmp", // another running process's
        ".velmora-0" + ended + "-0.tmp",                     // names the program never makes
        ".velmora-" + ended + ".tmp",
        ".velmora-" + ended + "-x.tmp",
        "velmora-" + ended + "-0.tmp",
        "notes.tmp",
    };
    for (const std::string& name : kept)
        dir.Write(name, "kept");
    // Another user's file is left to that user (only root can make one here).
    if (::geteuid() == 0) {
        kept.push_back(".velmora-" + ended + "-1.tmp");
        ASSERT_EQ(::chown(dir.Write(kept.back(), "kept").c_str(), 65534, 65534), 0);
    }
    ASSERT_TRUE(WriteFileAtomically(dir.File("profile.cfg"), "profile"));
    EXPECT_FALSE(fs::exists(stale));
    for (const std::string& name : kept)
        EXPECT_TRUE(fs::exists(dir.File(name))) << name;
}
#endif

} // namespace
} // namespace velmora
