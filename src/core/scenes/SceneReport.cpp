#include "core/scenes/SceneReport.h"

namespace rz::scenes {

namespace {

// At least two digits, as the box has always shown them ("05", "12", "200").
std::u16string twoDigits(uint8_t value)
{
    std::u16string text;
    if (value >= 100)
        text += static_cast<char16_t>(u'0' + value / 100);
    text += static_cast<char16_t>(u'0' + value / 10 % 10);
    text += static_cast<char16_t>(u'0' + value % 10);
    return text;
}

} // namespace

void requestSceneReports(link::Link& link) { link.sendText(kSceneReportStartFrame); }

void stopSceneReports(link::Link& link) { link.sendText(kSceneReportStopFrame); }

std::optional<std::u16string> sceneReportText(uint8_t command, std::span<const uint8_t> data)
{
    if (command != kSceneReportCommand || data.size() < 4 || data[0] != kSceneReportTag)
        return std::nullopt;
    std::u16string text;
    if (data[1] == 0)
        text = u"A-" + twoDigits(data[2]) + u"  ";
    else if (data[1] == 1)
        text = u"B-" + twoDigits(data[2]) + u"  ";
    text += u"C-" + twoDigits(data[3]);
    return text;
}

void installSceneReportReceiver(link::Link& link, std::function<void(const std::u16string&)> show)
{
    link.setReceiver(link::Link::ReceiverSlot::SceneAssociation,
                     [show = std::move(show)](uint8_t command, std::span<const uint8_t> payload) {
                         if (auto text = sceneReportText(command, payload); text && show)
                             show(*text);
                     });
}

} // namespace rz::scenes
