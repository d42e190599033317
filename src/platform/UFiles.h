// File access with the guarantees the program gives its users: whole-file
// reads, and writes that never leave a half-written file behind.
#pragma once

#include <cstdint>
#include <cstdio>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <system_error>
#include <utility>

namespace velmora {

// True when a regular file (or a link to one) exists at the path.
bool FileExists(const std::string& path);
// Makes a directory and its missing parents. True when dir is a directory
// afterwards; created says whether this call made it. Otherwise error gives
// the system's reason (a file standing in its place: "Not a directory").
bool ForceDirectories(const std::string& dir, bool& created, std::error_code& error);
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

// Reads the whole file; false when it cannot be opened or read, or is no regular file.
bool ReadWholeFile(const std::string& path, std::string& contents);
// Opens a regular file for reading in binary mode; null when it cannot be
// opened or is something else (a directory, a named pipe, a device), which
// is refused without waiting for it. Paths are UTF-8: on Windows the name
// goes to the system as UTF-16.
std::FILE* OpenForReading(const std::string& path);

// What a save does with a symbolic link that stands at its target.
enum class TTargetLink {
    // The user's own files (profile, settings file), often linked on purpose:
    // the file the link points to is replaced and the link stays.
    Follow,
    // Files the program makes in an output folder (pages, image copies): the
    // link itself is replaced, so nothing outside the folder is written.
    Replace,
};

// Writes a file through a temporary file in the target's directory that is
// renamed over the target on Commit. Where the system allows, the temporary
// file has no name until Commit, so a killed process leaves nothing behind.
// Until then, and whenever a step fails, the target keeps its old content; an
// uncommitted temporary file is removed. The new file keeps an existing
// target's permissions, or is made with `mode` less the umask when one is
// given (POSIX permission bits; Windows has no such bits and ignores it).
class TAtomicFileWriter {
public:
    explicit TAtomicFileWriter(std::string target, TTargetLink link = TTargetLink::Follow,
                               std::optional<unsigned> mode = std::nullopt);
    ~TAtomicFileWriter();
    TAtomicFileWriter(const TAtomicFileWriter&) = delete;
    TAtomicFileWriter& operator=(const TAtomicFileWriter&) = delete;

    // False once any step has failed; the writer then ignores further writes.
    bool Ok() const { return FFile != nullptr; }
    void Write(std::string_view bytes);
    // Writes bytes again over some already written from offset on (a part of
    // the file that could only be filled in once the rest was written);
    // fails the writer when they reach past what was written.
    void Rewrite(std::uint64_t offset, std::string_view bytes);
    // Flushes, closes and renames; true when the target now holds what was written.
    bool Commit();
    // The system's reason for the first step that failed; empty while none has.
    std::error_code Error() const { return FError; }

private:
    void Discard();
    void Fail(std::error_code error);
    void StartWriteBack();

    std::string FTarget;    // links followed unless they are to be replaced
    TTargetLink FLink;
    std::optional<unsigned> FMode;
    std::error_code FError;
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

// Removes the temporary files that writers of processes no longer running
// left in dir (killed where their files had to have a name at once). Only
// files of this user whose process is gone are touched, never those of a
// process that is still writing. On Windows the owner is not looked at: the
// folder's permissions decide, and an open file cannot be removed.
void RemoveStaleTemporaryFiles(const std::string& dir);

// Writes the whole content through TAtomicFileWriter, following a link at the
// target, after removing stale temporary files from its folder. On failure
// the system's reason goes to error, when given.
bool WriteFileAtomically(const std::string& path, std::string_view contents, std::error_code* error = nullptr);
// Copies source over target through TAtomicFileWriter, replacing a link at
// the target. The copy gets no more permissions than the source has. A file
// is never copied onto itself: when both name the same file nothing happens
// and the result is true.
bool CopyFileAtomically(const std::string& source, const std::string& target);

} // namespace velmora
