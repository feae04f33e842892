#pragma once
// A show on a temporary data root with fake seams, and shows with something in every table.
#include "core/effects/EffectTestSupport.h"
#include "core/scenes/SceneTestSupport.h"
#include "support/Fakes.h"

#include "core/materials/MaterialFiles.h"
#include "core/show/Show.h"
#include "core/show/ShowFile.h"
#include "core/show/ShowImage.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace rz::test::showfile {

class FixedLocalTime : public show::LocalTimeSource {
public:
    LocalDateTime localNow() override { return now; }
    LocalDateTime now{2026, 12, 10, 11, 19, 5};
};

// Records the window calls in order: "titleBar:0", "titleBar:1", "refresh", "loaded:<name>".
class RecordingView : public show::ShowFileView {
public:
    void showLoaded(const std::filesystem::path& path) override
    {
        calls.push_back("loaded:" + path.filename().string());
    }
    void setTitleBarAvailable(bool available) override
    {
        calls.push_back(available ? "titleBar:1" : "titleBar:0");
    }
    void refreshLightControlPage() override { calls.push_back("refresh"); }
    std::vector<std::string> calls;
};

// One show, its file on a fresh data root, and the fakes it talks to.
struct ShowRig {
    ShowRig() = default;
    // The data root is `folder` inside the temporary folder.
    explicit ShowRig(const std::filesystem::path& folder) : root(dir / folder) {}

    TempDir dir;
    std::filesystem::path root = dir.path();
    FakeClock clock;
    FakeYield yield{clock};
    RecordingPrompt prompt;
    ScriptedFileChooser chooser;
    FixedLocalTime localTime;
    RecordingView view;
    std::unique_ptr<show::Show> show = std::make_unique<show::Show>();
    show::ShowFile file{*show, root, {prompt, chooser, clock, yield, localTime, &view}};
    materials::MaterialFiles materialFiles{show->materials, show->library, show->editing,
                                           root, chooser, prompt};

    // Makes effect e current, with `count` valid materials in module 1 (slots 1..count).
    void putMaterials(int effect, int count, uint8_t base)
    {
        materialFiles.switchEffect(effect);
        for (int s = 1; s <= count; ++s)
            fx::fillMaterial(show->materials.at(1, s), 3 + s, static_cast<uint8_t>(base + s), 2);
    }
    std::vector<uint8_t> tempFileBytes(int effect) const
    {
        const auto p = materialFiles.tempFile(effect);
        return std::filesystem::exists(p) ? readAll(p) : std::vector<uint8_t>{};
    }
};

// Something in every table the show file stores; effects 2 and 5 carry materials, effect 5
// stays current.
inline void fillShow(ShowRig& rig)
{
    show::Show& s = *rig.show;
    fx::fillLibrary(s.library);
    s.library.fixture(1).name = u"摇头灯";
    s.library.fixture(7).name = u"只有名字";
    s.scenes = richSceneTable();
    s.effects = fx::richEffectTable();
    s.lightControl.powerOnScene = 3;
    s.lightControl.micShakeTime = 4;
    s.lightControl.denseDrumCount = 9;
    s.lightControl.thyristorDimming = 1;
    s.lightControl.effectsUnitIr[2] = {1, 2, 3, 4};
    s.motionThreshold = 77;
    rig.putMaterials(2, 3, 10);
    rig.putMaterials(5, 1, 40);
}

// The tables a show file replaces, for "nothing changed" checks.
struct TablesSnapshot {
    explicit TablesSnapshot(const show::Show& s)
        : lightControl(s.lightControl), scenes(s.scenes), library(s.library), effects(s.effects),
          motionThreshold(s.motionThreshold), currentEffect(s.editing.currentEffect)
    {
    }
    bool operator==(const TablesSnapshot&) const = default;

    lightcontrol::LightControlSettings lightControl;
    scenes::SceneTable scenes;
    fixtures::FixtureLibrary library;
    effects::EffectTable effects;
    uint8_t motionThreshold;
    uint8_t currentEffect;
};

// Bytes before the information section (section 14 is the only part that records the time).
inline std::vector<uint8_t> withoutInfoSection(const std::vector<uint8_t>& image)
{
    const uint32_t info = show::sectionPosition(image, 14);
    if (info < 4 || info > image.size())
        return image;
    return {image.begin(), image.begin() + (info - 4)};
}

} // namespace rz::test::showfile
