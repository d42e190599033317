// File access with the guarantees the program gives its users: whole-file
// reads, and writes that never leave a half-written file behind.
#pragma once

#include <cstdint>
#include <cstdio>
#include <set>
#include <string>
#include <string_view>
#include <utility>

namespace velmora {

// True when a regular file (or a link to one) exists at the path.
bool FileExists(const std::string& path);
// True when both paths name the same existing file, through links included.
bool SameFile(const std::string& a, const std::string& b);
// Files as the file system identifies them: a path names a member when it
// reaches the same file as a member did when it was added, through a link,
// another spelling or a hard link included.
class TFileSet {
public:
    // A path where no file exists adds nothing.
    void Add(const std::string& path);
    bool Contains(const std::string& path) const;
    bool Empty() const { return FIds.empty(); }

private:
    std::set<std::pair<std::uint64_t, std::uint64_t>> FIds; // device or volume, file number
};

// Reads the whole file; false when it cannot be opened or read.
bool ReadWholeFile(const std::string& path, std::string& contents);
// Opens a file for reading in binary mode; null when it cannot be opened.
// Paths are UTF-8: on Windows the name goes to the system as UTF-16.
std::FILE* OpenForReading(const std::string& path);

// Writes a file through a temporary file in the target's directory that is
// renamed over the target on Commit. Where the system allows, the temporary
// file has no name until Commit, so a killed process leaves nothing behind. A target that is a symbolic link is
// written through: the file it points to is replaced and the link stays. Until then, and whenever a step fails,
// the target keeps its old content; an uncommitted temporary file is removed.
class TAtomicFileWriter {
public:
    explicit TAtomicFileWriter(std::string target);
    ~TAtomicFileWriter();
    TAtomicFileWriter(const TAtomicFileWriter&) = delete;
    TAtomicFileWriter& operator=(const TAtomicFileWriter&) = delete;

    // False once any step has failed; the writer then ignores further writes.
    bool Ok() const { return FFile != nullptr; }
    void Write(std::string_view bytes);
    // Flushes, closes and renames; true when the target now holds what was written.
    bool Commit();

private:
    void Discard();
    void StartWriteBack();

    std::string FTarget;    // links followed
    std::string FTempPath;  // empty while the file has no name
    std::FILE* FFile = nullptr;
    bool FUnnamed = false;  // created without a name, named at Commit
    int FTempSlot = -1;     // where RemoveTemporaryFiles finds FTempPath
    std::uint64_t FWritten = 0;     // bytes written so far
    std::uint64_t FWrittenBack = 0; // of which handed to the disk early
};

// Removes the temporary files of the writers that are open now, so that a
// program ended by a signal leaves none behind. Safe in a signal handler.
void RemoveTemporaryFiles();

// Writes the whole content through TAtomicFileWriter.
bool WriteFileAtomically(const std::string& path, std::string_view contents);
// Copies source over target through TAtomicFileWriter. A file is never copied
// onto itself: when both name the same file nothing happens and the result is true.
bool CopyFileAtomically(const std::string& source, const std::string& target);

} // namespace velmora
