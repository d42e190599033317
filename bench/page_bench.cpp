// Speed of the page writer on generated CR LF dumps of 1 MB and 64 MB, against
// a baseline that reads the same dump whole and writes it to another file.
// Names are either players of the dump (about half the lines are marked up)
// or "Player000:" ... (never found, but sharing keys with "players"), with
// both case settings, broken lines on and off, and dump text as stored or
// escaped with colour codes shown as colours; the classic page, or the modern
// one (style 1), also with player stats (style 2).
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <map>
#include <memory>
#include <string>

#include "UDumpGenerator.h"
#include "conversion/UConvertClass.h"
#include "platform/UFiles.h"
#include "settings/UAppOptions.h"
#include "settings/UHTMLOptions.h"
#include "settings/UHighLighter.h"
#include "settings/UIOOptions.h"

namespace fs = std::filesystem;
using namespace velmora;

namespace {

// The benchmark's own scratch directory, removed at exit.
class TScratch {
public:
    TScratch()
    {
        std::string pattern = (fs::temp_directory_path() / "velmora-bench-XXXXXX").string();
        if (!mkdtemp(pattern.data()))
            std::abort();
        FDir = pattern + "/";
    }
    ~TScratch()
    {
        std::error_code ec;
        fs::remove_all(FDir, ec);
    }
    const std::string& Dir() const { return FDir; }

    // A generated dump of `megabytes` MB, written on first use.
    const std::string& Dump(int megabytes)
    {
        auto found = FDumps.find(megabytes);
        if (found != FDumps.end())
            return found->second;
        std::string path = FDir + "dump" + std::to_string(megabytes) + ".txt";
        bench::TDumpGenerator generator;
        if (!generator.WriteDump(path, static_cast<std::uint64_t>(megabytes) << 20))
            std::abort();
        return FDumps[megabytes] = path;
    }

private:
    std::string FDir;
    std::map<int, std::string> FDumps;
};

TScratch& Scratch()
{
    static TScratch scratch;
    return scratch;
}

void BM_ReadWriteBaseline(benchmark::State& state)
{
    const std::string& dump = Scratch().Dump(static_cast<int>(state.range(0)));
    const std::string copy = Scratch().Dir() + "copy.txt";
    std::int64_t bytes = 0;
    for (auto _ : state) {
        std::string contents;
        if (!ReadWholeFile(dump, contents) || !WriteFileAtomically(copy, contents))
            state.SkipWithError("baseline failed");
        bytes += static_cast<std::int64_t>(contents.size());
    }
    state.SetBytesProcessed(bytes);
}

void BM_WritePage(benchmark::State& state)
{
    const std::string& dump = Scratch().Dump(static_cast<int>(state.range(0)));
    const std::string page = Scratch().Dir() + "page.htm";
    THTMLOptions html(nullptr);
    TAppOptions app(nullptr);
    TIOOptions io(nullptr, TPlatform{nullptr, nullptr, Scratch().Dir()});
    TNamesList names;
    const int count = static_cast<int>(state.range(1));
    const bool numbered = state.range(2) != 0;
    for (const std::string& name : numbered ? bench::TDumpGenerator::NumberedNames(count)
                                            : bench::TDumpGenerator::HighlightNames(count)) {
        auto info = std::make_unique<THighLightInfo>();
        info->FColor = 0x0000FF;
        info->FHTMLBefore = "<B>";
        info->FHTMLAfter = "</B>";
        names.push_back(TNameItem{name, std::move(info)});
    }
    app.FCaseSensitive = state.range(3) != 0;
    html.FBrokenLines = state.range(4) != 0;
    if (state.range(5) != 0) {
        app.FEscapeText = true;
        app.FColorCodes = TColorCodes::Colors;
    }
    if (state.range(6) != 0)
        app.SetPageStyle(TPageStyle::Modern);
    app.SetPlayerStats(state.range(6) == 2);
    TConvertClass engine(nullptr, [] {});
    engine.SetOptions(&html, &app, &io, &names);
    const auto dumpBytes = static_cast<std::int64_t>(fs::file_size(dump));
    for (auto _ : state)
        if (!engine.WritePage(dump, page))
            state.SkipWithError("page not written");
    state.SetBytesProcessed(dumpBytes * static_cast<std::int64_t>(state.iterations()));
}

constexpr int Players = 0;
constexpr int Numbered = 1;

void PageArgs(benchmark::internal::Benchmark* b)
{
    b->ArgNames({"MB", "names", "numbered", "ignoreCase", "broken", "escapeColors", "style"});
    for (int names : {0, 10, 100})
        for (int ignoreCase : {0, 1})
            for (int broken : {0, 1})
                b->Args({1, names, Players, ignoreCase, broken, 0, 0});
}

// Few cases and iterations for the 64 MB dump keep the default run short.
void LargePageArgs(benchmark::internal::Benchmark* b)
{
    b->ArgNames({"MB", "names", "numbered", "ignoreCase", "broken", "escapeColors", "style"});
    for (int broken : {0, 1}) {
        b->Args({64, 0, Players, 0, broken, 0, 0});
        for (int names : {100, 1000})
            b->Args({64, names, Numbered, 1, broken, 0, 0});
        for (int ignoreCase : {0, 1})
            b->Args({64, 100, Players, ignoreCase, broken, 0, 0});
    }
    // Escaped text with colour runs: the same targets hold.
    b->Args({64, 0, Players, 0, 0, 1, 0});
    for (int names : {100, 1000})
        b->Args({64, names, Numbered, 1, 0, 1, 0});
    // The modern page against the classic one of the same dump and names;
    // with player stats, against the modern page without.
    for (int names : {0, 100})
        for (int colors : {0, 1})
            for (int style : {1, 2})
                b->Args({64, names, Players, 0, 0, colors, style});
}

} // namespace

// CPU time counts every thread of the process: the page writer reads and
// writes on threads of its own.
BENCHMARK(BM_ReadWriteBaseline)->ArgName("MB")->Arg(1)->MeasureProcessCPUTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadWriteBaseline)->ArgName("MB")->Arg(64)->Iterations(5)->MeasureProcessCPUTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WritePage)->Apply(PageArgs)->MeasureProcessCPUTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WritePage)->Apply(LargePageArgs)->Iterations(5)->MeasureProcessCPUTime()->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
