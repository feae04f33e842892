// The universe monitor's work per live tick for 100 library fixtures of 32 RGB/dimmer/pan/tilt
// channels: the model update (levels, shared addresses, every fixture's colour and direction),
// and the rebuild that runs only when the library changed. Medians as a share of the tick.
#include "core/liveout/MonitorModel.h"

#include "TickBudgetReporter.h"

#include <benchmark/benchmark.h>

using namespace rz;

namespace {

struct Room {
    fixtures::FixtureLibrary library;
    fixtures::ChannelDefinitions names;
    liveout::DmxFrame frame{};

    Room()
    {
        const uint8_t codes[] = {20, 21, 22, 23, 50, 1, 3, 2, 4}; // R G B W 调光1 X X微调 Y Y微调
        for (int i = 1; i <= fixtures::kFixtureCount; ++i) {
            fixtures::Fixture& f = library.fixture(i);
            f.startAddress = static_cast<int16_t>(1 + (i - 1) * 5); // overlapping, some past 512
            f.channelCount = 32;
            for (int c = 1; c <= 32; ++c)
                f.channelCode[c] = codes[(c - 1) % std::size(codes)];
        }
        for (std::size_t a = 1; a < frame.size(); ++a)
            frame[a] = static_cast<uint8_t>(a * 7);
    }
};

void MonitorUpdate(benchmark::State& state)
{
    Room room;
    liveout::MonitorModel model;
    model.rebuild(room.library, room.names);
    liveout::RoomOutputs outputs;
    outputs.thyristorDimming = true;
    for (auto _ : state) {
        room.frame[1] = static_cast<uint8_t>(room.frame[1] + 1);
        model.update(room.frame, outputs);
        benchmark::DoNotOptimize(model.fixtures().data());
    }
}
BENCHMARK(MonitorUpdate)->Repetitions(15)->ReportAggregatesOnly(true);

void MonitorRebuildAfterALibraryChange(benchmark::State& state)
{
    Room room;
    liveout::MonitorModel model;
    for (auto _ : state) {
        model.rebuild(room.library, room.names);
        benchmark::DoNotOptimize(model.fixtures().data());
    }
}
BENCHMARK(MonitorRebuildAfterALibraryChange)->Repetitions(15)->ReportAggregatesOnly(true);

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
