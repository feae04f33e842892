#include "sim/TransferFamilies.h"

#include "core/link/Commands.h"
#include "core/transfer/ControllerQueries.h"
#include "core/transfer/FirmwareUpgrade.h"
#include "sim/Controller.h"

namespace rz::sim {

void TransferFamilies::routeInto(Controller& controller)
{
    namespace cmd = link::cmd;
    for (uint8_t c : {cmd::kFileStart, cmd::kFileBlock, cmd::kFileVerify, cmd::kFileUploadInfo,
                      cmd::kFileUploadData, cmd::kFileStatus})
        controller.route(c, files);
    // An empty C4 stays a restart; the handshake carries F1 first.
    controller.route(cmd::kRestart, transfer::kLoaderHandshake[0], loader);
    for (uint8_t c : {cmd::kFirmwareStart, cmd::kFirmwareData, cmd::kFirmwareVerify})
        controller.route(c, loader);
    for (uint8_t sub : {transfer::kVersionQuery, transfer::kInformationQuery, transfer::kFileIdQuery})
        controller.route(cmd::kQuery, sub, queries);
}

} // namespace rz::sim
