#include "core/scenes/SceneSection.h"

#include <array>
#include <bit>

namespace rz::scenes {

using files::ByteReader;
using files::ByteWriter;

namespace {

constexpr std::size_t kSectionStartSize = 8; // marker and identifier
constexpr std::size_t kRecordHeaderSize = 6; // effect, flags, relay mask, dimmer mask

uint32_t relayMask(const Scene& s)
{
    uint32_t mask = 0;
    for (int r = 1; r <= kRelayCount; ++r)
        if (s.relays[r] != 0)
            mask |= 1u << (r - 1);
    return mask;
}

uint8_t dimmerMask(const Scene& s)
{
    uint8_t mask = 0;
    for (int d = 1; d <= kDimmerCount; ++d)
        if (s.dimmers[d] != 0)
            mask = static_cast<uint8_t>(mask | (1u << (d - 1)));
    return mask;
}

std::size_t recordSize(const Scene& s)
{
    return kRecordHeaderSize + static_cast<std::size_t>(std::popcount(dimmerMask(s)));
}

void writeSceneRecord(const Scene& s, ByteWriter& out)
{
    out.putByte(s.effect);
    out.putByte(s.mainsByDmx == 1 ? 1 : 0);
    out.putInt24(relayMask(s));
    const uint8_t dimmers = dimmerMask(s);
    out.putByte(dimmers);
    for (int d = 1; d <= kDimmerCount; ++d)
        if (dimmers & (1u << (d - 1)))
            out.putByte(s.dimmers[d]);
}

void readSceneRecord(Scene& s, ByteReader& in)
{
    s.effect = in.getByte();
    s.mainsByDmx = in.getByte() & 0x01;
    const uint32_t relays = in.getInt24();
    const uint8_t dimmers = in.getByte();
    for (int r = 1; r <= kRelayCount; ++r)
        s.relays[r] = (relays >> (r - 1)) & 1u;
    for (int d = 1; d <= kDimmerCount; ++d)
        s.dimmers[d] = (dimmers & (1u << (d - 1))) ? in.getByte() : 0;
}

template <typename Field>
void putPerScene(const SceneTable& table, ByteWriter& out, Field field)
{
    for (int i = 1; i <= kSceneCount; ++i)
        out.putByte(field(table.scene(i)));
}

template <typename Field>
void getPerScene(SceneTable& table, ByteReader& in, Field field)
{
    const std::vector<uint8_t> values = in.getBytes(kSceneCount);
    for (int i = 1; i <= kSceneCount; ++i)
        field(table.scene(i)) = values[static_cast<std::size_t>(i - 1)];
}

// The extension block at the cursor; a section without one (an older file) keeps the cleared
// sound programs and audio sources. False when the block is there but cut short.
bool readExtension(SceneTable& read, const ByteReader& afterNotes)
{
    ByteReader in = afterNotes;
    if (in.getId() != kSceneExtensionId)
        return true;
    const uint8_t flags = in.getByte();
    in.getByte();
    if (flags & kExtensionHasSound)
        getPerScene(read, in, [](Scene& s) -> uint8_t& { return s.effectsUnitSound; });
    if (flags & kExtensionHasSource)
        getPerScene(read, in, [](Scene& s) -> uint8_t& { return s.audioSource; });
    return in.ok();
}

} // namespace

bool writeSceneSection(const SceneTable& table, ByteWriter& out)
{
    std::size_t associationAt = out.cursor() + kSectionStartSize + kSceneReservedBytes +
                                2 * kSceneTableEntries;
    for (int i = 1; i <= kSceneCount; ++i)
        if (table.scene(i).hasContent())
            associationAt += recordSize(table.scene(i));
    if (associationAt > kMaxSceneTablePosition)
        return false;

    out.beginSection(kSceneSectionSlot, kSceneSectionId);
    const std::size_t reserved = out.cursor();
    out.putZeros(kSceneReservedBytes);
    const std::size_t tableAt = out.cursor();
    out.putZeros(2 * kSceneTableEntries);

    std::array<uint32_t, kSceneTableEntries> entries{};
    for (int i = 1; i <= kSceneCount; ++i) {
        const Scene& s = table.scene(i);
        if (!s.hasContent())
            continue;
        entries[static_cast<std::size_t>(i - 1)] = static_cast<uint32_t>(out.cursor());
        writeSceneRecord(s, out);
    }
    entries[kSceneCount] = static_cast<uint32_t>(out.cursor());
    putPerScene(table, out, [](const Scene& s) { return s.wallPanelScene; });
    putPerScene(table, out, [](const Scene& s) { return s.vodScene; });
    for (int i = 1; i <= kSceneCount; ++i)
        out.putText(table.scene(i).name, kMaxSceneName);
    for (int r = 1; r <= kRelayCount; ++r)
        out.putText(table.relayNotes[r], kMaxNote);
    for (int d = 1; d <= kDimmerCount; ++d)
        out.putText(table.dimmerNotes[d], kMaxNote);

    const std::size_t extension = out.cursor();
    out.putId(kSceneExtensionId);
    out.putByte(kExtensionHasSound | kExtensionHasSource);
    out.putByte(0);
    putPerScene(table, out, [](const Scene& s) { return s.effectsUnitSound; });
    putPerScene(table, out, [](const Scene& s) { return s.audioSource; });

    out.putWordArrayAt(tableAt, entries);
    out.putLongAt(reserved, static_cast<uint32_t>(extension));
    return true;
}

ReadResult readSceneSection(SceneTable& table, const ByteReader& image)
{
    ByteReader in = image;
    const bool found = in.openSection(kSceneSectionSlot, kSceneSectionId);
    if (!found) {
        if (in.failed())
            return ReadResult::malformed;
        table.clearAllScenes();
        table.applyFixedSceneNames();
        return ReadResult::absent;
    }

    in.getBytes(kSceneReservedBytes);
    const std::vector<uint32_t> entries = in.getWordArray(kSceneTableEntries);
    if (in.failed() || entries[kSceneCount] == 0)
        return ReadResult::malformed;

    SceneTable read;
    for (int i = 1; i <= kSceneCount; ++i) {
        const uint32_t entry = entries[static_cast<std::size_t>(i - 1)];
        if (entry == 0)
            continue;
        in.setCursor(entry);
        readSceneRecord(read.scene(i), in);
    }
    in.setCursor(entries[kSceneCount]);
    getPerScene(read, in, [](Scene& s) -> uint8_t& { return s.wallPanelScene; });
    getPerScene(read, in, [](Scene& s) -> uint8_t& { return s.vodScene; });
    for (int i = 1; i <= kSceneCount; ++i)
        read.scene(i).name = in.getText();
    for (int r = 1; r <= kRelayCount; ++r)
        read.relayNotes[r] = in.getText();
    for (int d = 1; d <= kDimmerCount; ++d)
        read.dimmerNotes[d] = in.getText();
    // Levels, effect numbers, associations, sound programs and audio sources load as stored,
    // even outside what the editor offers: nothing indexes by them, and the page shows them.
    if (in.failed() || !readExtension(read, in))
        return ReadResult::malformed;

    read.applyFixedSceneNames();
    table = std::move(read);
    return ReadResult::ok;
}

} // namespace rz::scenes
