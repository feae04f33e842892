#include "core/lightcontrol/LightControlEditing.h"
#include "core/app/Conversions.h"

namespace rz::lightcontrol {

namespace {

std::optional<unsigned> decimalUpTo(std::u16string_view text, unsigned max)
{
    if (text.empty())
        return std::nullopt;
    unsigned value = 0;
    for (char16_t c : text) {
        if (c < u'0' || c > u'9')
            return std::nullopt;
        value = value * 10 + static_cast<unsigned>(c - u'0');
        if (value > max)
            return std::nullopt;
    }
    return value;
}

} // namespace

std::u16string powerOnSceneEntry(int scene, std::u16string_view sceneName)
{
    if (scene <= 0)
        return std::u16string(kNoPowerOnScene);
    return decimalText(static_cast<unsigned>(scene)) + u"-" + std::u16string(sceneName);
}

std::u16string micShakeText(uint8_t seconds)
{
    return decimalText(seconds) + std::u16string(kSecondsSuffix);
}

std::optional<uint8_t> micShakeFromText(std::u16string_view text)
{
    std::u16string digits;
    for (char16_t c : text)
        if (c != kSecondsSuffix[0])
            digits += c;
    const auto value = decimalUpTo(digits, 255);
    return value ? std::optional<uint8_t>(static_cast<uint8_t>(*value)) : std::nullopt;
}

std::optional<uint16_t> parseFixedDmxChannel(std::u16string_view text)
{
    const auto value = decimalUpTo(text, kMaxFixedDmxChannel);
    return value ? std::optional<uint16_t>(static_cast<uint16_t>(*value)) : std::nullopt;
}

std::optional<uint8_t> parseDmxLevel(std::u16string_view text)
{
    const auto value = decimalUpTo(text, 255);
    return value ? std::optional<uint8_t>(static_cast<uint8_t>(*value)) : std::nullopt;
}

void correctDimmingForDisplay(LightControlSettings& settings)
{
    if (settings.dimmingSteps == 0 || settings.dimmingSteps > kMaxDimmingSteps)
        settings.dimmingSteps = kMaxDimmingSteps;
    if (settings.dimmingMinimum > kMaxDimmingMinimum)
        settings.dimmingMinimum = kMaxDimmingMinimum;
}

std::u16string irKeyText(const IrCode& code)
{
    if (code == IrCode{})
        return {};
    return spacedHexText(code);
}

IrTextResult applyIrKeyText(LightControlSettings& settings, int key, std::u16string_view text)
{
    if (key < 1 || key > kIrKeyCount)
        return IrTextResult::invalid;
    std::u16string compact;
    for (char16_t c : text)
        if (c != u' ')
            compact += c;
    IrCode& stored = settings.effectsUnitIr[static_cast<std::size_t>(key)];
    if (compact.empty()) {
        stored = {};
        return IrTextResult::cleared;
    }
    if (compact.size() != 2 * kIrCodeSize)
        return IrTextResult::invalid;
    IrCode code{};
    for (std::size_t b = 0; b < kIrCodeSize; ++b) {
        const int high = hexDigitValue(compact[2 * b]);
        const int low = hexDigitValue(compact[2 * b + 1]);
        if (high < 0 || low < 0)
            return IrTextResult::invalid;
        code[b] = static_cast<uint8_t>(high << 4 | low);
    }
    stored = code;
    return IrTextResult::stored;
}

} // namespace rz::lightcontrol
