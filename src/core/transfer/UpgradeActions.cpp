#include "core/transfer/UpgradeActions.h"

#include "core/app/SettingsFile.h"
#include "core/files/FileDialogs.h"

#include <string>
#include <utility>

namespace rz::transfer {

HiddenCommand parseHiddenCommand(std::u16string_view typed)
{
    if (typed == u"@mark")
        return HiddenCommand::ToggleLogo;
    if (typed == u"@查版本")
        return HiddenCommand::QueryVersion;
    if (typed == u"@维护入口")
        return HiddenCommand::DevelopmentMode;
    if (typed == u"@主机详情")
        return HiddenCommand::QueryInformation;
    return HiddenCommand::None;
}

template <class Operation>
void UpgradeActions::withProgress(UpgradeView& view, std::function<void(uint64_t, uint64_t)>& slot, Operation run)
{
    view.showProgress(0, 0);
    auto saved = std::exchange(slot, [&view](uint64_t done, uint64_t total) { view.showProgress(done, total); });
    run();
    slot = std::move(saved);
}

void UpgradeActions::showFirmwarePath(UpgradeView& view, const std::filesystem::path& path)
{
    firmware = path;
    view.showFirmwarePath(path);
}

void UpgradeActions::pageShown(UpgradeView& view)
{
    const std::filesystem::path stored(readKey(io.paths.work, keys::kUpgradeFilePath));
    showFirmwarePath(view, stored);
    if (!io.firmware.checkFile(stored, view.log()))
        showFirmwarePath(view, {});
    view.resetLog(u"");
}

void UpgradeActions::chooseFirmwareFile(UpgradeView& view)
{
    const auto chosen = files::chooseOpenFile(io.chooser, io.prompt, u"bin");
    if (!chosen)
        return;
    if (!io.firmware.checkFile(*chosen, view.log())) {
        // The box and the upgrade never disagree about which file would be sent.
        showFirmwarePath(view, {});
        return;
    }
    showFirmwarePath(view, *chosen);
    writeKey(io.paths.work, keys::kUpgradeFilePath, chosen->u16string());
}

void UpgradeActions::upgrade(UpgradeView& view, bool development)
{
    if (io.firmware.running())
        return;
    link::LinkGate::Hold hold = io.link.operations().tryBegin(link::LinkOperation::FirmwareUpgrade);
    if (!hold)
        return;
    if (development) {
        // For this run only; the stored choice stays.
        const auto image = developmentImagePath(io.dataRoot.u16string());
        showFirmwarePath(view, image.value_or(std::filesystem::path()));
    }
    view.resetLog(std::u16string(kUpgradeFirstLine));
    withProgress(view, io.firmware.onProgress, [&] {
        (void)(development ? io.firmware.developmentUpgrade(firmware, view.log())
                           : io.firmware.upgrade(firmware, view.log()));
    });
    if (io.firmware.upgradeFileSize() == 0)
        showFirmwarePath(view, {});
}

void UpgradeActions::downloadParameterFile(UpgradeView& view, const ParameterFileKind& file)
{
    if (!file.downloadable)
        return;
    link::LinkGate::Hold hold = io.link.operations().tryBegin(link::LinkOperation::Download);
    if (!hold)
        return;
    view.clearLog();
    if (!io.transfer.checkConnected(view.log()))
        return;
    const std::u16string name(file.name);
    view.addLogLine(u"->读取 " + name + u"参数文件 ");
    // For the air conditioner the name already ends in 参数文件; the title repeats it.
    const std::u16string title = u"导入" + name + u"参数文件";
    const auto chosen = files::chooseOpenFile(io.chooser, io.prompt, title, std::u16string(file.extension));
    if (!chosen) {
        view.addLogLine(u"->文件错误 ");
        return;
    }
    view.addLogLine(u"->下载 " + name + u"参数文件 ");
    view.startLogLine();
    withProgress(view, io.transfer.onProgress, [&] { (void)io.transfer.downloadFile(file.kind, *chosen, view.log()); });
}

void UpgradeActions::uploadParameterFile(UpgradeView& view, const ParameterFileKind& file)
{
    link::LinkGate::Hold hold = io.link.operations().tryBegin(link::LinkOperation::Upload);
    if (!hold)
        return;
    view.clearLog();
    if (!io.transfer.checkConnected(view.log()))
        return;
    view.addLogLine(std::u16string(file.uploadFirstLine));
    view.startLogLine();
    withProgress(view, io.transfer.onProgress, [&] {
        (void)io.transfer.uploadFile(file.kind, io.dataRoot / std::u16string(file.uploadTarget), view.log());
    });
}

} // namespace rz::transfer
