// One fader drag on the material page for the worst material: 20 virtual fixtures x 32
// channels, each patched to all 100 library fixtures of 32 channels with matching codes, the
// focus fixture linked to the 19 others with all channels linked. Measured from the page's
// handler (the editor session's set level) through the store, previewTick and the packing of
// the 0x60 frame up to the hand-over to the transport. Median as a share of the 100 ms tick.
#include "core/liveout/LiveSender.h"
#include "core/materials/MaterialEditorSession.h"
#include "core/materials/MaterialEngine.h"

#include "TickBudgetReporter.h"

#include <benchmark/benchmark.h>

using namespace rz;
using namespace rz::materials;

namespace {

class SilentPrompt : public Prompt {
public:
    void message(const std::u16string&) override {}
    bool ask(const std::u16string&) override { return false; }
};

struct Rig {
    Rig()
    {
        for (int r = 1; r <= fixtures::kFixtureCount; ++r) {
            fixtures::Fixture& fx = library.fixture(r);
            fx.startAddress = static_cast<int16_t>(1 + (r - 1) * 5);
            fx.channelCount = 32;
            for (int c = 1; c <= 32; ++c)
                fx.channelCode[c] = static_cast<uint8_t>(c);
        }
        Material& m = store.at(1, 1);
        m.fixtureCount = 20;
        m.channelCount = 32;
        for (int c = 1; c <= 32; ++c)
            m.channelCodes[c] = static_cast<uint8_t>(c);
        for (int f = 1; f <= 20; ++f)
            for (int r = 1; r <= 100; ++r)
                m.patch[f][r] = 1;
        engine.install();
        sender.setLiveOutputMode(liveout::kModeMaterial);
        session.open();
        session.linkAll();
        session.allChannelsLinked = true;
        session.setLevel(1, 1); // the automatic first step
    }
    MaterialStore store;
    fixtures::FixtureLibrary library;
    EditingContext context;
    SilentPrompt prompt;
    std::size_t sentBytes = 0;
    liveout::LiveSender sender{[this](uint8_t, std::span<const uint8_t> p) { sentBytes += p.size(); },
                               [] { return true; }};
    MaterialEngine engine{store, library, context, sender};
    MaterialEditorSession session{store, context, prompt};
};

void BM_FaderDragToFrame(benchmark::State& state)
{
    Rig rig;
    int level = 0;
    for (auto _ : state) {
        level = (level + 1) & 0xFF;
        rig.session.setLevel(5, static_cast<uint8_t>(level));
        rig.sender.liveTick();
        benchmark::DoNotOptimize(rig.sentBytes);
    }
    if (rig.sentBytes == 0)
        state.SkipWithError("no frame reached the transport");
}
BENCHMARK(BM_FaderDragToFrame)->Repetitions(15)->ReportAggregatesOnly(true);

} // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    rz::bench::TickBudgetReporter reporter(4);
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}
