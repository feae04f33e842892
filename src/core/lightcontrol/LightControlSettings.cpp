#include "core/lightcontrol/LightControlSettings.h"

namespace rz::lightcontrol {

bool LightControlSettings::hasIrCode(int key) const
{
    if (key < 1 || key > kIrKeyCount)
        return false;
    return effectsUnitIr[static_cast<std::size_t>(key)] != IrCode{};
}

void clearLightControl(LightControlSettings& settings)
{
    LightControlSettings cleared;
    cleared.thyristorDimming = settings.thyristorDimming;
    cleared.dimmingSteps = settings.dimmingSteps;
    cleared.dimmingFade = settings.dimmingFade;
    cleared.adjustOnlyWhenSceneOpen = settings.adjustOnlyWhenSceneOpen;
    cleared.dimmingMinimum = settings.dimmingMinimum;
    settings = cleared;
}

void validateLightControl(LightControlSettings& settings)
{
    if (settings.micShakeTime == 0)
        settings.micShakeTime = kDefaultMicShakeTime;
    if (settings.sceneRelayControl >= 2)
        settings.sceneRelayControl = 0;
    if (settings.denseDrumCount < kMinDenseDrumCount || settings.denseDrumCount > kMaxDenseDrumCount)
        settings.denseDrumCount = kDefaultDenseDrumCount;
}

} // namespace rz::lightcontrol
