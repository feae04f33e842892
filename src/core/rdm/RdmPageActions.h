#pragma once
// What the RDM page's buttons do, apart from the widgets: reading a device's information,
// changing its address and personality, the discovery-response tools, and the search
// button's sequence. The page passes in what its controls hold and shows what comes back.
#include "core/app/Seams.h"
#include "core/app/Universe.h"
#include "core/rdm/RdmDriver.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace rz::rdm {

inline constexpr uint16_t kLowestAddress = 1;
inline constexpr uint16_t kHighestAddress = kUniverseSize;

// What the information label and the personality and address controls show after a read.
struct DeviceInformation {
    std::u16string text;                       // the information label
    bool deviceInfoRead = false;               // false: the controls below keep their values
    std::vector<std::u16string> personalities; // "1模式", "2模式", ...
    std::optional<int> personalityIndex;       // none when the current one is not listed
    std::u16string addressText;
};

// The search frame's caption after a search: "灯具搜索 (3)".
std::u16string searchFrameCaption(std::size_t listEntries);
// The decode tool: "03-11-F3-94-4E-87-" for 48 hexadecimal digits (spaces ignored) that decode,
// "解析错误！" when they do not, "格式错误！" for any other text.
std::u16string decodeDiscoveryReplyTool(std::u16string_view text);
// The address box as a whole number, digits after optional leading spaces; 0 for no number.
uint32_t addressFromText(std::u16string_view text);

// The controls the search button changes.
class SearchControls {
public:
    virtual ~SearchControls() = default;
    virtual void setSearchCaption(std::u16string_view caption) = 0;
    virtual void setFrameCaption(const std::u16string& caption) = 0;
    // The list and the device-information frame.
    virtual void setDeviceControlsEnabled(bool enabled) = 0;
    virtual std::size_t listEntries() = 0;
};

class RdmPageActions {
public:
    RdmPageActions(RdmDriver& driver, Prompt& prompt);

    // The page is shown: the note may appear again, the log is cleared, the RDM control and
    // the un-mute-all requests go out, and the page counts as idle. The page sets the
    // live-output mode and shows itself first.
    void pageShown();
    // Labels and device information of the selected device.
    DeviceInformation readDeviceInformation(std::u16string_view selectedEntry,
                                            std::u16string_view uidText);
    // "地址输入错误！" and false outside 1..512; otherwise the request is sent (whatever its
    // outcome the page reads the device again) and true.
    bool changeAddress(std::u16string_view selectedEntry, std::u16string_view addressText);
    // "通道设置错误！" and false unless 0 <= index < count and count > 0.
    bool changePersonality(std::u16string_view selectedEntry, int index, int count);
    // Identify off (0) or on (1) for the selected entry.
    void identify(std::u16string_view selectedEntry, uint8_t onOff);

    // The search button. While a search runs, a click stops it; otherwise the found table is
    // cleared, the whole line searched and every device un-muted again. Returns once done.
    void searchClicked(SearchControls& controls);
    bool searching() const { return driver.discovery().running(); }

private:
    RdmDriver& driver;
    Prompt& prompt;
};

} // namespace rz::rdm
