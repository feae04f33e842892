#include "core/lightcontrol/LightControlSection.h"

#include "core/files/MarkerSequence.h"


namespace rz::lightcontrol {

using files::ByteReader;
using files::ByteWriter;

namespace {

struct ByteField {
    std::size_t offset;
    uint8_t LightControlSettings::*field;
};

// Block offsets of the one-byte settings; fixedDmxChannel is the word at offset 16.
constexpr std::size_t kFixedDmxChannelOffset = 16;
constexpr ByteField kByteFields[] = {
    {2, &LightControlSettings::powerOnScene},
    {3, &LightControlSettings::exhaust1AtPowerOn},
    {4, &LightControlSettings::channel9Exhaust1Off},
    {5, &LightControlSettings::exhaust2AtPowerOn},
    {6, &LightControlSettings::channel3AsExhaust2},
    {7, &LightControlSettings::powerOnAirCon},
    {8, &LightControlSettings::channels678AsAirConFan},
    {9, &LightControlSettings::channel5AsValveOpen},
    {10, &LightControlSettings::channel4AsValveClose},
    {11, &LightControlSettings::micShakeTime},
    {12, &LightControlSettings::sceneRelayControl},
    {13, &LightControlSettings::smokeMachineTime},
    {14, &LightControlSettings::cheerBooTime},
    {15, &LightControlSettings::denseDrumCount},
    {18, &LightControlSettings::fixedDmxOnValue},
    {19, &LightControlSettings::fixedDmxOffValue},
    {20, &LightControlSettings::fixedDmxPowerOnState},
    {21, &LightControlSettings::vodPauseNoSceneSwitch},
    {22, &LightControlSettings::sceneSwitchXyLimit},
    {23, &LightControlSettings::thyristorDimming},
    {24, &LightControlSettings::dimmingSteps},
    {25, &LightControlSettings::dimmingFade},
    {26, &LightControlSettings::pauseDmxOnVodPause},
    {27, &LightControlSettings::adjustOnlyWhenSceneOpen},
    {28, &LightControlSettings::dimmingMinimum},
    {29, &LightControlSettings::doorPlateLightOff},
};

} // namespace

void writeLightControlSection(const LightControlSettings& settings, ByteWriter& out)
{
    out.beginSection(kLightControlSectionSlot, kLightControlSectionId);
    const std::size_t block = out.cursor();
    out.putZeros(kSettingsBlockSize);
    out.putWordAt(block, kSettingsBlockTag);
    for (const ByteField& f : kByteFields)
        out.putByteAt(block + f.offset, settings.*f.field);
    out.putWordAt(block + kFixedDmxChannelOffset, settings.fixedDmxChannel);
    for (int key = 1; key <= kIrKeyCount; ++key) {
        const IrCode& code = settings.effectsUnitIr[static_cast<std::size_t>(key)];
        for (std::size_t b = 0; b < kIrCodeSize; ++b)
            out.putByteAt(block + kIrTableOffset + kIrCodeSize * (key - 1) + b, code[b]);
    }
    out.putBytes(files::kMarkerSequence);
}

ReadResult readLightControlSection(LightControlSettings& settings, const ByteReader& image)
{
    ByteReader in = image;
    LightControlSettings read = settings;
    clearLightControl(read);
    ReadResult result = ReadResult::absent;
    if (in.openSection(kLightControlSectionSlot, kLightControlSectionId)) {
        const std::vector<uint8_t> block = in.getBytes(kSettingsBlockSize);
        if (in.failed())
            return ReadResult::malformed;
        for (const ByteField& f : kByteFields)
            read.*f.field = block[f.offset];
        read.fixedDmxChannel = static_cast<uint16_t>(block[kFixedDmxChannelOffset] << 8 |
                                                     block[kFixedDmxChannelOffset + 1]);
        for (int key = 1; key <= kIrKeyCount; ++key)
            for (std::size_t b = 0; b < kIrCodeSize; ++b)
                read.effectsUnitIr[static_cast<std::size_t>(key)][b] =
                    block[kIrTableOffset + kIrCodeSize * (key - 1) + b];
        result = ReadResult::ok;
    } else if (in.failed()) {
        return ReadResult::malformed;
    }
    validateLightControl(read);
    settings = read;
    return result;
}

} // namespace rz::lightcontrol
