// Save and load of a large show: all 50 effects with content and ten materials each (about
// 1.5 MB of show file), a full fixture library and scenes. Prints the median of each.
#include "core/show/ShowFile.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <memory>

using namespace rz;

namespace {

class QuietPrompt : public Prompt {
public:
    void message(const std::u16string&) override {}
    bool ask(const std::u16string&) override { return true; }
};
class NoChooser : public FileChooser {
public:
    std::optional<std::filesystem::path> chooseOpen(const std::u16string&, const std::u16string&) override
    {
        return std::nullopt;
    }
    std::optional<std::filesystem::path> chooseSave(const std::u16string&, const std::u16string&) override
    {
        return std::nullopt;
    }
};
class StepClock : public Clock, public Yield {
public:
    uint32_t nowMs() override { return now; }
    void yield() override { ++now; }
    uint32_t now = 0;
};
class FixedTime : public show::LocalTimeSource {
public:
    LocalDateTime localNow() override { return {2026, 12, 10, 12, 0, 0}; }
};

constexpr int kMaterialsPerEffect = 10;

void fillMaterial(materials::Material& m, int seed)
{
    m.name = u"素材";
    m.stepCount = 100;
    m.uniformTime = 5;
    m.fixtureCount = 4;
    m.channelCount = 6;
    for (int c = 1; c <= 6; ++c)
        m.channelCodes[c] = static_cast<uint8_t>(c);
    for (int f = 1; f <= 4; ++f)
        m.patch[f][f] = 1;
    for (int i = 1; i <= m.stepCount; ++i)
        for (int f = 1; f <= 4; ++f)
            for (int c = 1; c <= 6; ++c)
                m.setLevel(i, f, c, static_cast<uint8_t>(1 + (seed + i * 7 + f * 3 + c) % 254));
}

void fillEffect(effects::Effect& e, int i)
{
    e.note = u"效果";
    e.independentBass = 1;
    for (int k = 0; k < effects::kModes; ++k) {
        e.barCount[k] = 16;
        e.beatCount[k] = 8;
        for (int b = 1; b <= 16; ++b)
            for (int t = 1; t <= 8; ++t)
                for (int s = 1; s <= kMaterialsPerEffect; ++s)
                    e.beatGrid.setCell(k, b, t, 1, s, (b + t + s + i + k) % 3 == 0);
    }
    for (int m = 1; m <= effects::kModules; ++m)
        e.modules[m].note = u"模块";
}

struct Rig {
    Rig()
    {
        std::filesystem::remove_all(root);
        for (int r = 1; r <= fixtures::kFixtureCount; ++r) {
            fixtures::Fixture& fx = show->library.fixture(r);
            fx.name = u"灯具";
            fx.startAddress = static_cast<int16_t>(1 + (r - 1) * 5);
            fx.channelCount = 5;
            for (int c = 1; c <= 5; ++c)
                fx.channelCode[c] = static_cast<uint8_t>(c);
        }
        for (int s = 1; s <= scenes::kSceneCount; ++s) {
            show->scenes.scene(s).effect = static_cast<uint8_t>(s);
            show->scenes.scene(s).relays[s % 24 + 1] = 1;
        }
        for (int e = 1; e <= effects::kEffectCount; ++e) {
            fillEffect(show->effects.effect(e), e);
            materialFiles.switchEffect(e);
            for (int s = 1; s <= kMaterialsPerEffect; ++s)
                fillMaterial(show->materials.at(1, s), e * 13 + s);
        }
        materialFiles.switchEffect(0);
    }
    ~Rig() { std::filesystem::remove_all(root); }

    std::filesystem::path root = std::filesystem::temp_directory_path() / "rz760-bench-show-file";
    QuietPrompt prompt;
    NoChooser chooser;
    StepClock clock;
    FixedTime time;
    std::unique_ptr<show::Show> show = std::make_unique<show::Show>();
    materials::MaterialFiles materialFiles{show->materials, show->library, show->editing, root,
                                           chooser, prompt};
    show::ShowFile file{*show, root, {prompt, chooser, clock, clock, time, nullptr}};
};

Rig& rig()
{
    static Rig r;
    return r;
}

void BM_SaveShow(benchmark::State& state)
{
    Rig& r = rig();
    for (auto _ : state)
        if (!r.file.saveShow())
            state.SkipWithError("save failed");
    state.counters["file_bytes"] = static_cast<double>(std::filesystem::file_size(r.file.showPath()));
}
BENCHMARK(BM_SaveShow)->Unit(benchmark::kMillisecond)->Repetitions(7)->DisplayAggregatesOnly(true);

void BM_LoadShow(benchmark::State& state)
{
    Rig& r = rig();
    if (!r.file.saveShow())
        state.SkipWithError("save failed");
    for (auto _ : state)
        if (r.file.loadShow() != show::LoadResult::loaded)
            state.SkipWithError("load failed");
    state.counters["file_bytes"] = static_cast<double>(std::filesystem::file_size(r.file.showPath()));
}
BENCHMARK(BM_LoadShow)->Unit(benchmark::kMillisecond)->Repetitions(7)->DisplayAggregatesOnly(true);

} // namespace

BENCHMARK_MAIN();
