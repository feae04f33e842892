#pragma once
// Where the settings files are and which keys they hold. The meaning of each key belongs to
// the module that uses it; this header only names them.
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

namespace rz {

struct SettingsPaths {
    std::filesystem::path system;             // Wi-Fi address, backup switch, manual RDM UIDs
    std::filesystem::path work;               // the last run's choices
    std::filesystem::path development;        // development-mode and mouse-wheel switches
    std::filesystem::path colour;             // personalization
    std::filesystem::path customChannelNames; // user names of channel definitions
};

// The files under the data root.
SettingsPaths settingsPaths(const std::filesystem::path& dataRoot);

// First step of start-up: the paths, and whether the colour file is there (page pictures
// depend on it). Loading the personalization itself is the colour scheme's job.
struct SettingsStartup {
    SettingsPaths paths;
    bool colourFilePresent = false;
};
SettingsStartup startSettings(const std::filesystem::path& dataRoot);

namespace keys {
// system file
inline constexpr std::u16string_view kWifiIp = u"WIFI_IP";     // text; never written
inline constexpr std::u16string_view kWifiPort = u"WIFI_Port"; // text of a number; never written
inline constexpr std::u16string_view kNoAutoBackup = u"不自动备份"; // 32-bit, 0
inline constexpr std::u16string_view kManualUidPrefix = u"手动添加";
inline constexpr std::u16string_view kManualUidLast = u"手动添加最后"; // text; never written
inline constexpr int kManualUidCount = 20;
// "手动添加01" ... "手动添加20"; i outside 1..20 gives an empty key.
std::u16string manualUid(int i);

// work file
inline constexpr std::u16string_view kConnectionInterface = u"连接接口";       // byte, 0 = Wi-Fi
inline constexpr std::u16string_view kConnectionKind = u"连接方式";            // text
inline constexpr std::u16string_view kLastInDevelopmentMode = u"最后是否在开发模式"; // 32-bit, 0
inline constexpr std::u16string_view kUpgradeFilePath = u"升级文件路径";       // text
inline constexpr std::u16string_view kShowCurrentFixtureOnly = u"只显示当前灯具"; // text
inline constexpr std::u16string_view kDisconnectAfterDownload = u"下载完之后自动断开连接"; // text
inline constexpr std::u16string_view kSwitchToLastSceneAfterDownload = u"下载完自动切最后编辑场景"; // text
inline constexpr std::u16string_view kLastEditedScene = u"最后编辑场景"; // byte
inline constexpr std::u16string_view kRelayDebug = u"调试继电器";        // text
inline constexpr std::u16string_view kLogoShown = u"LoSet";              // byte, 0

// development-mode file
inline constexpr std::u16string_view kDevelopmentFunctionsOn = u"开发模式_功能开启"; // 32-bit, 0
inline constexpr std::u16string_view kMouseWheelOff = u"禁止鼠标滚轮";               // 32-bit, 0
} // namespace keys

// The title bar's two switches. Both start at 0; a failed read keeps the previous value.
struct TitleBarSettings {
    uint8_t logoShown = 0;    // 1 = the logo picture is shown
    int32_t noAutoBackup = 0; // 1 = no automatic backup copy of the show file at exit
};

// Reads "LoSet" from the work file and "不自动备份" from the system file, each on its own.
void readTitleBarSettings(const SettingsPaths& paths, TitleBarSettings& settings);

// 1 becomes 0, anything else 1; the new value is written to the work file and returned
// (1 = show the logo).
uint8_t toggleLogo(const SettingsPaths& paths, TitleBarSettings& settings);

} // namespace rz
