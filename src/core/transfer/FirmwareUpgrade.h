#pragma once
// Replacing the controller's main program: the image check, the loader handshake (C4 F1..F5,
// answered only while the controller's loader runs, so the user restarts the controller
// during the attempts), then the image in raw 512-byte F1 blocks between F0 and F2.
//
// Steps of this log start on a new line (the upgrade page's box convention); marks do not.
#include "core/app/Seams.h"
#include "core/link/Link.h"
#include "core/transfer/TransferResult.h"

#include <array>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace rz::transfer {

inline constexpr std::string_view kFirmwareIdentity = "Tuvo RZ-760";
// The identity must start at least this far before the end of the image.
inline constexpr std::size_t kIdentityTailGap = 1000;
inline constexpr int kHandshakeAttempts = 300;
inline constexpr uint32_t kHandshakePauseMs = 5;
inline constexpr uint32_t kPauseBeforeHandshakeMs = 100;
inline constexpr std::array<uint8_t, 5> kLoaderHandshake{0xF1, 0xF2, 0xF3, 0xF4, 0xF5};
inline constexpr std::array<uint8_t, 5> kLoaderHandshakeReply{0x01, 0x02, 0x03, 0x04, 0x05};

// True when "Tuvo RZ-760" starts at some p with 0 <= p <= length - 1000.
bool isFirmwareImage(std::span<const uint8_t> image);

// The development image beside the tool's source tree: the application folder without its
// last characters (as many as "02--PC代码_调试软件\01--代码" has), then the loader project's
// output. Empty when the folder text is shorter than what is to be removed.
std::optional<std::filesystem::path> developmentImagePath(std::u16string_view applicationFolder);

class FirmwareUpgrade {
public:
    // One per link: installs its receive hook (the handshake reply) in the link's
    // firmware-data slot.
    explicit FirmwareUpgrade(link::Link& link);
    ~FirmwareUpgrade();
    FirmwareUpgrade(const FirmwareUpgrade&) = delete;
    FirmwareUpgrade& operator=(const FirmwareUpgrade&) = delete;

    // The whole upgrade of the image at `path` (the page has put "升级机器主程序" into its
    // box first); refused (Busy) while one runs. The development upgrade skips the identity
    // check. An image longer than 65,535 bytes is refused: its length does not fit the start
    // message.
    [[nodiscard]] TransferResult upgrade(const std::filesystem::path& path, LogBox& box);
    [[nodiscard]] TransferResult developmentUpgrade(const std::filesystem::path& path, LogBox& box);
    bool running() const { return upgradeRunning; }

    // The length of the file into upgradeFileSize(); "文件不存在！！！" and false when empty.
    bool checkFile(const std::filesystem::path& path, LogBox& box);
    uint64_t upgradeFileSize() const { return fileSize; }

    // True while an upgrade runs and stillWanted() holds.
    bool statusCheck() const;

    // Sets handshakeOk() when a C4 frame carries exactly 01 02 03 04 05.
    void onFrame(uint8_t command, std::span<const uint8_t> payload);
    bool handshakeOk() const { return handshake; }

    // The page is the active page and the program is not closing; when it turns false a
    // running handshake or transfer ends at its next status check.
    std::function<bool()> stillWanted;
    // Asked at the same places as stillWanted: true stops the upgrade there with "->已取消"
    // (no verification is sent) and it ends Cancelled. The page's cancel button sets it.
    std::function<bool()> cancelRequested;
    // After each F1 block: image bytes sent of the total.
    std::function<void(uint64_t done, uint64_t total)> onProgress;

private:
    TransferResult run(const std::filesystem::path& path, LogBox& box, bool checkIdentity);
    TransferResult checkedRun(const std::filesystem::path& path, LogBox& box, bool checkIdentity);
    // The loader handshake; Succeeded when the loader answered.
    TransferResult startHandshake(LogBox& box);
    // F0, the F1 blocks and F2 with their log lines.
    TransferResult downloadData(std::span<const uint8_t> image, LogBox& box);
    // True (with "->已取消" in the log) when cancelRequested holds.
    bool cancelled(LogBox& box) const;

    link::Link& link;
    bool upgradeRunning = false;
    bool handshake = false;
    uint64_t fileSize = 0;
};

} // namespace rz::transfer
