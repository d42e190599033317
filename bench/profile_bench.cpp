// Speed of loading large profiles: 10,000 names (every one distinct, so each
// is looked up against all before it) and 1,000,000 dump paths stored in
// reverse order (each would go to the front of a list kept sorted).
#include <benchmark/benchmark.h>

#include <clocale>
#include <string>

#include "settings/UHighLighter.h"

using namespace velmora;

namespace {

std::string ProfileData(int names, int files)
{
    THighlightProfile profile(nullptr, TPlatform{});
    for (int i = 0; i < names; ++i) {
        auto info = std::make_unique<THighLightInfo>();
        profile.Names().push_back(TNameItem{"Player" + std::to_string(i), std::move(info)});
    }
    for (int i = files; i > 0; --i)
        profile.IOOptions().FFiles.push_back(
            TFileItem{"/home/user/q3/dumps/" + std::to_string(i % 100) + "/condump" + std::to_string(i) + ".txt",
                      nullptr});
    return profile.SaveToData();
}

void LoadProfile(benchmark::State& state, int names, int files)
{
    const std::string data = ProfileData(names, files);
    for (auto _ : state) {
        THighlightProfile profile(nullptr, TPlatform{});
        bool ok = profile.LoadFromData(data);
        benchmark::DoNotOptimize(ok);
        if (!ok || profile.Names().size() != static_cast<std::size_t>(names) ||
            profile.IOOptions().FFiles.size() != static_cast<std::size_t>(files))
            state.SkipWithError("the profile did not load whole");
    }
    state.counters["bytes"] = static_cast<double>(data.size());
}

void BM_Load10000Names(benchmark::State& state)
{
    LoadProfile(state, 10000, 0);
}
void BM_Load1000000Files(benchmark::State& state)
{
    LoadProfile(state, 0, 1000000);
}

BENCHMARK(BM_Load10000Names)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Load1000000Files)->Unit(benchmark::kMillisecond)->Iterations(1);

} // namespace

int main(int argc, char** argv)
{
    // As the programs do: names and paths follow the user's locale.
    std::setlocale(LC_ALL, "");
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
