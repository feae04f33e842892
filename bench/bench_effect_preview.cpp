// The worst effect preview tick: all 20 modules x 12 slots active on the current beat, each
// material the worst one of the material tick benchmark (20 virtual fixtures x 32 channels,
// each patched to all 100 library fixtures of 32 channels, fading). Prints the median as a
// share of the 100 ms live tick.
#include "core/effects/EffectPreview.h"
#include "core/liveout/LiveSender.h"
#include "core/materials/MaterialEngine.h"

#include "TickBudgetReporter.h"

#include "WorstCase.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <memory>

using namespace rz;
using namespace rz::materials;

namespace {

struct Rig {
    Rig()
    {
        bench::fillWorstLibrary(library);
        context.currentEffect = 1;
        effects::Effect& e = table.effect(1);
        e.barCount = {1, 0};
        e.beatCount = {1, 0};
        for (int m = 1; m <= kModules; ++m)
            for (int s = 1; s <= kSlots; ++s) {
                bench::fillWorstMaterial(store.at(m, s), materialNumber(m, s));
                e.beatGrid.setCell(0, 1, 1, m, s, true);
            }
        position = {1, 1};
    }
    effects::EffectTable table;
    MaterialStore store;
    fixtures::FixtureLibrary library;
    EditingContext context;
    effects::BarPosition position;
    liveout::LiveSender sender{[](uint8_t, std::span<const uint8_t>) {}, [] { return false; }};
    MaterialEngine engine{store, library, context, sender};
    effects::EffectPreview preview{table, store, context, position, engine, sender};
    liveout::LiveBuffers buffers;
};

void BM_WorstEffectPreviewTick(benchmark::State& state)
{
    auto rig = std::make_unique<Rig>();
    rig->preview.effectPreviewTick(rig->buffers); // output maps built once, as on the page
    for (auto _ : state) {
        rig->preview.effectPreviewTick(rig->buffers);
        benchmark::DoNotOptimize(rig->buffers.frame.data());
    }
}
BENCHMARK(BM_WorstEffectPreviewTick)->Unit(benchmark::kMillisecond)->Repetitions(9)->ReportAggregatesOnly(true);

} // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    rz::bench::TickBudgetReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}
