// Feeds arbitrary bytes to the page writer as a dump: with a few names, both
// case settings, dump text as stored and escaped with colour runs, and broken
// lines on, every page must be written whole, and the same whether the dump
// is read whole or in small blocks.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

#include "conversion/UConvertClass.h"
#include "platform/UFiles.h"
#include "settings/UAppOptions.h"
#include "settings/UHTMLOptions.h"
#include "settings/UHighLighter.h"
#include "settings/UIOOptions.h"

using namespace velmora;

namespace {

// One scratch directory for the whole fuzzing session, removed at exit. The
// path is never destroyed, so the exit handler can still read it.
const std::string& ScratchDir()
{
    static const std::string* dir = [] {
        std::string pattern = (std::filesystem::temp_directory_path() / "velmora-page-fuzz-XXXXXX").string();
        if (!mkdtemp(pattern.data()))
            std::abort();
        auto* path = new std::string(pattern + "/");
        std::atexit([] {
            std::error_code ec;
            std::filesystem::remove_all(ScratchDir(), ec);
        });
        return path;
    }();
    return *dir;
}

const char* const Footer = "<BR>\r\n<!-- Created by Velmora -->\r\n</BODY> </HTML>\r\n";

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string dir = ScratchDir();
    const std::string dump = dir + "dump.txt";
    const std::string page = dir + "dump.htm";
    if (!WriteFileAtomically(dump, std::string_view(reinterpret_cast<const char*>(data), size)))
        std::abort();

    THTMLOptions html(nullptr);
    html.FBrokenLines = true;
    TAppOptions app(nullptr);
    TIOOptions io(nullptr, TPlatform{nullptr, nullptr, dir});
    TNamesList names;
    for (const char* name : {"Keel:", "^1", "a", "", "\x19(", "rail"}) {
        auto info = std::make_unique<THighLightInfo>();
        info->FHTMLBefore = "<B>";
        names.push_back(TNameItem{name, std::move(info)});
    }
    names.push_back(TNameItem{"Doom", nullptr});
    TConvertClass engine(nullptr, [] {});
    engine.SetOptions(&html, &app, &io, &names);
    // Both case settings, the second with escaped text and colour runs; each
    // page is written whole and in blocks of 1 to 64 bytes, and the two agree.
    const std::size_t blockSize = 1 + (size > 0 ? data[0] % 64 : 0);
    for (bool ignoreCase : {false, true}) {
        app.FCaseSensitive = ignoreCase;
        app.FEscapeText = ignoreCase;
        app.FColorCodes = ignoreCase ? TColorCodes::Colors : TColorCodes::Keep;
        std::string pages[2];
        for (std::size_t k = 0; k < 2; ++k) {
            engine.SetBlockSize(k == 0 ? size + 1 : blockSize);
            if (!engine.WritePage(dump, page) || !ReadWholeFile(page, pages[k]))
                std::abort();
        }
        if (pages[1] != pages[0] || pages[0].size() < std::char_traits<char>::length(Footer) ||
            !pages[0].ends_with(Footer) || !pages[0].starts_with("<HTML>"))
            std::abort();
    }
    return 0;
}
