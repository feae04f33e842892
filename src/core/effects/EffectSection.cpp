#include "core/effects/EffectSection.h"

#include "core/files/MarkerSequence.h"

#include <algorithm>
#include <array>
#include <vector>

namespace rz::effects {

using files::ByteReader;
using files::ByteWriter;
using materials::kMaterialsPerEffect;
using Cells = std::bitset<kMaterialsPerEffect>;

namespace {

using SlotFlags = std::array<uint8_t, kSlots + 1> EffectModule::*;
constexpr std::array<SlotFlags, 3> kSlotLists{&EffectModule::allNoBassBeats, &EffectModule::allBassBeats,
                                              &EffectModule::allBeats};

uint8_t flagsOf(const Effect& e)
{
    uint8_t f = 0;
    if (e.independentBass == 1)
        f |= kFlagIndependentBass;
    if (e.bassBeatCorrespondence == 1)
        f |= kFlagBassBeatCorrespondence;
    if (correspondenceInvalidOf(e) == 1)
        f |= kFlagCorrespondenceInvalid;
    if (e.bassDisabled == 1)
        f |= kFlagBassDisabled;
    if (e.bassSwitchJumpsBar == 1)
        f |= kFlagBassSwitchJumpsBar;
    return f;
}

// A count byte, then the material number of every set bit in module and slot order.
void putMaterialList(const Cells& cells, ByteWriter& out)
{
    out.putByte(static_cast<uint32_t>(cells.count()));
    for (std::size_t b = 0; b < cells.size(); ++b)
        if (cells.test(b))
            out.putByte(static_cast<uint32_t>(b + 1));
}

bool getMaterialList(Cells& cells, ByteReader& in)
{
    const uint8_t n = in.getByte();
    const std::vector<uint8_t> numbers = in.getBytes(n);
    if (in.failed())
        return false;
    for (uint8_t number : numbers) {
        if (number < 1 || number > kMaterialsPerEffect)
            return false;
        cells.set(number - 1u);
    }
    return true;
}

Cells slotListCells(const Effect& e, SlotFlags flags)
{
    Cells cells;
    for (int m = 1; m <= kModules; ++m)
        for (int s = 1; s <= kSlots; ++s)
            if ((e.modules[m].*flags)[s] == 1)
                cells.set(static_cast<std::size_t>(materials::materialNumber(m, s) - 1));
    return cells;
}

void setSlotFlags(Effect& e, SlotFlags flags, const Cells& cells)
{
    for (std::size_t b = 0; b < cells.size(); ++b)
        if (cells.test(b)) {
            const auto a = *materials::materialFromNumber(static_cast<int>(b + 1));
            (e.modules[a.module].*flags)[a.slot] = 1;
        }
}

void putBeatMap(const Effect& e, int mode, ByteWriter& out)
{
    const int bars = e.barCount[mode];
    const int beats = e.beatCount[mode];
    const std::size_t table = out.cursor();
    std::vector<uint32_t> offsets;
    offsets.reserve(static_cast<std::size_t>(bars * beats));
    out.putZeros(static_cast<std::size_t>(2 * bars * beats));
    for (int b = 1; b <= bars; ++b)
        for (int t = 1; t <= beats; ++t) {
            // At most 128 cells of 241 bytes: an offset always fits its word.
            offsets.push_back(static_cast<uint32_t>(out.cursor() - table));
            putMaterialList(e.beatGrid.beatCells(mode, b, t), out);
        }
    out.putWordArrayAt(table, offsets);
}

bool getBeatMap(Effect& e, int mode, ByteReader& in)
{
    const int bars = e.barCount[mode];
    const int beats = e.beatCount[mode];
    const std::size_t table = in.cursor();
    const std::vector<uint32_t> offsets = in.getWordArray(static_cast<std::size_t>(bars * beats));
    if (in.failed())
        return false;
    std::size_t k = 0;
    for (int b = 1; b <= bars; ++b)
        for (int t = 1; t <= beats; ++t) {
            in.setCursor(table + offsets[k++]);
            if (!getMaterialList(e.beatGrid.beatCells(mode, b, t), in))
                return false;
        }
    return true;
}

void putBarRecords(const Effect& e, int mode, ByteWriter& out)
{
    out.putByte(kBarRecordSize);
    for (int b = 1; b <= e.barCount[mode]; ++b) {
        const EffectBar& bar = e.bars[mode][b];
        out.putByte(bar.bassHold);
        out.putByte(bar.repeatCount);
        out.putByte(bar.beatDwell);
    }
}

bool getBarRecords(Effect& e, int mode, ByteReader& in)
{
    const uint8_t size = in.getByte();
    const int bars = e.barCount[mode];
    if (bars > 0 && size < kBarRecordSize)
        return false;
    for (int b = 1; b <= bars; ++b) {
        const std::vector<uint8_t> record = in.getBytes(size);
        if (in.failed())
            return false;
        EffectBar& bar = e.bars[mode][b];
        bar.bassHold = record[0];
        bar.repeatCount = record[1];
        bar.beatDwell = record[2];
    }
    return in.ok();
}

void putModuleRecords(const Effect& e, ByteWriter& out)
{
    out.putByte(kModuleRecordSize);
    for (int m = 1; m <= kModules; ++m) {
        out.putByte(e.modules[m].fourMaterialLink);
        out.putByte(e.modules[m].linkRepeatCount);
    }
}

bool getModuleRecords(Effect& e, ByteReader& in)
{
    const uint8_t size = in.getByte();
    if (size < kModuleRecordSize)
        return false;
    for (int m = 1; m <= kModules; ++m) {
        const std::vector<uint8_t> record = in.getBytes(size);
        if (in.failed())
            return false;
        e.modules[m].fourMaterialLink = record[0];
        e.modules[m].linkRepeatCount = record[1];
    }
    return true;
}

void putHeader(const Effect& e, ByteWriter& out)
{
    out.putByte(flagsOf(e));
    out.putByte(e.bassHoldTime);
    out.putByte(e.barCount[0]);
    out.putByte(e.beatCount[0]);
    out.putByte(e.barCount[1]);
    out.putByte(e.beatCount[1]);
    // Thresholds are held wider than their byte; the editor keeps them in range.
    out.putByte(std::min<uint32_t>(e.rgbThreshold, 255));
    out.putByte(std::min<uint32_t>(e.xyThreshold, 255));
    out.putZeros(2);
}

bool getHeader(Effect& e, ByteReader& in)
{
    const std::vector<uint8_t> h = in.getBytes(10);
    if (in.failed())
        return false;
    // Flags are only ever set, so the cleared value stays where a bit is clear. The derived
    // flag (bit 2) is recomputed, never read.
    if (h[0] & kFlagIndependentBass)
        e.independentBass = 1;
    if (h[0] & kFlagBassBeatCorrespondence)
        e.bassBeatCorrespondence = 1;
    if (h[0] & kFlagBassDisabled)
        e.bassDisabled = 1;
    if (h[0] & kFlagBassSwitchJumpsBar)
        e.bassSwitchJumpsBar = 1;
    e.bassHoldTime = h[1];
    e.barCount = {h[2], h[4]};
    e.beatCount = {h[3], h[5]};
    e.rgbThreshold = h[6];
    e.xyThreshold = h[7];
    return e.barCount[0] <= kMaxBars && e.barCount[1] <= kMaxBars && e.beatCount[0] <= kMaxBeats &&
           e.beatCount[1] <= kMaxBeats;
}

bool fits(std::size_t position) { return position <= kMaxFilePosition; }

} // namespace

bool writeEffectBody(const Effect& e, ByteWriter& out)
{
    const std::size_t table = out.cursor();
    out.putZeros(3 * kBodyTableEntries);
    std::vector<uint32_t> blocks(kBodyTableEntries, 0);
    auto block = [&](int n) { blocks[static_cast<std::size_t>(n - 1)] = static_cast<uint32_t>(out.cursor()); };

    block(1);
    putHeader(e, out);
    for (int k = 0; k < 3; ++k) {
        block(2 + k);
        putMaterialList(slotListCells(e, kSlotLists[static_cast<std::size_t>(k)]), out);
    }
    for (int mode = 0; mode < kModes; ++mode) {
        block(5 + mode);
        putBeatMap(e, mode, out);
    }
    for (int mode = 0; mode < kModes; ++mode) {
        block(7 + mode);
        putBarRecords(e, mode, out);
    }
    block(9);
    putModuleRecords(e, out);

    out.putInt24ArrayAt(table, blocks);
    return fits(out.cursor());
}

bool readEffectBody(Effect& e, ByteReader& in)
{
    const std::vector<uint32_t> blocks = in.getInt24Array(kBodyTableEntries);
    if (in.failed())
        return false;
    auto at = [&](int n) {
        in.setCursor(blocks[static_cast<std::size_t>(n - 1)]);
        return in.ok();
    };
    if (!at(1) || !getHeader(e, in))
        return false;
    for (int k = 0; k < 3; ++k) {
        Cells cells;
        if (!at(2 + k) || !getMaterialList(cells, in))
            return false;
        setSlotFlags(e, kSlotLists[static_cast<std::size_t>(k)], cells);
    }
    for (int mode = 0; mode < kModes; ++mode)
        if (!at(5 + mode) || !getBeatMap(e, mode, in))
            return false;
    for (int mode = 0; mode < kModes; ++mode)
        if (!at(7 + mode) || !getBarRecords(e, mode, in))
            return false;
    return at(9) && getModuleRecords(e, in);
}

void writeTextBlock(const Effect& e, ByteWriter& out)
{
    out.putText(e.note, kMaxNoteLength);
    for (int m = 1; m <= kModules; ++m)
        out.putText(e.modules[m].note, kMaxNoteLength);
}

bool readTextBlock(Effect& e, ByteReader& in)
{
    e.note = in.getText();
    for (int m = 1; m <= kModules; ++m)
        e.modules[m].note = in.getText();
    return in.ok();
}

bool writeEffectSection(const EffectTable& table, int sectionNo, ByteWriter& out)
{
    out.beginSection(sectionNo, kEffectSectionId);
    out.putZeros(kEffectReservedBytes);
    const std::size_t entries = out.cursor();
    out.putZeros(3 * kEffectCount);
    std::vector<uint32_t> bodies(kEffectCount, 0);
    bool ok = true;
    for (int i = 1; i <= kEffectCount; ++i) {
        const Effect& e = table.effect(i);
        if (hasContent(e)) {
            ok = ok && fits(out.cursor());
            bodies[static_cast<std::size_t>(i - 1)] = static_cast<uint32_t>(out.cursor());
            ok = writeEffectBody(e, out) && ok;
        }
        writeTextBlock(e, out);
    }
    out.putInt24ArrayAt(entries, bodies);
    out.putBytes(files::kMarkerSequence);
    return ok && !out.overflowed();
}

ReadResult readEffectSection(EffectTable& table, int sectionNo, const ByteReader& image)
{
    ByteReader in = image;
    if (!in.openSection(sectionNo, kEffectSectionId)) {
        if (in.failed())
            return ReadResult::malformed;
        table.clearAllEffects();
        return ReadResult::absent;
    }
    in.setCursor(in.cursor() + kEffectReservedBytes);
    const std::vector<uint32_t> bodies = in.getInt24Array(kEffectCount);
    if (in.failed())
        return ReadResult::malformed;
    EffectTable read;
    for (int i = 1; i <= kEffectCount; ++i) {
        Effect& e = read.effect(i);
        const uint32_t body = bodies[static_cast<std::size_t>(i - 1)];
        if (body > 0) {
            in.setCursor(body);
            if (in.failed() || !readEffectBody(e, in))
                return ReadResult::malformed;
        }
        if (!readTextBlock(e, in))
            return ReadResult::malformed;
    }
    table = std::move(read);
    return ReadResult::ok;
}

} // namespace rz::effects
