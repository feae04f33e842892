#pragma once
// The show file's bytes: identifier "F10410A1", a table of 50 section positions, then the
// sections 1 (light control), 2 (scenes), 10 (fixtures), 11 (materials), 12 (effects),
// 13 (motion threshold) and 14 (information) without gaps. Each section's content belongs to
// its own module; this file only fixes the container and the order.
#include "core/app/Seams.h"
#include "core/effects/EffectSection.h"
#include "core/effects/EffectTable.h"
#include "core/fixtures/FixtureLibrary.h"
#include "core/lightcontrol/LightControlSettings.h"
#include "core/materials/MaterialFiles.h"
#include "core/scenes/SceneTable.h"
#include "core/show/Show.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace rz::show {

inline constexpr std::string_view kShowFileId = "F10410A1";
inline constexpr int kShowSectionSlots = 50;
// Positions 0 .. 2 097 152: the whole file is built in one image of this size.
inline constexpr std::size_t kShowImageCapacity = 2'097'153;
inline constexpr std::size_t kShowHeaderSize = 4 + 4 * kShowSectionSlots;
inline constexpr int kEffectsSectionSlot = effects::kEffectSectionSlot;

// What the information section records about the save.
struct SaveStamp {
    std::u16string dateTime;      // "2026/12/10 11:19:05"
    std::u16string programFolder;
};

// The whole image, or nothing when the show does not fit in kShowImageCapacity bytes.
// Writing the materials section parks the current effect's materials in its temporary file
// and rewrites every temporary file through the current material writer.
std::optional<std::vector<uint8_t>> encodeShow(Show& show, materials::MaterialFiles& materialFiles,
                                               const SaveStamp& stamp);

// The tables a show file replaces, read into this staging copy first.
struct ShowContent {
    lightcontrol::LightControlSettings lightControl;
    scenes::SceneTable scenes;
    fixtures::FixtureLibrary library;
    effects::EffectTable effects;
    uint8_t motionThreshold = fixtures::kDefaultMotionThreshold;
};

enum class [[nodiscard]] ShowReadResult {
    ok,
    wrongIdentifier, // not a show file
    malformed,       // a section is present but cut short or points outside the file
};

// Reads sections 1, 2, 10, 12 and 13 into `content`, then section 11 into the temporary
// effect files of `materialFiles`. A section that is absent or carries another identifier
// leaves its part empty. Only on ok are the temporary files replaced and the current effect of
// `editing` (the context `materialFiles` works with) set to none; the caller then takes
// `content` over. The fixture section's own message ("版本不对") reaches `prompt` on ok only.
ShowReadResult decodeShow(std::span<const uint8_t> image, ShowContent& content,
                          materials::MaterialFiles& materialFiles, materials::EditingContext& editing,
                          Prompt& prompt);

// Entry n of the section table (0 when absent or the image is too short).
uint32_t sectionPosition(std::span<const uint8_t> image, int n);

} // namespace rz::show
