#include "core/materials/Material.h"

#include <algorithm>
#include <cassert>
#include <cstring>

namespace rz::materials {

namespace {

bool sameStep(const MaterialStep& a, const MaterialStep& b)
{
    return a.stepTime == b.stepTime && a.fadeToNext == b.fadeToNext && a.stepMark == b.stepMark &&
           a.levels == b.levels;
}

int usedFixtures(const Material& m) { return std::min<int>(m.fixtureCount, kMaxVirtualFixtures); }
int usedChannels(const Material& m) { return std::min<int>(m.channelCount, kMaxChannels); }

} // namespace

void MaterialStep::clearLevels(int fixtureCount, int channelCount)
{
    fixtureCount = std::clamp(fixtureCount, 0, kMaxVirtualFixtures);
    channelCount = std::clamp(channelCount, 0, kMaxChannels);
    for (int f = 0; f < fixtureCount; ++f)
        std::fill_n(levels[f].begin(), channelCount, uint8_t{0});
}

bool MaterialStep::isBlank() const
{
    if (stepTime != 0 || fadeToNext != 0 || stepMark != 0)
        return false;
    for (const auto& row : levels)
        for (uint8_t v : row)
            if (v != 0)
                return false;
    return true;
}

const MaterialStep& Material::step(int i) const
{
    assert(i >= 0 && i <= kMaxSteps);
    return i >= 0 && i < storedSteps() ? steps[i] : unstored;
}

MaterialStep& Material::editStep(int i)
{
    assert(i >= 0 && i <= kMaxSteps);
    i = std::clamp(i, 0, kMaxSteps);
    if (i >= storedSteps())
        steps.resize(i + 1, unstored);
    return steps[i];
}

void Material::setLevel(int i, int fixture, int channel, uint8_t v)
{
    if (v == 0 && i >= storedSteps())
        return; // unstored levels are 0 already
    editStep(i).setLevel(fixture, channel, v);
}

void Material::releaseUnusedSteps()
{
    while (storedSteps() > 1 && sameStep(steps.back(), unstored))
        steps.pop_back();
    if (storedSteps() == 1 && sameStep(steps[0], unstored))
        steps.clear();
    if (steps.capacity() > 2 * steps.size() + 8)
        steps.shrink_to_fit();
}

void Material::keepStepZero()
{
    if (steps.empty())
        steps.push_back(unstored);
}

void Material::resetStepsFromOne()
{
    keepStepZero();
    const int fc = usedFixtures(*this);
    const int cc = usedChannels(*this);
    for (int i = 1; i < storedSteps(); ++i) {
        MaterialStep& s = steps[i];
        s.stepTime = 0;
        s.fadeToNext = 0;
        s.stepMark = 0;
        s.clearLevels(fc, cc);
    }
    unstored.stepTime = 0;
    unstored.fadeToNext = 0;
    unstored.stepMark = 0;
    releaseUnusedSteps();
}

void Material::defaultStepTimes(int16_t time)
{
    for (MaterialStep& s : steps)
        if (s.stepTime == 0)
            s.stepTime = time;
    if (unstored.stepTime == 0) {
        unstored.stepTime = time;
    }
    releaseUnusedSteps();
}

void Material::dropAllSteps()
{
    steps.clear();
    steps.shrink_to_fit();
    unstored = MaterialStep{};
}

bool Material::stepIsAllZero(int i) const
{
    const MaterialStep& s = step(i);
    const int fc = usedFixtures(*this);
    const int cc = usedChannels(*this);
    for (int f = 1; f <= fc; ++f)
        for (int c = 1; c <= cc; ++c)
            if (s.level(f, c) != 0)
                return false;
    return true;
}

int Material::countMarkedSteps() const
{
    int n = 0;
    for (int i = 1; i <= std::min<int>(stepCount, kMaxSteps); ++i)
        if (step(i).stepMark == 1)
            ++n;
    return n;
}

void clearMaterial(Material& m)
{
    m.name.clear();
    m.stepCount = 0;
    m.uniformTime = 0;
    m.perStepTimeMode = 0;
    m.allStepsFade = 0;
    m.jumpInterval = 0;
    m.jumpAtIntervalEndOnly = 0;
    m.brightnessReduction = 0;
    m.startMode = 0;
    m.dimmingRole = 0;
    m.hwAcceleration = 0;
    m.restartOnCall = 0;
    m.resetStepsFromOne(); // with the counts as they were
    m.fixtureCount = 0;
    m.channelCount = 0;
    m.channelCodes.fill(0);
    for (auto& row : m.patch)
        row.fill(0);
    m.tempChannels.fill(0);
    m.motionType = 0;
    m.motionGlobal.fill(0);
    for (auto& row : m.motionPerFixture)
        row.fill(0);
}

void clearSteps(Material& m)
{
    m.stepCount = 0;
    m.resetStepsFromOne();
}

void applyTimeDefaults(Material& m)
{
    if (m.uniformTime == 0)
        m.uniformTime = 10;
    m.defaultStepTimes(10);
}

void clearStepLevels(Material& m, int i)
{
    if (i < m.storedSteps())
        m.editStep(i).clearLevels(kMaxVirtualFixtures, kMaxChannels);
}

void copyPreviousStep(Material& m, int i)
{
    if (i < 1 || (i >= m.storedSteps() && i - 1 >= m.storedSteps()))
        return; // both read as the same unstored step
    MaterialStep& dst = m.editStep(i);
    dst.levels = m.step(i - 1).levels;
}

void shiftStepsDown(Material& m, int from, int to)
{
    for (int j = to; j >= from && j >= 1; --j) {
        if (j >= m.storedSteps() && j - 1 >= m.storedSteps())
            continue;
        MaterialStep& dst = m.editStep(j);
        dst = m.step(j - 1);
    }
}

void shiftStepsUp(Material& m, int from)
{
    for (int j = std::max(from, 0); j <= m.stepCount - 1 && j + 1 <= kMaxSteps; ++j) {
        if (j >= m.storedSteps() && j + 1 >= m.storedSteps())
            continue;
        MaterialStep& dst = m.editStep(j);
        dst = m.step(j + 1);
    }
}

} // namespace rz::materials
