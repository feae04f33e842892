#pragma once
// Scene tables and show-like images for the scene tests.
#include "core/files/ByteImage.h"
#include "core/scenes/SceneSection.h"

#include <cstdint>
#include <initializer_list>
#include <vector>

namespace rz::test {

inline constexpr std::size_t kShowHeaderSize = 204; // identifier and 50 slots
inline constexpr std::size_t kTestImageCapacity = 1u << 17;

inline std::vector<uint8_t> bytesOf(std::initializer_list<std::vector<uint8_t>> parts)
{
    std::vector<uint8_t> out;
    for (const auto& p : parts)
        out.insert(out.end(), p.begin(), p.end());
    return out;
}

// A show file holding only the scene section, written where the show writes it when the
// light-control section is left out.
inline std::vector<uint8_t> sceneImage(const scenes::SceneTable& table)
{
    files::ByteWriter out(kTestImageCapacity);
    out.beginSectionedFile("F10410A1", 50);
    scenes::writeSceneSection(table, out);
    return out.take();
}

// Something in every field the section stores, all within range.
inline scenes::SceneTable richSceneTable()
{
    using namespace rz::scenes;
    SceneTable t;
    for (int i = 1; i <= kSceneCount; ++i) {
        Scene& s = t.scene(i);
        s.name = i % 3 == 0 ? u"场景" + std::u16string(1, static_cast<char16_t>(u'A' + i % 26)) : u"";
        s.effect = static_cast<uint8_t>(i % 4 == 0 ? 0 : (i * 7) % 50 + 1);
        s.mainsByDmx = i % 5 == 0 ? 1 : 0;
        for (int r = 1; r <= kRelayCount; ++r)
            s.relays[r] = (i + r) % 3 == 0 ? 1 : 0;
        for (int d = 1; d <= kDimmerCount; ++d)
            s.dimmers[d] = static_cast<uint8_t>((i * d) % 7 == 0 ? 0 : (i * 13 + d) % 100);
        s.wallPanelScene = static_cast<uint8_t>((i * 11) % 31);
        s.vodScene = static_cast<uint8_t>((i * 17) % 31);
        s.effectsUnitSound = static_cast<uint8_t>(i % 7);
        s.audioSource = static_cast<uint8_t>((i + 3) % 7);
        if (i % 10 == 0) { // no content: only its name, associations, sound and source
            s.effect = 0;
            s.mainsByDmx = 0;
            s.relays.fill(0);
            s.dimmers.fill(0);
        }
    }
    for (int r = 1; r <= kRelayCount; ++r)
        t.relayNotes[r] = r % 2 ? u"继电器" + std::u16string(1, static_cast<char16_t>(u'0' + r % 10)) : u"";
    for (int d = 1; d <= kDimmerCount; ++d)
        t.dimmerNotes[d] = u"Dim" + std::u16string(1, static_cast<char16_t>(u'0' + d));
    t.applyFixedSceneNames();
    return t;
}

} // namespace rz::test
