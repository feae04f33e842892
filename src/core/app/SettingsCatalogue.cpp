#include "core/app/SettingsCatalogue.h"

#include "core/app/Conversions.h"
#include "core/app/SettingsFile.h"

#include <system_error>

namespace rz {

SettingsPaths settingsPaths(const std::filesystem::path& dataRoot)
{
    const auto appSet = dataRoot / "AppSet";
    const auto sysConfig = appSet / "Sys_config";
    return {
        .system = appSet / "SYSTEM.INI",
        .work = sysConfig / "WORK_SET",
        .development = dataRoot / std::filesystem::path(u8"开发模式.INI"),
        .colour = sysConfig / "Pic" / "color.ini",
        .customChannelNames = appSet / std::filesystem::path(u8"通道描述自定义.txt"),
    };
}

SettingsStartup startSettings(const std::filesystem::path& dataRoot)
{
    SettingsStartup s{.paths = settingsPaths(dataRoot)};
    std::error_code ec;
    s.colourFilePresent = std::filesystem::is_regular_file(s.paths.colour, ec);
    return s;
}

namespace keys {

std::u16string manualUid(int i)
{
    if (i < 1 || i > kManualUidCount)
        return {};
    return std::u16string(kManualUidPrefix) + static_cast<char16_t>(u'0' + i / 10) +
           static_cast<char16_t>(u'0' + i % 10);
}

} // namespace keys

void readTitleBarSettings(const SettingsPaths& paths, TitleBarSettings& settings)
{
    settings.logoShown = readByteKey(paths.work, keys::kLogoShown, settings.logoShown);
    settings.noAutoBackup = readInt32Key(paths.system, keys::kNoAutoBackup, settings.noAutoBackup);
}

uint8_t toggleLogo(const SettingsPaths& paths, TitleBarSettings& settings)
{
    toggle01(settings.logoShown);
    writeKey(paths.work, keys::kLogoShown, settings.logoShown == 1 ? u"1" : u"0");
    return settings.logoShown;
}

} // namespace rz
