#pragma once
// Effects and materials with something in every field, and file images, for the effect tests.
#include "core/effects/EffectSection.h"
#include "core/effects/EffectTable.h"
#include "core/files/ByteImage.h"
#include "core/fixtures/FixtureLibrary.h"
#include "core/materials/Material.h"

#include <cstdint>
#include <initializer_list>
#include <vector>

namespace rz::test::fx {

inline constexpr std::size_t kShowHeaderSize = 204; // identifier and 50 slots
inline constexpr std::size_t kImageCapacity = 1u << 22;

inline std::vector<uint8_t> bytesOf(std::initializer_list<std::vector<uint8_t>> parts)
{
    std::vector<uint8_t> out;
    for (const auto& p : parts)
        out.insert(out.end(), p.begin(), p.end());
    return out;
}

// A sectioned file holding only the effect section, in slot 12.
inline std::vector<uint8_t> effectSectionImage(const effects::EffectTable& table)
{
    files::ByteWriter out(kImageCapacity);
    out.beginSectionedFile("F10410A1", 50);
    effects::writeEffectSection(table, effects::kEffectSectionSlot, out);
    return out.take();
}

// Every stored field of effect i set, from both modes and every table; beat counts below 8
// in one mode so that unstored beats exist too.
inline void fillEffect(effects::Effect& e, int i)
{
    using namespace rz::effects;
    e.note = u"效果" + std::u16string(1, static_cast<char16_t>(u'A' + i % 26));
    e.independentBass = 1;
    e.bassBeatCorrespondence = i % 2;
    e.bassDisabled = i % 3 == 0;
    e.bassSwitchJumpsBar = i % 4 == 0;
    e.bassHoldTime = static_cast<uint8_t>(5 * (i % 20));
    e.barCount = {static_cast<uint8_t>(1 + i % 16), static_cast<uint8_t>(i % 17)};
    e.beatCount = {static_cast<uint8_t>(1 + i % 8), static_cast<uint8_t>(i % 5 == 0 ? 0 : 8)};
    e.rgbThreshold = static_cast<uint16_t>(i * 5);
    e.xyThreshold = static_cast<uint16_t>(i * 2);
    for (int m = 1; m <= kModules; ++m) {
        EffectModule& mod = e.modules[m];
        mod.note = m % 3 ? u"模块" + std::u16string(1, static_cast<char16_t>(u'0' + m % 10)) : u"";
        mod.fourMaterialLink = (m + i) % 2;
        mod.linkRepeatCount = static_cast<uint8_t>((m * i) % 31);
        for (int s = 1; s <= kSlots; ++s) {
            mod.allNoBassBeats[s] = (m + s + i) % 7 == 0;
            mod.allBassBeats[s] = (m * s + i) % 11 == 0;
            mod.allBeats[s] = (m + 2 * s + i) % 13 == 0;
        }
    }
    for (int k = 0; k < kModes; ++k)
        for (int b = 1; b <= e.barCount[k]; ++b) {
            e.bars[k][b] = {static_cast<uint8_t>((b + k) % 2), static_cast<uint8_t>((b * 3 + i) % 37),
                            static_cast<uint8_t>((b * 10 + i) % 256)};
            for (int t = 1; t <= e.beatCount[k]; ++t)
                for (int m = 1; m <= kModules; ++m)
                    for (int s = 1; s <= kSlots; ++s)
                        e.beatGrid.setCell(k, b, t, m, s, (m * 5 + s * 3 + t + b + k + i) % 9 == 0);
        }
}

// Effects 1..50 with content, except every seventh that holds only notes.
inline effects::EffectTable richEffectTable()
{
    effects::EffectTable t;
    for (int i = 1; i <= effects::kEffectCount; ++i) {
        if (i % 7 == 0) {
            t.effect(i).note = u"只有备注";
            t.effect(i).modules[20].note = u"M20";
        } else {
            fillEffect(t.effect(i), i);
        }
    }
    return t;
}

// Library fixture 1 at address 1 with channels coded 1..4.
inline void fillLibrary(fixtures::FixtureLibrary& library)
{
    fixtures::Fixture& fx = library.fixture(1);
    fx.startAddress = 1;
    fx.channelCount = 4;
    for (int c = 1; c <= 4; ++c)
        fx.channelCode[c] = static_cast<uint8_t>(c);
}

// A valid material of `steps` steps on virtual fixture 1, channel c playing level
// base + step on the address of library fixture 1's channel c.
inline void fillMaterial(materials::Material& m, int steps, uint8_t base, int channels = 1)
{
    m.name = u"素材";
    m.stepCount = static_cast<int16_t>(steps);
    m.uniformTime = 1;
    m.fixtureCount = 1;
    m.channelCount = static_cast<uint8_t>(channels);
    for (int c = 1; c <= channels; ++c)
        m.channelCodes[c] = static_cast<uint8_t>(c);
    m.patch[1][1] = 1;
    for (int i = 1; i <= steps; ++i)
        for (int c = 1; c <= channels; ++c)
            m.setLevel(i, 1, c, static_cast<uint8_t>(base + i));
}

} // namespace rz::test::fx
