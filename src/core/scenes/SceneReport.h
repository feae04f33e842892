#pragma once
// The scene-association report: while the report box has focus the controller reports which
// wall-panel or VOD scene number it received and which scene it switched to.
#include "core/link/Link.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace rz::scenes {

inline constexpr uint8_t kSceneReportCommand = 0xCE;
inline constexpr uint8_t kSceneReportTag = 0x20; // first data byte of a report

// Ready-made frames (command CE, payload 20 88 / 20 44) sent as text, so they are neither
// checked nor counted by the link.
inline constexpr std::string_view kSceneReportStartFrame = "FAF5AA55 000A CE 20 8800";
inline constexpr std::string_view kSceneReportStopFrame = "FAF5AA55 000A CE 20 44BC";

// The box gains focus or is clicked: the controller starts reporting.
void requestSceneReports(link::Link& link);
// The box loses focus: the controller stops.
void stopSceneReports(link::Link& link);

// The text for the report box, or nothing when the frame is not a report (command CE, at
// least 4 data bytes, data byte 0 = 0x20). Data byte 1 = 0 gives "A-" and data byte 2, 1
// gives "B-" and data byte 2, each as two decimal digits and two spaces; then "C-" and data
// byte 3. Example: 20 00 05 0C gives "A-05  C-12".
std::optional<std::u16string> sceneReportText(uint8_t command, std::span<const uint8_t> data);

// Plugs the report into the link's scene-association receiver: every received report's text
// goes to `show` (the page fills its box); other frames are ignored.
void installSceneReportReceiver(link::Link& link, std::function<void(const std::u16string&)> show);

} // namespace rz::scenes
