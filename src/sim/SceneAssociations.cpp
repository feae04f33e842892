#include "sim/SceneAssociations.h"

#include "core/files/ByteImage.h"
#include "core/scenes/SceneSection.h"
#include "core/scenes/SceneTable.h"
#include "sim/FileStore.h"
#include "sim/InfraredFunctions.h"

#include <array>
#include <memory>

namespace rz::sim {

namespace {

constexpr uint8_t kReportOn = 0x88, kReportOff = 0x44;
constexpr uint8_t kShowKind = 1;

void reportRoom(FamilyContext& context, const char* function, std::vector<uint8_t> payload = {})
{
    ControllerEvent e;
    e.kind = EventKind::RoomFunction;
    e.function = function;
    e.length = payload.size();
    e.payload = std::move(payload);
    context.report(std::move(e));
}

} // namespace

void SceneAssociations::handle(const ReceivedFrame& frame, FamilyContext& context)
{
    if (frame.payload.size() < 2)
        return;
    const bool on = frame.payload[1] == kReportOn;
    if (!on && frame.payload[1] != kReportOff)
        return;
    if (on != reporting)
        reportRoom(context, on ? "sceneReportOn" : "sceneReportOff");
    reporting = on;
}

uint8_t SceneAssociations::associatedScene(SceneSource source, uint8_t number) const
{
    if (number == 0 || number > scenes::kMaxAssociation)
        return 0;
    // A show's scene table is large; it lives on the heap only while it is asked.
    auto table = std::make_unique<scenes::SceneTable>();
    table->setDefaultAssociations();
    if (const std::vector<uint8_t>* show = files.file(kShowKind)) {
        auto read = std::make_unique<scenes::SceneTable>();
        if (scenes::readSceneSection(*read, files::ByteReader(*show)) == scenes::ReadResult::ok)
            table = std::move(read);
    }
    for (int i = 1; i <= scenes::kAssociatedScenes; ++i) {
        const scenes::Scene& s = table->scene(i);
        if ((source == SceneSource::WallPanel ? s.wallPanelScene : s.vodScene) == number)
            return static_cast<uint8_t>(i);
    }
    return 0;
}

uint8_t SceneAssociations::selectScene(SceneSource source, uint8_t number, FamilyContext& context)
{
    const uint8_t scene = associatedScene(source, number);
    const uint8_t from = static_cast<uint8_t>(source);
    reportRoom(context, source == SceneSource::WallPanel ? "wallPanelScene" : "vodScene", {number, scene});
    if (reporting) {
        const std::array<uint8_t, 4> report{kAssociationSub, from, number, scene};
        context.reply(kRoomCommand, report);
    }
    return scene;
}

} // namespace rz::sim
