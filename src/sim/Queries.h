#pragma once
// The controller's answers to the CE queries of the upgrade page: CE 21 its version text,
// CE 26 its information text (0x44 when it has none), CE 28 whether wall-panel and VOD files
// are stored and their numbers.
#include "sim/CommandFamily.h"

#include <cstdint>
#include <optional>
#include <string>

namespace rz::sim {

class FileStore;

class Queries : public CommandFamily {
public:
    // Presence of the wall-panel (kind 2) and VOD (kind 3) files comes from the store.
    explicit Queries(const FileStore& files);

    void handle(const ReceivedFrame& frame, FamilyContext& context) override;

    void setVersionText(std::string text) { version = std::move(text); }
    // No text: the controller answers that it has none.
    void setInformation(std::optional<std::u16string> text) { information = std::move(text); }
    void setFileNumbers(uint8_t wallPanel, uint8_t vod);

private:
    const FileStore& files;
    std::string version = "1.0.0.0.";
    std::optional<std::u16string> information = u"RZ-760 模拟控制器";
    uint8_t wallPanelNumber = 1;
    uint8_t vodNumber = 1;
};

} // namespace rz::sim
