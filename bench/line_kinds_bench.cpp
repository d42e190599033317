// Speed of sorting dump lines by kind, which a modern page does once per
// line, and of counting the player stats from the kinds as well: over a
// generated dump of 64 MB (chat, obituaries, server messages) and over the
// real dumps of the shared test data, read as one text. The figure to
// compare with a page's cost per line is the time per line (shown as ns/line).
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "UDumpGenerator.h"
#include "conversion/UDumpText.h"
#include "conversion/ULineKinds.h"
#include "conversion/UPlayerStats.h"
#include "platform/UFiles.h"

using namespace velmora;

namespace {

const std::string& GeneratedDump()
{
    static const std::string text = [] {
        bench::TDumpGenerator generator;
        std::string dump;
        while (dump.size() < (std::size_t(64) << 20))
            dump += generator.Line() + "\r\n";
        return dump;
    }();
    return text;
}

// The six real dumps one after another, repeated to about 16 MB.
const std::string& RealDumps()
{
    static const std::string text = [] {
        std::string one;
        for (const char* name : {"ioq3-server-qconsole.log", "q3llm-games.log", "ql-condump-aug2025.txt",
                                 "ql-condump-june2025.txt", "wop-client-qconsole.log", "xp-client-qconsole.log"}) {
            std::string bytes;
            if (!ReadWholeFile(std::string(VELMORA_SHARED_TESTDATA) + "/q3dumps/" + name, bytes))
                return std::string();
            one += bytes;
        }
        std::string all;
        while (all.size() < (std::size_t(16) << 20))
            all += one;
        return all;
    }();
    return text;
}

// Every line classified, and with count also counted into the player stats
// (whose table is made at the end, as a page makes its section).
void ClassifyAll(benchmark::State& state, const std::string& text, bool count)
{
    if (text.empty()) {
        state.SkipWithError("the real dumps of the shared test data are missing");
        return;
    }
    std::int64_t lines = 0;
    for (auto _ : state) {
        TLineClassifier classifier;
        TPlayerStats stats;
        TDumpLineReader reader(text);
        std::string_view line;
        std::size_t chat = 0;
        std::uint64_t number = 0;
        while (reader.Next(line)) {
            const TLineFacts facts = classifier.Classify(line);
            chat += facts.Kind == TLineKind::Chat;
            if (count)
                stats.Add(facts, ++number);
            ++lines;
        }
        if (count)
            chat += stats.Players().size();
        benchmark::DoNotOptimize(chat);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(text.size()) * state.iterations());
    state.counters["ns/line"] =
        benchmark::Counter(static_cast<double>(lines), benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

// Splitting into lines alone, the part of the above that any page pays already.
void SplitAll(benchmark::State& state, const std::string& text)
{
    std::int64_t lines = 0;
    for (auto _ : state) {
        TDumpLineReader reader(text);
        std::string_view line;
        std::size_t bytes = 0;
        while (reader.Next(line)) {
            bytes += line.size();
            ++lines;
        }
        benchmark::DoNotOptimize(bytes);
    }
    state.counters["ns/line"] =
        benchmark::Counter(static_cast<double>(lines), benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

void BM_ClassifyGenerated(benchmark::State& state) { ClassifyAll(state, GeneratedDump(), false); }
void BM_ClassifyRealDumps(benchmark::State& state) { ClassifyAll(state, RealDumps(), false); }
void BM_ClassifyAndCountGenerated(benchmark::State& state) { ClassifyAll(state, GeneratedDump(), true); }
void BM_ClassifyAndCountRealDumps(benchmark::State& state) { ClassifyAll(state, RealDumps(), true); }
void BM_SplitGenerated(benchmark::State& state) { SplitAll(state, GeneratedDump()); }

} // namespace

BENCHMARK(BM_SplitGenerated)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ClassifyGenerated)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ClassifyRealDumps)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ClassifyAndCountGenerated)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ClassifyAndCountRealDumps)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
