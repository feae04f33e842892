#pragma once
// The fleet subcommands: one controller command on every room of a rooms file at once, each
// room through the same code as the single command, with its own link. Each returns the exit
// status: 0 only when every room succeeded.
#include "ctl/ControllerTool.h"
#include "ctl/ShowTool.h"

#include <cstdint>
#include <filesystem>
#include <optional>

namespace rz::ctl {

// Each transfer waits for every 512-byte block's acknowledgement, so even this many at once
// carry little traffic; a venue of a few dozen rooms goes in one round.
inline constexpr int kDefaultParallel = 64;
inline constexpr int kMaxParallel = 256;

struct FleetOptions {
    std::filesystem::path roomsFile;
    int parallel = kDefaultParallel;
    bool json = false;
};

int runFleetPing(const FleetOptions& o, ToolStreams io);
// version or information.
int runFleetQuery(const FleetOptions& o, Query q, ToolStreams io);
int runFleetDownload(const FleetOptions& o, const std::filesystem::path& file, uint8_t kind,
                     std::optional<uint8_t> scene, ToolStreams io);
// One file per room in `folder` (created when missing), named by the room and the kind:
// "101.K_F", "101.KQB", ...; a room whose upload fails writes nothing.
int runFleetUpload(const FleetOptions& o, uint8_t kind, const std::filesystem::path& folder, ToolStreams io);

// The file name extension of a kind: "K_F", "KQB", "KVD", "AC", "bin" for any other.
const char* kindExtension(uint8_t kind);

} // namespace rz::ctl
