#pragma once
// Show-file section 1: the light-control settings. After the section start comes a 180-byte
// block (offset 0: the word 200; offsets 2..29: the settings; 30..99: zeros; 100..179: the
// four code bytes of IR keys 1..20), then the fixed 20-byte marker sequence.
#include "core/files/ByteImage.h"
#include "core/files/ReadResult.h"
#include "core/lightcontrol/LightControlSettings.h"

#include <cstddef>
#include <string_view>

namespace rz::lightcontrol {

inline constexpr std::string_view kLightControlSectionId = "F1042301";
inline constexpr int kLightControlSectionSlot = 1;
inline constexpr std::size_t kSettingsBlockSize = 180;
inline constexpr uint32_t kSettingsBlockTag = 200; // first word of the block; readers skip it
inline constexpr std::size_t kIrTableOffset = 100;

using ReadResult = files::ReadResult;

void writeLightControlSection(const LightControlSettings& settings, files::ByteWriter& out);

// ok: the settings hold the block's values; absent: clearLightControl. Either way
// validateLightControl follows. malformed: the settings are left unchanged. `in` is neither
// moved nor failed.
ReadResult readLightControlSection(LightControlSettings& settings, const files::ByteReader& in);

} // namespace rz::lightcontrol
