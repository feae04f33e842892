#include "core/materials/Playback.h"

#include "core/app/Conversions.h"

#include <algorithm>
#include <cmath>

namespace rz::materials {

int32_t roundHalfEven(double x)
{
    const double low = std::floor(x);
    const double diff = x - low;
    double r = low;
    if (diff > 0.5 || (diff == 0.5 && std::fmod(low, 2.0) != 0.0))
        r = low + 1.0;
    return static_cast<int32_t>(r);
}

StepLevels stepLevels(const Material& m, int step)
{
    StepLevels out;
    if (m.stepCount == 0 || step < 0 || step > kMaxSteps)
        return out;
    const int percent = 100 - m.brightnessReduction;
    const MaterialStep& s = m.step(step);
    const int fc = std::min<int>(m.fixtureCount, kMaxVirtualFixtures);
    const int cc = std::min<int>(m.channelCount, kMaxChannels);
    for (int f = 1; f <= fc; ++f)
        for (int c = 1; c <= cc; ++c) {
            const uint8_t level = s.level(f, c);
            // At full brightness every level stays itself; skip the arithmetic.
            out.at(f, c) = percent == 100
                               ? level
                               : static_cast<uint8_t>(std::clamp(roundHalfEven(level * percent / 100.0), 0, 255));
        }
    return out;
}

StepLevels playMaterialTick(const Material& m, PlaybackState& st, bool jumpActive,
                            int32_t& stepDuration)
{
    if (st.playStep == 0)
        st.playStep = 1;
    if (st.playTick == 0)
        st.playTick = 1;
    const int step = static_cast<int>(std::clamp<int32_t>(st.playStep, 0, kMaxSteps + 1));
    const int32_t duration = step <= kMaxSteps ? m.stepDurationOf(step) : m.uniformTime;
    stepDuration = duration;

    StepLevels out = stepLevels(m, step);
    if (step <= kMaxSteps && (m.step(step).fadeToNext == 1 || m.allStepsFade == 1)) {
        int next = step + 1;
        if (next > m.stepCount)
            next = 1;
        const StepLevels to = stepLevels(m, next);
        // A tick past the end (the step was shortened while playing) shows the arrival.
        const int32_t tick = std::min(st.playTick, std::max<int32_t>(duration, 0));
        const int fc = std::min<int>(m.fixtureCount, kMaxVirtualFixtures);
        const int cc = std::min<int>(m.channelCount, kMaxChannels);
        for (int f = 1; f <= fc; ++f)
            for (int c = 1; c <= cc; ++c)
                out.at(f, c) = static_cast<uint8_t>(
                    std::clamp(fadeValue(out.at(f, c), to.at(f, c), tick, duration), 0, 255));
    }

    st.playTick += 1;

    const int interval = m.jumpInterval;
    if (interval != 0 && jumpActive) {
        if (m.jumpAtIntervalEndOnly == 1) {
            if (st.playTick >= duration)
                st.playTick = duration + 1;
        } else {
            for (int i = 0; i < 1000 && st.playStep % interval != 0; ++i)
                ++st.playStep;
            st.playTick = duration + 1;
        }
    }

    if (st.playTick > duration) {
        st.playTick = 1;
        bool advance = true;
        if (interval != 0 && st.playStep % interval == 0) {
            st.playTick = duration; // wait at the end of the interval
            advance = jumpActive;
            if (jumpActive)
                st.playTick = 1;
        }
        if (advance) {
            st.playStep += 1;
            if (st.playStep > m.stepCount)
                st.playStep = 1;
        }
    }
    return out;
}

} // namespace rz::materials
