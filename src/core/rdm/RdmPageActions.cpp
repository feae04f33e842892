#include "core/rdm/RdmPageActions.h"

#include "core/rdm/DiscoveryReply.h"
#include "core/rdm/NumberText.h"
#include "core/rdm/RdmTexts.h"

namespace rz::rdm {

namespace {

const std::u16string kLineEnd(text::kLineEnd);

} // namespace

std::u16string searchFrameCaption(std::size_t listEntries)
{
    return std::u16string(text::kFixtureSearch) + u" (" + decimalText(listEntries) + u")";
}

std::u16string decodeDiscoveryReplyTool(std::u16string_view text)
{
    std::u16string digits;
    for (char16_t c : text)
        if (c != u' ')
            digits += c;
    const auto bytes = bytesFromHex(digits);
    if (!bytes || bytes->size() != kDiscoveryReplyLength)
        return std::u16string(text::kFormatError);
    const auto uid = decodeDiscoveryReply(*bytes);
    if (!uid)
        return std::u16string(text::kDecodeError);
    std::u16string t = uid->listedText();
    t += u'-';
    return t;
}

uint32_t addressFromText(std::u16string_view text)
{
    std::size_t i = 0;
    while (i < text.size() && text[i] == u' ')
        ++i;
    uint32_t value = 0;
    for (; i < text.size() && text[i] >= u'0' && text[i] <= u'9'; ++i) {
        value = value * 10 + static_cast<uint32_t>(text[i] - u'0');
        if (value > 1'000'000)
            break; // far out of range already
    }
    return value;
}

RdmPageActions::RdmPageActions(RdmDriver& driver, Prompt& prompt) : driver(driver), prompt(prompt) {}

void RdmPageActions::pageShown()
{
    driver.clearSupportedNote();
    driver.clearLog();
    driver.sendRdmControl(kControlEnable);
    driver.unMuteAll();
    driver.setPageIdle(1);
}

DeviceInformation RdmPageActions::readDeviceInformation(std::u16string_view selectedEntry,
                                                        std::u16string_view uidText)
{
    DeviceInformation out;
    out.text += text::kManufacturer;
    if (driver.rdmReadManufacturerLabel(selectedEntry))
        out.text += driver.manufacturerLabel();
    out.text += kLineEnd;
    out.text += text::kProduct;
    if (driver.rdmReadDeviceLabel(selectedEntry))
        out.text += driver.deviceLabel();
    out.text += kLineEnd;
    if (!driver.rdmReadDeviceInfo(uidText)) {
        out.text += text::kReadFailed;
        return out;
    }
    const DeviceInfo& info = driver.deviceInfo();
    out.deviceInfoRead = true;
    out.text += driver.summaryText();
    for (int n = 1; n <= info.personalityCount; ++n)
        out.personalities.push_back(decimalText(static_cast<uint64_t>(n)) + std::u16string(text::kMode));
    if (info.currentPersonality >= 1 && info.currentPersonality <= info.personalityCount)
        out.personalityIndex = info.currentPersonality - 1;
    out.addressText = decimalText(info.startAddress);
    return out;
}

bool RdmPageActions::changeAddress(std::u16string_view selectedEntry, std::u16string_view addressText)
{
    const uint32_t address = addressFromText(addressText);
    if (address < kLowestAddress || address > kHighestAddress) {
        prompt.message(std::u16string(text::kAddressInputError));
        return false;
    }
    driver.rdmSetStartAddress(selectedEntry, static_cast<uint16_t>(address));
    return true;
}

bool RdmPageActions::changePersonality(std::u16string_view selectedEntry, int index, int count)
{
    if (count == 0 || index < 0 || index >= count || index > 254) {
        prompt.message(std::u16string(text::kChannelSettingError));
        return false;
    }
    driver.rdmSetPersonality(selectedEntry, static_cast<uint8_t>(index + 1));
    return true;
}

void RdmPageActions::identify(std::u16string_view selectedEntry, uint8_t onOff)
{
    std::u16string uid;
    for (char16_t c : selectedEntry)
        if (c != u'-')
            uid += c;
    driver.rdmIdentify(uid, onOff);
}

void RdmPageActions::searchClicked(SearchControls& controls)
{
    driver.setPageIdle(0);
    controls.setDeviceControlsEnabled(false);
    if (searching()) {
        driver.stopDiscovery();
    } else {
        controls.setSearchCaption(text::kStop);
        controls.setFrameCaption(std::u16string(text::kFixtureSearch));
        driver.clearFoundUids();
        driver.startDiscovery();
        driver.unMuteAll();
        controls.setFrameCaption(searchFrameCaption(controls.listEntries()));
    }
    controls.setDeviceControlsEnabled(true);
    controls.setSearchCaption(text::kSearch);
    driver.setPageIdle(1);
}

} // namespace rz::rdm
