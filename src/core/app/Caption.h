#pragma once
// The main window's caption: model and release, or the personal version text, then the
// caller's text in brackets.
#include <cstdint>
#include <string>
#include <string_view>

namespace rz {

inline constexpr std::u16string_view modelName = u"RZ-760";
inline constexpr std::u16string_view releaseName = u"A16.2";

// The colour file's caption keys: "显示软件版本" and "使用原来版本号".
struct CaptionPersonalization {
    bool on = false;
    std::u16string versionText;
    int64_t useOriginalVersion = 0; // above 0 keeps the release next to versionText
};

std::u16string mainWindowCaption(std::u16string_view text, const CaptionPersonalization& look = {});

} // namespace rz
