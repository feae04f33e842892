#pragma once
// Adding and deleting steps of the edited material, around the editor's current step.
#include "core/app/Seams.h"
#include "core/materials/Material.h"

#include <string_view>

namespace rz::materials {

inline constexpr std::u16string_view kMsgMaxSteps = u"已经是最大步数!!!";

// Inserts a step after `currentStep`: a copy of the current step (levels and time) when `copy`,
// otherwise an all-zero step lasting `newTime`. The new step becomes current. At 600 steps it
// shows "已经是最大步数!!!" and changes nothing; false then.
bool addStep(Material& m, int16_t& currentStep, bool copy, int16_t newTime, Prompt& prompt);

// What opening a material in the editor does to it: zero times become one second, and the
// current step is 1, or 0 for a material without steps.
void openForEditing(Material& m, int16_t& currentStep);

// Removes `currentStep`; the following steps move up one place.
void deleteStep(Material& m, int16_t& currentStep);

} // namespace rz::materials
