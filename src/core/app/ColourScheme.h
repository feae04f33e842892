#pragma once
// The personal colour scheme: an optional key=value file that re-skins every page, gives a
// version text for the main window's caption and names the title bar's pictures.
//
// When a file is found every colour starts as pure blue and only the keys it lists change
// that; without a file (or with "开启自定义"=0) the pages keep their built-in colours.
#include "core/app/Caption.h"

#include <cstdint>
#include <filesystem>
#include <map>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace rz {

// Windows colour values: red + 256 * green + 65536 * blue.
inline constexpr uint32_t kPersonalDefaultColour = 16711680;
inline constexpr std::size_t kColourFileMaxLines = 3000;

namespace colourkeys {
// switches
inline constexpr std::u16string_view kOn = u"开启自定义";
inline constexpr std::u16string_view kVersionText = u"显示软件版本";
inline constexpr std::u16string_view kUseOriginalVersion = u"使用原来版本号";
inline constexpr std::u16string_view kNoButtonLineBreaks = u"禁止ButtonCrlf";
inline constexpr std::u16string_view kLogo = u"logo";
inline constexpr std::u16string_view kLogoHidden = u"隐藏";

// by control type, all pages
inline constexpr std::u16string_view kTextBack = u"公用Text背景颜色";
inline constexpr std::u16string_view kTextFore = u"公用Text文字颜色";
inline constexpr std::u16string_view kFrameBack = u"公用Frame背景颜色";
inline constexpr std::u16string_view kFrameFore = u"公用Frame文字颜色";
inline constexpr std::u16string_view kLabelBack = u"公用Label背景颜色";
inline constexpr std::u16string_view kLabelFore = u"公用Label文字颜色";
inline constexpr std::u16string_view kCheckBack = u"公用Check背景颜色";
inline constexpr std::u16string_view kCheckFore = u"公用Check文字颜色";
inline constexpr std::u16string_view kCommandBack = u"公用Command背景颜色";
inline constexpr std::u16string_view kCommandFore = u"公用Command文字颜色";
inline constexpr std::u16string_view kOptionBack = u"公用Option背景颜色";
inline constexpr std::u16string_view kOptionFore = u"公用Option文字颜色";
inline constexpr std::u16string_view kComboBack = u"公用Combo背景颜色";
inline constexpr std::u16string_view kComboFore = u"公用Combo文字颜色";
inline constexpr std::u16string_view kListBoxBack = u"公用ListBox背景颜色";
inline constexpr std::u16string_view kListBoxFore = u"公用ListBox文字颜色";
inline constexpr std::u16string_view kSeparatorLine = u"分割线条颜色";

// title bar
inline constexpr std::u16string_view kTitleLogo = u"标题栏_logo";
inline constexpr std::u16string_view kTitleFunctionSelected = u"标题栏_功能按钮背景颜色_选中";
inline constexpr std::u16string_view kTitleFunctionNotSelected = u"标题栏_功能按钮背景颜色_非选中";
inline constexpr std::u16string_view kTitleFunctionText = u"标题栏_功能按钮字体颜色";
inline constexpr std::u16string_view kTitleRelayBack = u"标题栏_继电器通道背景颜色";
inline constexpr std::u16string_view kTitleRelayText = u"标题栏_继电器通道字符字体颜色";
inline constexpr std::u16string_view kTitleSerialBack = u"标题栏_串口背景颜色";
inline constexpr std::u16string_view kTitleSerialText = u"标题栏_串口字体颜色";
inline constexpr std::u16string_view kTitleConnectText = u"标题栏_连接字体颜色";
inline constexpr std::u16string_view kTitleConnectSelected = u"标题栏_连接选中颜色";
inline constexpr std::u16string_view kTitleConnectNotSelected = u"标题栏_连接非选中颜色";
} // namespace colourkeys

// Every colour key the scheme knows, the page-specific ones included.
std::span<const std::u16string_view> knownColourKeys();

class ColourScheme {
public:
    // Personalization on: a file was found and "开启自定义" is not 0.
    bool on() const { return fileFound && onSwitch != 0; }
    bool colourFileFound() const { return fileFound; }
    // The folder holding the file and the title bar's pictures.
    const std::filesystem::path& folder() const { return fileFolder; }

    // A known colour key; pure blue unless the file set it. Unknown keys give the default too.
    uint32_t colour(std::u16string_view key) const;
    bool noButtonLineBreaks() const { return on() && buttonLineBreaksOff == 1; }
    bool logoHidden() const { return logoText == colourkeys::kLogoHidden; }
    // The caption inputs of the main window.
    CaptionPersonalization caption() const;

    // A scheme as a found file in `folder` with this text gives: every colour blue, then the
    // lines (UTF-8, at most kColourFileMaxLines). Spaces are removed before matching; a key
    // matches only as a whole; a colour or switch value that is not hexadecimal is ignored.
    static ColourScheme fromText(std::string_view utf8, std::filesystem::path folder = {});

private:
    void assign(const std::u16string& key, const std::u16string& value);

    bool fileFound = false;
    std::filesystem::path fileFolder;
    int64_t onSwitch = 1;
    std::u16string versionText;
    int64_t useOriginalVersion = 0;
    int64_t buttonLineBreaksOff = 0;
    std::u16string logoText;
    std::map<std::u16string, uint32_t, std::less<>> colours;
};

// "AppSet/Sys_config/Pic/color.ini", else ".../PicAll/color.ini"; empty when neither exists.
std::optional<std::filesystem::path> findColourFile(const std::filesystem::path& dataRoot);

// At start-up: finds the file and reads it; an unreadable or missing file gives the scheme
// that is off.
ColourScheme loadPersonalization(const std::filesystem::path& dataRoot);

// A hexadecimal value as the file writes it ("FF0000", "&HFF", "0xff"); empty for anything
// else or a value above 32 bits.
std::optional<uint32_t> parseColourValue(std::u16string_view text);

// A button caption without its line breaks ("另存\r\n单个" -> "另存单个").
std::u16string withoutLineBreaks(std::u16string_view caption);

} // namespace rz
