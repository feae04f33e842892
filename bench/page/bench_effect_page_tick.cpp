// The effect page's whole tick in the worst case of the effect-preview benchmark (20 modules x
// 12 slots active, each the worst material): a change on the page (a cell toggled, which moves
// the beat and recolours the grid, or another module, which recolours every panel) followed by
// the live tick (preview, live frame out to the in-process controller). Prints the median as a
// share of the 100 ms live tick.
#include "core/effects/EffectEditor.h"
#include "core/effects/EffectPreview.h"
#include "core/liveout/LiveSender.h"
#include "support/ui/PageRig.h"
#include "ui/effects/EffectPage.h"

#include "../TickBudgetReporter.h"
#include "../WorstCase.h"

#include <QApplication>
#include <benchmark/benchmark.h>

#include <memory>

using namespace rz;
using namespace rz::materials;

namespace {

struct WorstPage {
    WorstPage()
    {
        rig.assumeConnected = true;
        bench::fillWorstLibrary(rig.show->library);
        rig.show->editing.currentEffect = 1;
        effects::Effect& e = rig.show->effects.effect(1);
        e.barCount = {1, 0};
        e.beatCount = {2, 0};
        for (int m = 1; m <= kModules; ++m)
            for (int s = 1; s <= kSlots; ++s) {
                bench::fillWorstMaterial(rig.show->materials.at(m, s), materialNumber(m, s));
                e.beatGrid.setCell(0, 1, 1, m, s, true);
                e.beatGrid.setCell(0, 1, 2, m, s, true);
            }
        page = rig.makePage<ui::EffectPage>();
        rig.window.resize(1280, 720);
        rig.window.show();
        page->open();
        tick(); // output maps built once, as on the page
    }
    void tick()
    {
        rig.live.liveTick();
        rig.transport.poll();
    }
    test::PageRig rig;
    std::unique_ptr<ui::EffectPage> page;
};

WorstPage& worst()
{
    // Never destroyed: it must not outlive the application object at exit.
    static WorstPage* w = new WorstPage;
    return *w;
}

void BM_EffectPageBeatChangeTick(benchmark::State& state)
{
    WorstPage& w = worst();
    int beat = 1;
    for (auto _ : state) {
        // Toggling the slot-12 cell of the other beat twice keeps every material active.
        beat = 3 - beat;
        w.page->editor().toggleCell(12, beat);
        w.page->editor().toggleCell(12, beat);
        w.tick();
        benchmark::DoNotOptimize(w.rig.live.dmxFrame().data());
    }
}
BENCHMARK(BM_EffectPageBeatChangeTick)->Unit(benchmark::kMillisecond)->Repetitions(9)->ReportAggregatesOnly(true);

void BM_EffectPageModuleChangeTick(benchmark::State& state)
{
    WorstPage& w = worst();
    int module = 1;
    for (auto _ : state) {
        module = module % kModules + 1;
        w.page->editor().selectModule(module);
        w.tick();
        benchmark::DoNotOptimize(w.rig.live.dmxFrame().data());
    }
}
BENCHMARK(BM_EffectPageModuleChangeTick)->Unit(benchmark::kMillisecond)->Repetitions(9)->ReportAggregatesOnly(true);

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    rz::bench::TickBudgetReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}
