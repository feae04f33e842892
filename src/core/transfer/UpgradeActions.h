#pragma once
// The upgrade page's work apart from its widgets: the firmware file choice and upgrade, the
// parameter files moved to and from the controller, and the hidden commands typed into the
// information box.
#include "core/app/Notifier.h"
#include "core/app/Seams.h"
#include "core/app/SettingsCatalogue.h"
#include "core/link/Link.h"
#include "core/transfer/FileTransfer.h"
#include "core/transfer/FirmwareUpgrade.h"
#include "core/transfer/TransferView.h"

#include <array>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <string_view>

namespace rz::transfer {

// One parameter-file kind with its buttons (the show file has only an upload button).
struct ParameterFileKind {
    uint8_t kind;
    std::u16string_view name;           // in the log and the dialog title
    std::u16string_view extension;      // of the download dialog
    std::u16string_view uploadTarget;   // file in the application folder
    std::u16string_view uploadFirstLine;
    std::u16string_view rowCaption;
    bool downloadable;
};

inline constexpr std::array<ParameterFileKind, 4> kParameterFiles{{
    {2, u"墙板", u"KQB", u"R-QB.KQB", u"->上传 墙板 参数文件 ", u"墙板参数文件", true},
    {3, u"VOD", u"KVD", u"R-VOD.KVD", u"->上传 VOD 参数文件 ", u"VOD参数文件", true},
    {4, u"红外空调参数文件", u"AC", u"R-IRAC.AC", u"->上传 VOD 红外空调参数文件 ", u"红外空调参数文件", true},
    {1, u"灯光", u"K_F", u"R-SHOW.K_F", u"->上传 灯光 参数文件 ", u"灯光参数文件", false},
}};

inline constexpr std::u16string_view kUpgradeFirstLine = u"升级机器主程序";
inline constexpr std::u16string_view kDevelopmentModeMessage = u"开发模式！";

// Texts typed into the information box that do something.
enum class HiddenCommand : uint8_t { None, ToggleLogo, QueryVersion, DevelopmentMode, QueryInformation };
HiddenCommand parseHiddenCommand(std::u16string_view typed);

// What the page shows of the firmware choice.
class UpgradeView : public TransferView {
public:
    virtual void showFirmwarePath(const std::filesystem::path& path) = 0;
};

class UpgradeActions {
public:
    struct Services {
        link::Link& link;
        FileTransfer& transfer;
        FirmwareUpgrade& firmware;
        Prompt& prompt;
        FileChooser& chooser;
        SettingsPaths paths;
        std::filesystem::path dataRoot; // the application folder
    };

    explicit UpgradeActions(Services services) : io(std::move(services)) {}

    // The page is shown: the stored firmware file is checked and shown, the box emptied.
    void pageShown(UpgradeView& view);
    void chooseFirmwareFile(UpgradeView& view);
    // The upgrade of the shown file, or of the development image for this run only.
    void upgrade(UpgradeView& view, bool development);
    void downloadParameterFile(UpgradeView& view, const ParameterFileKind& file);
    void uploadParameterFile(UpgradeView& view, const ParameterFileKind& file);

    const std::filesystem::path& firmwarePath() const { return firmware; }

private:
    void showFirmwarePath(UpgradeView& view, const std::filesystem::path& path);
    // Reports progress into the view for as long as it lives.
    template <class Operation>
    void withProgress(UpgradeView& view, std::function<void(uint64_t, uint64_t)>& slot, Operation run);

    Services io;
    std::filesystem::path firmware;
};

} // namespace rz::transfer
