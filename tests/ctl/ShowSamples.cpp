#include "ShowSamples.h"

#include "ctl/ShowJson.h"
#include "core/show/ShowTestSupport.h"

namespace rz::test::ctl {

namespace {

std::vector<uint8_t> saved(showfile::ShowRig& rig)
{
    const auto path = rig.dir / "sample.K_F";
    EXPECT_TRUE(rig.file.saveShow(path));
    return readAll(path);
}

void edgeMaterial(materials::Material& m, int steps, int fixtures, int channels, uint8_t seed)
{
    m.name = u"边缘素材" + std::u16string(1, static_cast<char16_t>(u'a' + seed % 26));
    m.stepCount = static_cast<int16_t>(steps);
    m.uniformTime = static_cast<int16_t>(-300 + seed);
    m.perStepTimeMode = 1;
    m.allStepsFade = seed % 2;
    m.jumpInterval = 200;
    m.jumpAtIntervalEndOnly = 1;
    m.brightnessReduction = 255;
    m.startMode = 2;
    m.dimmingRole = materials::kChannelOneIsMaster;
    m.hwAcceleration = 1;
    m.restartOnCall = 1;
    m.fixtureCount = static_cast<uint8_t>(fixtures);
    m.channelCount = static_cast<uint8_t>(channels);
    for (int c = 1; c <= channels; ++c)
        m.channelCodes[c] = static_cast<uint8_t>((c * 7 + seed) % 256);
    for (int f = 1; f <= fixtures; ++f)
        for (int r = 1; r <= 4; ++r)
            m.patch[f][(f + r) % 4 + 1] = (f + r) % 3 == 0;
    m.tempChannels[1] = 9;
    m.tempChannels[2] = 255;
    m.motionType = materials::kMotionCircle;
    for (int k = 1; k <= materials::kMotionParameters; ++k) {
        m.motionGlobal[k] = k % 2 ? -32768 + k : 32767 - k;
        for (int f = 1; f <= fixtures; ++f)
            m.motionPerFixture[f][k] = (f * k) % 2 ? -f * k : f * k;
    }
    for (int i = 1; i <= steps; ++i) {
        materials::MaterialStep& s = m.editStep(i);
        s.stepTime = static_cast<int16_t>(i % 5 == 0 ? -i : i * 50);
        s.fadeToNext = i % 3 == 0;
        s.stepMark = i % 4 == 0;
        if (i % 6 == 2)
            continue; // all zero
        for (int f = 1; f <= fixtures; ++f)
            for (int c = 1; c <= channels; ++c)
                s.setLevel(f, c, static_cast<uint8_t>((i * 31 + f * 7 + c + seed) % 256));
    }
}

void edgeLibrary(fixtures::FixtureLibrary& library)
{
    for (int i = 1; i <= 4; ++i) {
        fixtures::Fixture& f = library.fixture(i);
        f.name = u"灯" + std::u16string(1, static_cast<char16_t>(u'0' + i)) + u" 🎛";
        f.startAddress = static_cast<int16_t>(i == 4 ? 512 : 1 + 40 * (i - 1));
        f.channelCount = static_cast<uint8_t>(i == 4 ? 32 : 8);
        f.reservedByte = static_cast<uint8_t>(0xA0 + i);
        for (int c = 1; c <= 32; ++c) {
            if (c <= f.channelCount)
                f.channelCode[c] = static_cast<uint8_t>((c * 13 + i) % 256);
            f.adjustValue[c] = static_cast<uint8_t>(c * 8);
            f.testValue[c] = static_cast<uint8_t>(255 - c);
        }
    }
    library.fixture(100).name = u"名字二十个字符名字二十个字符名字二十个"; // 20 characters, no channels
}

} // namespace

std::vector<uint8_t> coreTestShow()
{
    showfile::ShowRig rig;
    showfile::fillShow(rig);
    return saved(rig);
}

std::vector<uint8_t> edgeShow()
{
    showfile::ShowRig rig;
    show::Show& s = *rig.show;
    edgeLibrary(s.library);
    s.scenes = richSceneTable();
    fx::fillEffect(s.effects.effect(1), 1);
    fx::fillEffect(s.effects.effect(50), 50);
    s.lightControl.fixedDmxChannel = 512;
    s.lightControl.fixedDmxOnValue = 255;
    for (int k = 1; k <= lightcontrol::kIrKeyCount; ++k)
        s.lightControl.effectsUnitIr[k] = {static_cast<uint8_t>(k), 0, 0xFF, static_cast<uint8_t>(k * 3)};
    s.motionThreshold = 0;
    // Values the loader would correct are not stored by a tool that loaded its show.
    lightcontrol::validateLightControl(s.lightControl);
    rig.materialFiles.switchEffect(1);
    edgeMaterial(s.materials.at(1, 1), 600, 20, 32, 1);
    edgeMaterial(s.materials.at(20, 12), 3, 1, 1, 2);
    rig.materialFiles.switchEffect(50);
    edgeMaterial(s.materials.at(7, 3), 40, 5, 9, 3);
    return saved(rig);
}

std::vector<uint8_t> largeShow()
{
    showfile::ShowRig rig;
    show::Show& s = *rig.show;
    edgeLibrary(s.library);
    s.effects = fx::richEffectTable();
    s.scenes = richSceneTable();
    lightcontrol::validateLightControl(s.lightControl);
    for (int e = 1; e <= effects::kEffectCount; ++e) {
        rig.materialFiles.switchEffect(e);
        for (int m = 1; m <= materials::kModules; ++m)
            edgeMaterial(s.materials.at(m, 1 + (e + m) % 12), 4 + (e * m) % 9, 1 + m % 4, 1 + e % 6,
                         static_cast<uint8_t>(e + m));
    }
    return saved(rig);
}

nlohmann::json dumped(const std::vector<uint8_t>& image)
{
    TempDir scratch;
    rz::ctl::Workspace ws(scratch.path());
    return rz::ctl::fileToJson(image, ws);
}

std::vector<uint8_t> built(const nlohmann::json& doc)
{
    TempDir scratch;
    rz::ctl::Workspace ws(scratch.path());
    rz::ctl::showFromJson(doc, ws);
    const auto image = rz::ctl::encodeWorkspace(ws, {u"2027/01/02 03:04:05", u"/elsewhere/"});
    EXPECT_TRUE(image.has_value());
    return image.value_or(std::vector<uint8_t>{});
}

} // namespace rz::test::ctl
