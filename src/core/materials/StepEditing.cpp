#include "core/materials/StepEditing.h"

#include <algorithm>

namespace rz::materials {

bool addStep(Material& m, int16_t& currentStep, bool copy, int16_t newTime, Prompt& prompt)
{
    if (m.stepCount >= kMaxSteps) {
        prompt.message(std::u16string(kMsgMaxSteps));
        return false;
    }
    const int n = std::max<int>(m.stepCount, 0);
    const int k = std::clamp<int>(currentStep, 0, n);
    if (k < n && n >= 2)
        shiftStepsDown(m, k + 1, n + 1);
    const int added = k + 1;
    // The new step starts from the copied step's time and flags, or from `newTime` and no
    // flags, rather than from whatever the slot held before.
    MaterialStep wanted;
    if (copy) {
        copyPreviousStep(m, added);
        wanted.stepTime = m.step(k).stepTime;
        wanted.fadeToNext = m.step(k).fadeToNext;
        wanted.stepMark = m.step(k).stepMark;
    } else {
        clearStepLevels(m, added);
        wanted.stepTime = newTime;
    }
    const MaterialStep& now = m.step(added);
    if (now.stepTime != wanted.stepTime || now.fadeToNext != wanted.fadeToNext ||
        now.stepMark != wanted.stepMark) {
        MaterialStep& s = m.editStep(added);
        s.stepTime = wanted.stepTime;
        s.fadeToNext = wanted.fadeToNext;
        s.stepMark = wanted.stepMark;
    }
    m.stepCount = static_cast<int16_t>(n + 1);
    currentStep = static_cast<int16_t>(added);
    return true;
}

void openForEditing(Material& m, int16_t& currentStep)
{
    applyTimeDefaults(m);
    currentStep = m.stepCount != 0 ? 1 : 0;
}

void deleteStep(Material& m, int16_t& currentStep)
{
    if (m.stepCount <= 1) {
        currentStep = 0;
        m.stepCount = 0;
        clearStepLevels(m, 0);
        clearStepLevels(m, 1);
    } else if (currentStep >= m.stepCount) {
        clearStepLevels(m, m.stepCount);
        --m.stepCount;
        currentStep = m.stepCount;
    } else {
        shiftStepsUp(m, std::max<int>(currentStep, 1));
        clearStepLevels(m, m.stepCount);
        --m.stepCount;
    }
    m.releaseUnusedSteps();
}

} // namespace rz::materials
