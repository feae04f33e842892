#include "core/app/ColourScheme.h"

#include "core/app/SettingsFile.h"
#include "core/app/TextEncoding.h"
#include "core/app/Utf.h"

#include <array>
#include <fstream>
#include <iterator>
#include <system_error>

namespace rz {

namespace {

using namespace colourkeys;

constexpr std::array<std::u16string_view, 80> kColourKeys{
    kTextBack, kTextFore, kFrameBack, kFrameFore, kLabelBack, kLabelFore, kCheckBack, kCheckFore,
    kCommandBack, kCommandFore, kOptionBack, kOptionFore, kComboBack, kComboFore, kListBoxBack,
    kListBoxFore, kSeparatorLine,
    kTitleLogo, kTitleFunctionSelected, kTitleFunctionNotSelected, kTitleFunctionText,
    kTitleRelayBack, kTitleRelayText, kTitleSerialBack, kTitleSerialText, kTitleConnectText,
    kTitleConnectSelected, kTitleConnectNotSelected,
    u"灯控_红外label选中文字颜色",
    u"灯库_灯具有效颜色", u"灯库_灯具无效颜色", u"灯库_灯具选中背景颜色", u"灯库_选Dmx通道点击颜色",
    u"灯库_通道定义选择颜色", u"灯库_通道定义非选择颜色", u"灯库_通道定义修改有效背景颜色",
    u"灯库_通道定义修改无效背景颜色", u"灯库_灯具组按钮选中颜色", u"灯库_通道ID数字背景颜色",
    u"场景_场景选择按钮", u"场景_场景未选择按钮显示", u"场景_效果选择按钮_有效", u"场景_效果选择按钮_无效",
    u"场景_效果未选择按钮显示_有效", u"场景_效果未选择按钮显示_无效", u"场景_继电器选择按钮",
    u"场景_继电器未选择按钮显示",
    u"素材_通用选中颜色", u"素材_虚拟灯具_选中", u"素材_虚拟灯具_联动", u"素材_虚拟灯具_非选中",
    u"效果_素材列鼠标显示", u"效果_素材列分区显示1", u"效果_素材列分区显示2", u"效果_素材列分区显示3",
    u"效果_模块有效_选择", u"效果_模块有效_非选择", u"效果_模块无效_选择", u"效果_模块无效_非选择",
    u"效果_素材有效", u"效果_素材无效", u"效果_素材选择", u"效果_拍子选择", u"效果_拍子非选择",
    u"效果_拍子演示选择", u"效果_拍子演示非选择", u"效果_小节选择", u"效果_小节非选择",
    // the remaining places are empty and skipped
};

bool isKnownColourKey(std::u16string_view key)
{
    for (auto k : kColourKeys)
        if (!k.empty() && k == key)
            return true;
    return false;
}

std::u16string withoutSpaces(std::u16string_view line)
{
    std::u16string out;
    for (char16_t c : line)
        if (c != u' ' && c != u'\t' && c != u'\r' && c != u'\n' && c != u'\u3000')
            out += c;
    return out;
}

} // namespace

std::span<const std::u16string_view> knownColourKeys()
{
    std::size_t n = 0;
    while (n < kColourKeys.size() && !kColourKeys[n].empty())
        ++n;
    return {kColourKeys.data(), n};
}

std::optional<uint32_t> parseColourValue(std::u16string_view text)
{
    if (text.starts_with(u"&H") || text.starts_with(u"&h") || text.starts_with(u"0x") || text.starts_with(u"0X"))
        text.remove_prefix(2);
    if (text.ends_with(u"&"))
        text.remove_suffix(1);
    if (text.empty() || text.size() > 8)
        return std::nullopt;
    uint32_t value = 0;
    for (char16_t c : text) {
        uint32_t digit;
        if (c >= u'0' && c <= u'9')
            digit = c - u'0';
        else if (c >= u'a' && c <= u'f')
            digit = c - u'a' + 10;
        else if (c >= u'A' && c <= u'F')
            digit = c - u'A' + 10;
        else
            return std::nullopt;
        value = value * 16 + digit;
    }
    return value;
}

std::u16string withoutLineBreaks(std::u16string_view caption)
{
    std::u16string out;
    for (char16_t c : caption)
        if (c != u'\r' && c != u'\n')
            out += c;
    return out;
}

uint32_t ColourScheme::colour(std::u16string_view key) const
{
    const auto it = colours.find(key);
    return it == colours.end() ? kPersonalDefaultColour : it->second;
}

CaptionPersonalization ColourScheme::caption() const
{
    CaptionPersonalization c;
    c.on = on();
    c.versionText = versionText;
    c.useOriginalVersion = useOriginalVersion;
    return c;
}

void ColourScheme::assign(const std::u16string& key, const std::u16string& value)
{
    if (key == kVersionText) {
        versionText = value;
    } else if (key == kLogo) {
        logoText = value;
    } else if (key == kOn) {
        if (const auto v = parseColourValue(value))
            onSwitch = *v;
    } else if (key == kUseOriginalVersion) {
        if (const auto v = parseSettingNumber(value))
            useOriginalVersion = *v;
    } else if (key == kNoButtonLineBreaks) {
        if (const auto v = parseSettingNumber(value))
            buttonLineBreaksOff = *v;
    } else if (isKnownColourKey(key)) {
        // Colours are 24-bit; anything wider is a typing error, not a colour.
        if (const auto v = parseColourValue(value); v && *v <= 0xFFFFFF)
            colours[key] = *v;
    }
}

ColourScheme ColourScheme::fromText(std::string_view utf8, std::filesystem::path folder)
{
    ColourScheme s;
    s.fileFound = true;
    s.fileFolder = std::move(folder);
    if (utf8.starts_with("\xEF\xBB\xBF"))
        utf8.remove_prefix(3);
    const TextEncoding encoding = detectEncoding(utf8);
    std::size_t lines = 0;
    while (!utf8.empty() && lines < kColourFileMaxLines) {
        const auto end = utf8.find('\n');
        const std::string_view raw = utf8.substr(0, end);
        utf8 = end == std::string_view::npos ? std::string_view{} : utf8.substr(end + 1);
        ++lines;
        const std::u16string line = withoutSpaces(decodeText(raw, encoding));
        const auto eq = line.find(u'=');
        if (eq == std::u16string::npos || eq == 0)
            continue;
        s.assign(line.substr(0, eq), line.substr(eq + 1));
    }
    return s;
}

std::optional<std::filesystem::path> findColourFile(const std::filesystem::path& dataRoot)
{
    const auto sysConfig = dataRoot / "AppSet" / "Sys_config";
    for (const char* folder : {"Pic", "PicAll"}) {
        std::error_code ec;
        const auto p = sysConfig / folder / "color.ini";
        if (std::filesystem::is_regular_file(p, ec))
            return p;
    }
    return std::nullopt;
}

ColourScheme loadPersonalization(const std::filesystem::path& dataRoot)
{
    const auto path = findColourFile(dataRoot);
    if (!path)
        return {};
    std::ifstream in(*path, std::ios::binary);
    if (!in)
        return {};
    // 3000 lines of settings fit easily; a huge file is read only as far as that.
    constexpr std::size_t kMaxBytes = 4 * 1024 * 1024;
    std::string text;
    text.resize(kMaxBytes);
    in.read(text.data(), static_cast<std::streamsize>(text.size()));
    text.resize(static_cast<std::size_t>(in.gcount()));
    return ColourScheme::fromText(text, path->parent_path());
}

} // namespace rz
