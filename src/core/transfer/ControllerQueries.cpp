#include "core/transfer/ControllerQueries.h"

#include "core/app/Conversions.h"
#include "core/files/ByteImage.h"
#include "core/link/Commands.h"
#include "core/transfer/TransferTexts.h"

#include <array>

namespace rz::transfer {

namespace {

std::u16string threeDigits(uint8_t n)
{
    const std::string digits = std::to_string(n);
    return padLeftZeros(std::u16string(digits.begin(), digits.end()), 3);
}

// Single-byte character codes, one code unit each.
std::u16string byteText(std::span<const uint8_t> bytes)
{
    return std::u16string(bytes.begin(), bytes.end());
}

} // namespace

std::optional<std::u16string> fileIdReport(std::span<const uint8_t> bytes)
{
    if (bytes.size() < 4)
        return std::nullopt;
    std::u16string report;
    if (bytes[0] == 0)
        report += text::kWallPanelFileMissing;
    else
        report += std::u16string(text::kWallPanelFileId) + threeDigits(bytes[1]) + u"  ";
    if (bytes[2] == 0)
        report += text::kVodFileMissing;
    else
        report += std::u16string(text::kVodFileId) + threeDigits(bytes[3]) + u"  ";
    return report;
}

ControllerQueries::ControllerQueries(link::Link& link, LogBox& box) : link(link), box(box)
{
    link.setReceiver(link::Link::ReceiverSlot::FirmwareVersion,
                     [this](uint8_t command, std::span<const uint8_t> payload) {
                         onFrame(command, payload);
                     });
}

ControllerQueries::~ControllerQueries()
{
    link.setReceiver(link::Link::ReceiverSlot::FirmwareVersion, {});
}

void ControllerQueries::query(uint8_t subCommand)
{
    const std::array<uint8_t, 1> payload{subCommand};
    link.send(link::cmd::kQuery, payload);
}

void ControllerQueries::requestVersion()
{
    query(kVersionQuery);
}

void ControllerQueries::requestInformation()
{
    query(kInformationQuery);
}

void ControllerQueries::requestFileIds()
{
    query(kFileIdQuery);
}

void ControllerQueries::onFrame(uint8_t command, std::span<const uint8_t> payload)
{
    if (command != link::cmd::kQuery || payload.empty())
        return;
    const std::span<const uint8_t> rest = payload.subspan(1);
    switch (payload[0]) {
    case kVersionQuery:
        box.append(std::u16string(text::kVersionPrefix) + byteText(rest), true);
        break;
    case kInformationQuery: {
        if (rest.empty())
            break;
        if (rest[0] == kInformationAbsent) {
            box.append(u"", true);
            box.append(std::u16string(text::kNoInformation), true);
        } else if (rest[0] == kInformationPresent) {
            files::ByteReader reader(rest.subspan(1));
            const std::u16string info = reader.getText();
            if (reader.failed() || info.size() > files::kMaxTextLength)
                break;
            box.append(u"", true);
            box.append(info, true);
        }
        break;
    }
    case kFileIdQuery:
        if (const auto report = fileIdReport(rest))
            box.append(std::u16string(text::kReportPrefix) + *report, true);
        break;
    default: break;
    }
}

} // namespace rz::transfer
