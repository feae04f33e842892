#include "core/materials/MaterialRecord.h"

#include "core/materials/OutputMap.h"

#include <algorithm>
#include <array>
#include <utility>
#include <vector>

namespace rz::materials {

namespace {

constexpr std::size_t kHeaderSize = 20;
constexpr std::size_t kNameLength = 20;
constexpr int kMaxAddressesPerChannel = 255;
constexpr uint32_t kMaxAddressTableBytes = 0xFFFF;

enum HeaderFlag : uint8_t {
    kFlagPerStepTime = 1 << 0,
    kFlagAllStepsFade = 1 << 1,
    kFlagMarkedSteps = 1 << 2,
    kFlagJumpAtEnd = 1 << 3,
    kFlagMotion = 1 << 4,
    kFlagRestartOnCall = 1 << 5,
};
enum StepFlag : uint8_t { kStepFade = 1 << 0, kStepMark = 1 << 1, kStepAllZero = 1 << 2 };

int usedFixtures(const Material& m) { return std::min<int>(m.fixtureCount, kMaxVirtualFixtures); }
int usedChannels(const Material& m) { return std::min<int>(m.channelCount, kMaxChannels); }

} // namespace

void writeMaterial(const Material& m, const fixtures::FixtureLibrary& library, files::ByteWriter& w)
{
    const int steps = std::clamp<int>(m.stepCount, 0, kMaxSteps);
    const int fc = usedFixtures(m);
    const int cc = usedChannels(m);
    const int marked = m.countMarkedSteps();

    std::array<uint8_t, kHeaderSize> header{};
    header[0] = static_cast<uint8_t>(steps >> 8);
    header[1] = static_cast<uint8_t>(steps);
    header[2] = static_cast<uint8_t>((m.perStepTimeMode == 1 ? kFlagPerStepTime : 0) |
                                     (m.allStepsFade == 1 ? kFlagAllStepsFade : 0) |
                                     (marked > 0 ? kFlagMarkedSteps : 0) |
                                     (m.jumpAtIntervalEndOnly != 0 ? kFlagJumpAtEnd : 0) |
                                     (m.motionType != 0 ? kFlagMotion : 0) |
                                     (m.restartOnCall != 0 ? kFlagRestartOnCall : 0));
    header[3] = m.jumpInterval;
    header[4] = static_cast<uint8_t>(static_cast<uint16_t>(m.uniformTime) >> 8);
    header[5] = static_cast<uint8_t>(m.uniformTime);
    header[6] = static_cast<uint8_t>(fc);
    header[7] = static_cast<uint8_t>(cc);
    header[8] = m.brightnessReduction;
    header[9] = m.startMode;
    header[10] = m.dimmingRole;
    header[11] = m.hwAcceleration;
    w.putBytes(header);

    const std::size_t directory = w.cursor();
    w.putZeros(12 + 3 * static_cast<std::size_t>(steps));

    std::vector<uint32_t> stepPositions(static_cast<std::size_t>(steps));
    for (int i = 1; i <= steps; ++i) {
        stepPositions[i - 1] = static_cast<uint32_t>(w.cursor());
        const MaterialStep& s = m.step(i);
        const bool zero = m.stepIsAllZero(i);
        w.putWord(static_cast<uint16_t>(s.stepTime));
        w.putByte((s.fadeToNext == 1 ? kStepFade : 0) | (s.stepMark == 1 ? kStepMark : 0) |
                  (zero ? kStepAllZero : 0));
        if (!zero)
            for (int f = 1; f <= fc; ++f)
                for (int c = 1; c <= cc; ++c)
                    w.putByte(s.level(f, c));
    }

    uint32_t patchPosition = 0;
    uint32_t addressPosition = 0;
    if (cc != 0) {
        const OutputMap map = buildOutputMap(m, library);
        patchPosition = static_cast<uint32_t>(w.cursor());
        for (int c = 1; c <= cc; ++c)
            w.putByte(m.channelCodes[c]);
        for (int f = 1; f <= fc; ++f) {
            w.putByte(static_cast<uint32_t>(map.realFixtureCount(f)));
            for (uint8_t r : map.realFixtures[f])
                w.putByte(r);
        }
        addressPosition = static_cast<uint32_t>(w.cursor());
        // The table states its own size; it counts what is really written below.
        uint32_t written = 0;
        for (int f = 1; f <= fc; ++f)
            for (int c = 1; c <= cc; ++c)
                written += static_cast<uint32_t>(std::min(map.addrCount(f, c), kMaxAddressesPerChannel));
        w.putWord(std::min(2 * written, kMaxAddressTableBytes));
        for (int f = 1; f <= fc; ++f)
            for (int c = 1; c <= cc; ++c) {
                const auto addrs = map.addrs(f, c);
                const std::size_t n = std::min<std::size_t>(addrs.size(), kMaxAddressesPerChannel);
                w.putByte(static_cast<uint32_t>(n));
                for (std::size_t k = 0; k < n; ++k)
                    w.putWord(addrs[k]);
            }
    }

    if (marked > 0) {
        w.putWord(static_cast<uint32_t>(marked));
        for (int i = 1; i <= steps; ++i)
            if (m.step(i).stepMark == 1)
                w.putWord(static_cast<uint32_t>(i));
    }

    const auto namePosition = static_cast<uint32_t>(w.cursor());
    w.putText(m.name, kNameLength);
    std::vector<uint8_t> temp;
    for (int k = 1; k <= kTempChannelEntries; ++k)
        if (m.tempChannels[k] != 0)
            temp.push_back(m.tempChannels[k]);
    w.putByte(static_cast<uint32_t>(temp.size()));
    w.putBytes(temp);

    const std::size_t end = w.cursor();
    w.putInt24At(directory, patchPosition);
    w.putInt24At(directory + 3, addressPosition);
    w.putInt24At(directory + 6, 0);
    w.putInt24At(directory + 9, namePosition);
    w.putInt24ArrayAt(directory + 12, stepPositions);
    w.setCursor(end);

    if (m.motionType != 0) {
        w.putByte(m.motionType);
        for (int k = 1; k <= kMotionParameters; ++k) {
            w.putWord(static_cast<uint32_t>(m.motionGlobal[k]));
            for (int f = 1; f <= fc; ++f)
                w.putWord(static_cast<uint32_t>(m.motionPerFixture[f][k]));
        }
    }
}

bool readMaterial(Material& m, files::ByteReader& r)
{
    const int steps = static_cast<int>(r.getWord());
    const uint8_t flags = r.getByte();
    m.jumpInterval = r.getByte();
    m.uniformTime = r.getSignedWord();
    m.fixtureCount = r.getByte();
    m.channelCount = r.getByte();
    m.brightnessReduction = r.getByte();
    m.startMode = r.getByte();
    m.dimmingRole = r.getByte();
    m.hwAcceleration = r.getByte();
    r.setCursor(r.cursor() + 8);
    if (r.failed() || steps > kMaxSteps || m.fixtureCount > kMaxVirtualFixtures ||
        m.channelCount > kMaxChannels)
        return false;
    m.stepCount = static_cast<int16_t>(steps);
    if (flags & kFlagPerStepTime)
        m.perStepTimeMode = 1;
    if (flags & kFlagAllStepsFade)
        m.allStepsFade = 1;
    if (flags & kFlagJumpAtEnd)
        m.jumpAtIntervalEndOnly = 1;
    if (flags & kFlagRestartOnCall)
        m.restartOnCall = 1;

    const uint32_t patchPosition = r.getInt24();
    r.getInt24();
    r.getInt24();
    const uint32_t namePosition = r.getInt24();
    const std::vector<uint32_t> stepPositions = r.getInt24Array(static_cast<std::size_t>(steps));
    if (r.failed())
        return false;

    const int fc = m.fixtureCount;
    const int cc = m.channelCount;
    for (int i = 1; i <= steps; ++i) {
        r.setCursor(stepPositions[i - 1]);
        const int16_t time = r.getSignedWord();
        const uint8_t stepFlags = r.getByte();
        if (r.failed())
            return false;
        if (stepFlags & kStepAllZero) {
            // Stored as time and flags only: its used levels are 0, whatever the step held.
            if (i < m.storedSteps())
                m.editStep(i).clearLevels(fc, cc);
        }
        if (time != 0 || (stepFlags & (kStepFade | kStepMark)) != 0 || !(stepFlags & kStepAllZero)) {
            MaterialStep& s = m.editStep(i);
            s.stepTime = time;
            if (stepFlags & kStepFade)
                s.fadeToNext = 1;
            if (stepFlags & kStepMark)
                s.stepMark = 1;
            if (!(stepFlags & kStepAllZero))
                for (int f = 1; f <= fc; ++f)
                    for (int c = 1; c <= cc; ++c)
                        s.setLevel(f, c, r.getByte());
        }
    }

    if (patchPosition > 0) {
        r.setCursor(patchPosition);
        for (int c = 1; c <= cc; ++c)
            m.channelCodes[c] = r.getByte();
        for (int f = 1; f <= fc; ++f) {
            const int n = r.getByte();
            for (int k = 0; k < n; ++k) {
                const int fixture = r.getByte();
                if (fixture < 1 || fixture > kLibraryFixtures)
                    return false;
                m.patch[f][fixture] = 1;
            }
        }
    }

    r.setCursor(namePosition);
    m.name = r.getText();
    const int temp = r.getByte();
    if (r.failed() || temp > kTempChannelEntries)
        return false;
    for (int k = 1; k <= temp; ++k)
        m.tempChannels[k] = r.getByte();

    if (flags & kFlagMotion) {
        m.motionType = r.getByte();
        if (m.motionType != 0)
            for (int k = 1; k <= kMotionParameters; ++k) {
                m.motionGlobal[k] = r.getSignedWord();
                for (int f = 1; f <= fc; ++f)
                    m.motionPerFixture[f][k] = r.getSignedWord();
            }
    }
    return r.ok();
}

bool writeMaterialSet(const MaterialStore& store, const fixtures::FixtureLibrary& library,
                      files::ByteWriter& w)
{
    const int count = store.validCount();
    if (count == 0)
        return false;
    w.putByte(static_cast<uint32_t>(count));
    const std::size_t index = w.cursor();
    w.putZeros(4 * static_cast<std::size_t>(count));
    std::vector<std::pair<int, uint32_t>> entries;
    for (int m = 1; m <= kModules; ++m)
        for (int s = 1; s <= kSlots; ++s)
            if (store.isValid(m, s)) {
                entries.emplace_back(materialNumber(m, s), static_cast<uint32_t>(w.cursor()));
                writeMaterial(store.at(m, s), library, w);
            }
    const std::size_t end = w.cursor();
    w.setCursor(index);
    for (const auto& [number, position] : entries) {
        w.putByte(static_cast<uint32_t>(number));
        w.putInt24(position);
    }
    w.setCursor(end);
    return true;
}

bool readMaterialSet(MaterialStore& store, files::ByteReader& r)
{
    const int count = r.getByte();
    std::array<std::optional<uint32_t>, kMaterialsPerEffect + 1> positions{};
    for (int k = 0; k < count; ++k) {
        const int number = r.getByte();
        const uint32_t position = r.getInt24();
        if (r.failed() || !materialFromNumber(number))
            return false;
        positions[number] = position;
    }
    std::vector<std::pair<int, Material>> read;
    for (int n = 1; n <= kMaterialsPerEffect; ++n) {
        if (!positions[n])
            continue;
        r.setCursor(*positions[n]);
        Material m;
        if (!readMaterial(m, r))
            return false;
        read.emplace_back(n, std::move(m));
    }
    for (auto& [n, m] : read)
        store.at(*materialFromNumber(n)) = std::move(m);
    return true;
}

} // namespace rz::materials
