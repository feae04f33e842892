#include "ctl/ModelJson.h"

#include "ctl/TableJson.h"
#include "core/app/Utf.h"

#include <string>

namespace rz::ctl {

using nlohmann::json;
using namespace detail;

namespace {

std::string utf8(const std::u16string& t) { return toUtf8(t); }

using EF = effects::Effect;
const std::array<ByteField<EF>, 6> kEffectBytes{{
    {"independentBass", &EF::independentBass, 1},
    {"bassBeatCorrespondence", &EF::bassBeatCorrespondence, 1},
    {"correspondenceInvalid", &EF::correspondenceInvalid, 1},
    {"bassDisabled", &EF::bassDisabled, 1},
    {"bassSwitchJumpsBar", &EF::bassSwitchJumpsBar, 1},
    {"bassHoldTime", &EF::bassHoldTime, 255},
}};

using MA = materials::Material;
const std::array<ByteField<MA>, 12> kMaterialBytes{{
    {"perStepTimeMode", &MA::perStepTimeMode, 1},
    {"allStepsFade", &MA::allStepsFade, 1},
    {"jumpInterval", &MA::jumpInterval, 255},
    {"jumpAtIntervalEndOnly", &MA::jumpAtIntervalEndOnly, 1},
    {"brightnessReduction", &MA::brightnessReduction, 255},
    {"startMode", &MA::startMode, 255},
    {"dimmingRole", &MA::dimmingRole, 255},
    {"hwAcceleration", &MA::hwAcceleration, 255},
    {"restartOnCall", &MA::restartOnCall, 1},
    {"fixtureCount", &MA::fixtureCount, materials::kMaxVirtualFixtures},
    {"channelCount", &MA::channelCount, materials::kMaxChannels},
    {"motionType", &MA::motionType, 255},
}};

} // namespace

// ---- effects ----

json effectModuleToJson(const effects::EffectModule& m)
{
    return json{{"note", utf8(m.note)},
                {"fourMaterialLink", m.fourMaterialLink},
                {"linkRepeatCount", m.linkRepeatCount},
                {"allNoBassBeats", oneBased(m.allNoBassBeats, effects::kSlots)},
                {"allBassBeats", oneBased(m.allBassBeats, effects::kSlots)},
                {"allBeats", oneBased(m.allBeats, effects::kSlots)}};
}

void effectModuleFromJson(const JsonInput& in, effects::EffectModule& m)
{
    m.note = in.text("note", effects::kMaxNoteLength);
    m.fourMaterialLink = static_cast<uint8_t>(in.number("fourMaterialLink", 0, 255));
    m.linkRepeatCount = static_cast<uint8_t>(in.number("linkRepeatCount", 0, 255));
    oneBasedFrom(in.member("allNoBassBeats"), m.allNoBassBeats, effects::kSlots, 0, 1);
    oneBasedFrom(in.member("allBassBeats"), m.allBassBeats, effects::kSlots, 0, 1);
    oneBasedFrom(in.member("allBeats"), m.allBeats, effects::kSlots, 0, 1);
}

json effectToJson(const EF& e)
{
    json out = json{{"note", utf8(e.note)}};
    putBytes(out, e, kEffectBytes);
    out["barCount"] = {e.barCount[0], e.barCount[1]};
    out["beatCount"] = {e.beatCount[0], e.beatCount[1]};
    out["rgbThreshold"] = e.rgbThreshold;
    out["xyThreshold"] = e.xyThreshold;
    json modules = json::array();
    for (int m = 1; m <= effects::kModules; ++m)
        modules.push_back(effectModuleToJson(e.modules[static_cast<std::size_t>(m)]));
    out["modules"] = modules;
    json bars = json::array();
    for (int mode = 0; mode < effects::kModes; ++mode) {
        json modeBars = json::array();
        for (int b = 1; b <= effects::kMaxBars; ++b) {
            const effects::EffectBar& bar = e.bars[static_cast<std::size_t>(mode)][static_cast<std::size_t>(b)];
            modeBars.push_back(json{{"bassHold", bar.bassHold},
                                    {"repeatCount", bar.repeatCount},
                                    {"beatDwell", bar.beatDwell}});
        }
        bars.push_back(modeBars);
    }
    out["bars"] = bars;
    // Only the beats that play anything, as material numbers.
    json grid = json::array();
    for (int mode = 0; mode < effects::kModes; ++mode)
        for (int bar = 1; bar <= effects::kMaxBars; ++bar)
            for (int beat = 1; beat <= effects::kMaxBeats; ++beat) {
                const auto& cells = e.beatGrid.beatCells(mode, bar, beat);
                if (cells.none())
                    continue;
                json numbers = json::array();
                for (int n = 1; n <= materials::kMaterialsPerEffect; ++n)
                    if (cells.test(static_cast<std::size_t>(n - 1)))
                        numbers.push_back(n);
                grid.push_back(json{{"mode", mode}, {"bar", bar}, {"beat", beat}, {"materials", numbers}});
            }
    out["beatGrid"] = grid;
    return out;
}

void effectFromJson(const JsonInput& in, EF& e)
{
    e.note = in.text("note", effects::kMaxNoteLength);
    takeBytes(in, e, kEffectBytes);
    const JsonInput barCount = in.member("barCount");
    const JsonInput beatCount = in.member("beatCount");
    for (std::size_t mode = 0, n = barCount.arraySize(effects::kModes); mode < n; ++mode)
        e.barCount[mode] = static_cast<uint8_t>(barCount.element(mode).number(0, effects::kMaxBars));
    for (std::size_t mode = 0, n = beatCount.arraySize(effects::kModes); mode < n; ++mode)
        e.beatCount[mode] = static_cast<uint8_t>(beatCount.element(mode).number(0, effects::kMaxBeats));
    e.rgbThreshold = static_cast<uint16_t>(in.number("rgbThreshold", 0, 255));
    e.xyThreshold = static_cast<uint16_t>(in.number("xyThreshold", 0, effects::kMaxXyThreshold));
    const JsonInput modules = in.member("modules");
    for (std::size_t m = 0, n = modules.arraySize(effects::kModules); m < n; ++m)
        effectModuleFromJson(modules.element(m), e.modules[m + 1]);
    const JsonInput bars = in.member("bars");
    for (std::size_t mode = 0, n = bars.arraySize(effects::kModes); mode < n; ++mode) {
        const JsonInput modeBars = bars.element(mode);
        for (std::size_t b = 0, nb = modeBars.arraySize(effects::kMaxBars); b < nb; ++b) {
            const JsonInput j = modeBars.element(b);
            effects::EffectBar& bar = e.bars[mode][b + 1];
            bar.bassHold = static_cast<uint8_t>(j.number("bassHold", 0, 255));
            bar.repeatCount = static_cast<uint8_t>(j.number("repeatCount", 0, 255));
            bar.beatDwell = static_cast<uint8_t>(j.number("beatDwell", 0, 255));
        }
    }
    const JsonInput grid = in.member("beatGrid");
    const std::size_t beats = grid.arraySize(static_cast<std::size_t>(effects::kModes) * effects::kMaxBars *
                                             effects::kMaxBeats);
    for (std::size_t k = 0; k < beats; ++k) {
        const JsonInput j = grid.element(k);
        const auto mode = static_cast<int>(j.number("mode", 0, effects::kModes - 1));
        const auto bar = static_cast<int>(j.number("bar", 1, effects::kMaxBars));
        const auto beat = static_cast<int>(j.number("beat", 1, effects::kMaxBeats));
        auto& cells = e.beatGrid.beatCells(mode, bar, beat);
        const JsonInput numbers = j.member("materials");
        for (std::size_t i = 0, n = numbers.arraySize(materials::kMaterialsPerEffect); i < n; ++i)
            cells.set(static_cast<std::size_t>(numbers.element(i).number(1, materials::kMaterialsPerEffect) - 1));
    }
}

// ---- materials ----

json materialToJson(const MA& m)
{
    const int fc = m.fixtureCount;
    const int cc = m.channelCount;
    json out = json{{"name", utf8(m.name)}, {"stepCount", m.stepCount}, {"uniformTime", m.uniformTime}};
    putBytes(out, m, kMaterialBytes);
    out["channelCodes"] = oneBased(m.channelCodes, cc);
    json patch = json::array();
    for (int f = 1; f <= fc; ++f) {
        json real = json::array();
        for (int r = 1; r <= materials::kLibraryFixtures; ++r)
            if (m.patch[static_cast<std::size_t>(f)][static_cast<std::size_t>(r)] != 0)
                real.push_back(r);
        patch.push_back(real);
    }
    out["patch"] = patch;
    json temp = json::array();
    for (int k = 1; k <= materials::kTempChannelEntries; ++k)
        if (m.tempChannels[static_cast<std::size_t>(k)] != 0)
            temp.push_back(m.tempChannels[static_cast<std::size_t>(k)]);
    out["tempChannels"] = temp;
    if (m.motionType != 0) {
        out["motionGlobal"] = oneBased(m.motionGlobal, materials::kMotionParameters);
        json perFixture = json::array();
        for (int f = 1; f <= fc; ++f)
            perFixture.push_back(oneBased(m.motionPerFixture[static_cast<std::size_t>(f)], materials::kMotionParameters));
        out["motionPerFixture"] = perFixture;
    }
    json steps = json::array();
    for (int i = 1; i <= m.stepCount; ++i) {
        const materials::MaterialStep& s = m.step(i);
        json j = json{{"stepTime", s.stepTime}, {"fadeToNext", s.fadeToNext}, {"stepMark", s.stepMark}};
        if (!m.stepIsAllZero(i)) {
            json levels = json::array();
            for (int f = 1; f <= fc; ++f) {
                json row = json::array();
                for (int c = 1; c <= cc; ++c)
                    row.push_back(s.level(f, c));
                levels.push_back(row);
            }
            j["levels"] = levels;
        }
        steps.push_back(j);
    }
    out["steps"] = steps;
    return out;
}

void materialFromJson(const JsonInput& in, MA& m)
{
    m.name = in.text("name", kTextLength);
    m.stepCount = static_cast<int16_t>(in.number("stepCount", 0, materials::kMaxSteps));
    m.uniformTime = static_cast<int16_t>(in.number("uniformTime", kWordMin, kWordMax));
    takeBytes(in, m, kMaterialBytes);
    const int fc = m.fixtureCount;
    const int cc = m.channelCount;
    oneBasedFrom(in.member("channelCodes"), m.channelCodes, cc, 0, 255);

    const JsonInput patch = in.member("patch");
    for (std::size_t f = 0, n = patch.arraySize(static_cast<std::size_t>(fc)); f < n; ++f) {
        const JsonInput real = patch.element(f);
        for (std::size_t k = 0, nr = real.arraySize(materials::kLibraryFixtures); k < nr; ++k)
            m.patch[f + 1][static_cast<std::size_t>(real.element(k).number(1, materials::kLibraryFixtures))] = 1;
    }
    oneBasedFrom(in.member("tempChannels"), m.tempChannels, materials::kTempChannelEntries, 1, 255);
    oneBasedFrom(in.member("motionGlobal"), m.motionGlobal, materials::kMotionParameters, kWordMin, kWordMax);
    const JsonInput perFixture = in.member("motionPerFixture");
    for (std::size_t f = 0, n = perFixture.arraySize(static_cast<std::size_t>(fc)); f < n; ++f)
        oneBasedFrom(perFixture.element(f), m.motionPerFixture[f + 1], materials::kMotionParameters, kWordMin,
                     kWordMax);

    const JsonInput steps = in.member("steps");
    const std::size_t stepCount = steps.arraySize(static_cast<std::size_t>(m.stepCount));
    for (std::size_t k = 0; k < stepCount; ++k) {
        const JsonInput j = steps.element(k);
        const int i = static_cast<int>(k) + 1;
        const auto time = static_cast<int16_t>(j.number("stepTime", kWordMin, kWordMax));
        const auto fade = static_cast<uint8_t>(j.number("fadeToNext", 0, 1));
        const auto mark = static_cast<uint8_t>(j.number("stepMark", 0, 1));
        if (time != 0 || fade != 0 || mark != 0) {
            materials::MaterialStep& s = m.editStep(i);
            s.stepTime = time;
            s.fadeToNext = fade;
            s.stepMark = mark;
        }
        const JsonInput levels = j.member("levels");
        for (std::size_t f = 0, nf = levels.arraySize(static_cast<std::size_t>(fc)); f < nf; ++f) {
            const JsonInput row = levels.element(f);
            for (std::size_t c = 0, nc = row.arraySize(static_cast<std::size_t>(cc)); c < nc; ++c)
                m.setLevel(i, static_cast<int>(f) + 1, static_cast<int>(c) + 1,
                           static_cast<uint8_t>(row.element(c).number(0, 255)));
        }
    }
}

json storeToJson(const materials::MaterialStore& store, int onlyModule)
{
    json list = json::array();
    for (int mod = 1; mod <= materials::kModules; ++mod) {
        if (onlyModule != 0 && mod != onlyModule)
            continue;
        for (int slot = 1; slot <= materials::kSlots; ++slot) {
            if (!store.isValid(mod, slot))
                continue;
            json j = json{{"module", mod}, {"slot", slot}};
            j.update(materialToJson(store.at(mod, slot)));
            list.push_back(j);
        }
    }
    return list;
}

void storeFromJson(const JsonInput& in, materials::MaterialStore& store, int onlyModule)
{
    std::vector<bool> seen(materials::kMaterialsPerEffect + 1);
    for (std::size_t k = 0, n = in.arraySize(materials::kMaterialsPerEffect); k < n; ++k) {
        const JsonInput j = in.element(k);
        const auto mod = onlyModule != 0 ? static_cast<int>(j.number("module", onlyModule, onlyModule))
                                         : static_cast<int>(j.number("module", 1, materials::kModules));
        const auto slot = static_cast<int>(j.number("slot", 1, materials::kSlots));
        checkUnique(j.member("slot"), seen, static_cast<std::size_t>(materials::materialNumber(mod, slot)),
                    "material");
        MA& m = store.at(mod, slot);
        materialFromJson(j, m);
        // Only valid materials are stored; anything else would vanish without a word.
        if (!m.isValid())
            j.refuse("a material needs stepCount, fixtureCount and channelCount above 0");
    }
}

} // namespace rz::ctl
