#include "sim/Queries.h"

#include "core/files/ByteImage.h"
#include "core/link/Commands.h"
#include "core/transfer/ControllerQueries.h"
#include "core/transfer/TransferMessages.h"
#include "sim/FileStore.h"

namespace rz::sim {

using namespace rz::transfer;

Queries::Queries(const FileStore& files) : files(files) {}

void Queries::setFileNumbers(uint8_t wallPanel, uint8_t vod)
{
    wallPanelNumber = wallPanel;
    vodNumber = vod;
}

void Queries::handle(const ReceivedFrame& frame, FamilyContext& context)
{
    if (frame.command != link::cmd::kQuery || frame.payload.empty())
        return;
    const uint8_t sub = frame.payload[0];
    std::vector<uint8_t> reply{sub};
    switch (sub) {
    case kVersionQuery:
        reply.insert(reply.end(), version.begin(), version.end());
        break;
    case kInformationQuery:
        if (information) {
            files::ByteWriter w(2 + 2 * files::kMaxTextLength);
            w.putText(*information, files::kMaxTextLength);
            reply.push_back(kInformationPresent);
            reply.insert(reply.end(), w.bytes().begin(), w.bytes().end());
        } else {
            reply.push_back(kInformationAbsent);
        }
        break;
    case kFileIdQuery: {
        const bool wallPanel = files.file(static_cast<uint8_t>(FileKind::WallPanel)) != nullptr;
        const bool vod = files.file(static_cast<uint8_t>(FileKind::Vod)) != nullptr;
        reply.insert(reply.end(), {uint8_t{wallPanel}, wallPanel ? wallPanelNumber : uint8_t{0},
                                   uint8_t{vod}, vod ? vodNumber : uint8_t{0}});
        break;
    }
    default: return;
    }
    context.reply(link::cmd::kQuery, reply);
}

} // namespace rz::sim
