// The conversion engine: runs a batch over the profile's file list, decides
// per file whether to write, writes each HTML page and reports a status per file.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "platform/UDialogs.h"
#include "platform/UFiles.h"
#include "shared/UGenDeclarations.h"

namespace velmora {

class IListView;
class IProgressBar;
class TAppOptions;
class THTMLOptions;
class TIOOptions;
struct TNameItem;
using TNamesList = std::vector<TNameItem>;

class TConvertClass {
public:
    // The overwrite question goes to messageBoxes (not owned; null counts as a
    // question closed unanswered); processMessages lets pending window messages
    // through (may be empty).
    TConvertClass(IMessageBoxes* messageBoxes, TProcessMessages processMessages);
    ~TConvertClass();
    TConvertClass(const TConvertClass&) = delete;
    TConvertClass& operator=(const TConvertClass&) = delete;

    // Null arguments leave the stored references unchanged.
    void SetControls(IProgressBar* totalBar, IProgressBar* fileBar, IListView* listView);
    void SetOptions(THTMLOptions* htmlOptions, TAppOptions* appOptions, TIOOptions* ioOptions, TNamesList* names);

    // Told of each output directory that a run made (what: "destination" or
    // "images"), before its first file.
    using TDirectoryCreated = std::function<void(const std::string& what, const std::string& dir)>;
    void SetOnDirectoryCreated(TDirectoryCreated notify) { FOnDirectoryCreated = std::move(notify); }

    // Asks a running conversion to stop at its next check.
    void Stop();
    bool Running() const { return FRunning; }

    // Converts every file of the list. True when every file was written or
    // there was nothing to do; otherwise false with "Canceled by user" or
    // "One or more files were not converted" in message. Missing destination
    // and images directories are made first, parents included; when one
    // cannot be, no file is started and message names it and the reason.
    bool Convert(std::string& message);

    // Steps of Convert, public so that each can be checked on its own.
    void PrepareOptions();
    std::string OutputFileName(const std::string& source) const;
    std::uint8_t ProcessFile(const std::string& source, const std::string& output);
    bool WritePage(const std::string& source, const std::string& output);
    void HighlightLine(std::string& line);
    // True when output is the index page that the run writes after the pages.
    bool IsIndexPage(const std::string& output) const;
    const std::string& ImageDir() const { return FImageDir; }
    // How many bytes of a dump are read, and of a page gathered, at a time
    // (tests make it small, so that lines cross the edges of blocks).
    void SetBlockSize(std::size_t bytes) { FBlockSize = bytes; }

private:
    class TPageBuilder; // writes one page in the classic markup
    class TLineMarker;  // the highlight markup of every name, and their matcher

    bool MakeOutputDirectories(std::string& message);
    bool ConvertFiles();
    // True when writing path would replace source or another dump of the run.
    bool IsRunInput(const std::string& path, const std::string& source) const;
    void CopyImages(const std::string& source) const;
    bool IgnoreCase() const;
    bool Modern() const;      // the profile asks for the modern page
    bool WritesIndex() const; // ... and for an index page after the run

    bool FRunning = true;
    THTMLOptions* FHTMLOptions = nullptr; // not owned
    TAppOptions* FAppOptions = nullptr;   // not owned
    TNamesList* FNames = nullptr;         // not owned
    TIOOptions* FIOOptions = nullptr;     // not owned
    IProgressBar* FTotalBar = nullptr;    // not owned
    IProgressBar* FFileBar = nullptr;     // not owned
    IListView* FListView = nullptr;       // not owned; statuses reach it through FIOOptions
    std::string FImageDir;
    TFileSet FRunDumps; // the dumps of the current run, which nothing may replace
    TFileSet FRunPages; // the pages written in the current run, which no later file may replace
    bool FDumpRead = false; // the last WritePage read its dump: a failure after it is a write failure
    std::size_t FBlockSize = 1 << 20;
    IMessageBoxes* FMessageBoxes;         // not owned
    TProcessMessages FProcessMessages;
    TDirectoryCreated FOnDirectoryCreated;
};

// Removes one pair of double quotes that encloses the whole text.
std::string StripQuotes(const std::string& text);
// The text a page puts before an image's file name: from the destination
// directory to the images directory (both ending with a separator).
std::string RelativePath(const std::string& fromDir, const std::string& toDir);
// Fills names with the directory names of path, from the root; returns their number.
int SplitPath(const std::string& path, std::vector<std::string>& names);
// "#RRGGBB" of a platform colour value; system colours are resolved first.
std::string ColorToHTML(TColor color);
// 1-based position of name in line, 0 when absent or when name is empty.
// With ignoreCase only the ASCII letters a to z are folded.
int ContainsName(const std::string& name, const std::string& line, bool ignoreCase);

} // namespace velmora
