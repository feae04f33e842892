// Download time of a show file over the simulated 115200-baud line, against the time the
// bytes that crossed the line (frames both ways) need on the wire. The line runs on a fake
// clock, so the figures are exact and repeat on every machine; a ratio near 1 means the tool
// adds almost no waiting of its own.
#include "core/link/Link.h"
#include "core/transfer/FileTransfer.h"
#include "sim/Controller.h"
#include "sim/LoopbackTransport.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <set>
#include <vector>

namespace {

class LineClock : public rz::Clock {
public:
    uint32_t nowMs() override { return now; }
    uint32_t now = 0;
};

// Each yield lets one millisecond pass on the line.
class LineYield : public rz::Yield {
public:
    explicit LineYield(LineClock& clock) : clock(clock) {}
    void yield() override { ++clock.now; }
    LineClock& clock;
};

class QuietBox : public rz::LogBox {
public:
    void append(const std::u16string&, bool) override {}
};

// Roughly like a show file: long zero runs between stretches of levels.
std::vector<uint8_t> showLikeBytes(std::size_t n)
{
    std::vector<uint8_t> b(n, 0);
    uint64_t x = 0x9E3779B97F4A7C15ull;
    for (std::size_t i = 0; i < n; ++i) {
        x ^= x << 13;
        x ^= x >> 7;
        x ^= x << 17;
        if ((i / 64) % 3 != 0)
            b[i] = static_cast<uint8_t>(x);
    }
    return b;
}

void BM_DownloadOverThrottledLine(benchmark::State& state)
{
    const auto size = static_cast<std::size_t>(state.range(0));
    const auto path = std::filesystem::temp_directory_path() /
                      ("rz760-bench-download-" + std::to_string(size) + ".K_F");
    {
        const std::vector<uint8_t> bytes = showLikeBytes(size);
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    }

    double toolMs = 0, lineMs = 0;
    bool verified = true;
    for (auto _ : state) {
        LineClock clock;
        LineYield yield(clock);
        rz::sim::Controller controller(clock);
        rz::sim::LoopbackTransport transport(controller, clock, rz::sim::kLinkBaud);
        rz::link::Link link(clock, yield);
        link.setTransport(&transport);
        rz::transfer::FileTransfer transfer(link, [] { return true; });
        QuietBox box;

        const auto result = transfer.downloadFile(1, path, box);

        verified = verified && result == rz::transfer::TransferResult::Succeeded;
        toolMs = clock.now;
        const uint64_t crossed = transport.bytesWritten() + transport.bytesDelivered();
        lineMs = static_cast<double>(rz::sim::SerialLine(rz::sim::kLinkBaud).wireTimeNs(crossed)) / 1e6;
        link.setTransport(nullptr);
    }
    std::filesystem::remove(path);

    const double ratio = toolMs / lineMs;
    state.counters["tool_ms"] = toolMs;
    state.counters["line_ms"] = lineMs;
    state.counters["ratio"] = ratio;
    if (!verified)
        state.SkipWithError("the download did not verify");
    static std::set<std::size_t> reported; // the harness runs each size several times
    if (reported.insert(size).second)
        std::printf("download of %zu KB: %.0f ms on the line clock, line time %.0f ms, ratio %.3f (goal < 1.05)\n",
                    size / 1024, toolMs, lineMs, ratio);
}

BENCHMARK(BM_DownloadOverThrottledLine)->Arg(100 * 1024)->Arg(1024 * 1024)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
