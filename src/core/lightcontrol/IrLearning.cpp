#include "core/lightcontrol/IrLearning.h"

namespace rz::lightcontrol {

namespace {
constexpr uint8_t kCodeReportTag = 0x50;
constexpr uint8_t kCodeReportOk = 0x66;
constexpr std::size_t kCodeReportLength = 2 + kIrCodeSize;
} // namespace

void IrLearning::focusGained(int k)
{
    if (k < 1 || k > kEditableIrKeys)
        return;
    key = k;
    interval = kIrFocusIntervalMs;
}

void IrLearning::focusLost()
{
    key = 0;
    interval = kIrFocusIntervalMs;
}

std::optional<std::array<uint8_t, 2>> IrLearning::tick(bool canSend)
{
    if (!canSend || interval == 0)
        return std::nullopt;
    if (key != 0) {
        interval = kIrRepeatIntervalMs;
        return kIrLearningOn;
    }
    interval = 0;
    return kIrLearningOff;
}

int IrLearning::receive(uint8_t command, std::span<const uint8_t> data,
                        LightControlSettings& settings) const
{
    if (key == 0 || command != kIrLearningCommand || data.size() != kCodeReportLength ||
        data[0] != kCodeReportTag || data[1] != kCodeReportOk)
        return 0;
    IrCode& code = settings.effectsUnitIr[static_cast<std::size_t>(key)];
    for (std::size_t b = 0; b < kIrCodeSize; ++b)
        code[b] = data[2 + b];
    return key;
}

} // namespace rz::lightcontrol
