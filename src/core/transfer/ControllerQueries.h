#pragma once
// The controller's version, information text and wall-panel / VOD file identities: each
// query is one CE frame with no reply awaited; the report is written into the page's box
// when it arrives.
#include "core/app/Seams.h"
#include "core/link/Link.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string>

namespace rz::transfer {

// CE sub-commands of the three queries (the reply repeats them in its first byte).
inline constexpr uint8_t kVersionQuery = 0x21;
inline constexpr uint8_t kInformationQuery = 0x26; // the controller's information text
inline constexpr uint8_t kFileIdQuery = 0x28;      // wall-panel and VOD file identities
inline constexpr uint8_t kInformationPresent = 0x66;
inline constexpr uint8_t kInformationAbsent = 0x44;

// "墙板文件ID=A007  VOD文件不存在  " from the bytes after the CE 28 sub-command (present,
// number, present, number); empty when fewer than four bytes came.
std::optional<std::u16string> fileIdReport(std::span<const uint8_t> bytes);

class ControllerQueries {
public:
    // One per link: installs its receive hook in the link's firmware-version slot; reports
    // go to `box`, which must outlive this object.
    ControllerQueries(link::Link& link, LogBox& box);
    ~ControllerQueries();
    ControllerQueries(const ControllerQueries&) = delete;
    ControllerQueries& operator=(const ControllerQueries&) = delete;

    void requestVersion();
    void requestInformation();
    void requestFileIds();

    // CE 21, 26 and 28 reports; anything else, or a report too short to read, is ignored.
    void onFrame(uint8_t command, std::span<const uint8_t> payload);

private:
    void query(uint8_t subCommand);

    link::Link& link;
    LogBox& box;
};

} // namespace rz::transfer
