// The worst material tick: 20 virtual fixtures x 32 channels, each patched to all 100 library
// fixtures of 32 channels with matching codes, fading, through playMaterialTick + applyLevels.
// Prints the median time as a share of the 100 ms live tick, and the resident
// memory an empty and a full material store cost.
#include "core/liveout/LiveSender.h"
#include "core/materials/MaterialEngine.h"

#include "TickBudgetReporter.h"

#include "WorstCase.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <fstream>
#include <memory>

using namespace rz;
using namespace rz::materials;

namespace {

struct Rig {
    Rig()
    {
        bench::fillWorstLibrary(library);
        bench::fillWorstMaterial(store.at(1, 1));
    }
    MaterialStore store;
    fixtures::FixtureLibrary library;
    EditingContext context;
    liveout::LiveSender sender{[](uint8_t, std::span<const uint8_t>) {}, [] { return false; }};
    MaterialEngine engine{store, library, context, sender};
    liveout::LiveBuffers buffers;
};

void BM_WorstMaterialTick(benchmark::State& state)
{
    Rig rig;
    for (auto _ : state) {
        const StepLevels levels = rig.engine.playMaterialTick(1, 1);
        rig.engine.applyLevels(1, 1, levels, false, rig.buffers);
        benchmark::DoNotOptimize(rig.buffers.frame.data());
    }
}
BENCHMARK(BM_WorstMaterialTick)->Repetitions(9)->ReportAggregatesOnly(true);

// The same tick when the output map is rebuilt every time (what the cache saves).
void BM_WorstMaterialTickUncached(benchmark::State& state)
{
    Rig rig;
    const Material& m = rig.store.at(1, 1);
    PlaybackState playback;
    int32_t duration = 0;
    for (auto _ : state) {
        const StepLevels levels = playMaterialTick(m, playback, false, duration);
        const OutputMap map = buildOutputMap(m, rig.library);
        for (int f = 1; f <= 20; ++f)
            for (int c = 1; c <= 32; ++c)
                for (uint16_t a : map.addrs(f, c))
                    rig.buffers.dimmableLayer[a] = levels.at(f, c);
        benchmark::DoNotOptimize(rig.buffers.dimmableLayer.data());
    }
}
BENCHMARK(BM_WorstMaterialTickUncached)->Repetitions(5)->ReportAggregatesOnly(true);

long residentKiB()
{
    std::ifstream statm("/proc/self/statm");
    long pages = 0, resident = 0;
    if (!(statm >> pages >> resident))
        return -1;
    return resident * 4; // 4 KiB pages
}

void printStoreMemory()
{
    const long base = residentKiB();
    auto store = std::make_unique<MaterialStore>();
    const long empty = residentKiB();
    for (int m = 1; m <= kModules; ++m)
        for (int s = 1; s <= kSlots; ++s)
            applyTimeDefaults(store->at(m, s)); // every material opened once in the editor
    const long opened = residentKiB();
    Material& one = store->at(1, 1);
    one.fixtureCount = 20;
    one.channelCount = 32;
    one.stepCount = kMaxSteps;
    for (int i = 1; i <= kMaxSteps; ++i)
        for (int f = 1; f <= 20; ++f)
            for (int c = 1; c <= 32; ++c)
                one.setLevel(i, f, c, static_cast<uint8_t>(i + f + c));
    const long oneFull = residentKiB();
    for (int n = 2; n <= kMaterialsPerEffect; ++n)
        store->at(*materialFromNumber(n)) = one;
    const long allFull = residentKiB();
    std::printf("material store resident memory (KiB): empty %ld, every material opened %ld, "
                "one material of 600 x 20 x 32 %ld, all 240 full %ld\n",
                empty - base, opened - base, oneFull - base, allFull - base);
}

} // namespace

int main(int argc, char** argv)
{
    printStoreMemory();
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    rz::bench::TickBudgetReporter reporter(4);
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}
