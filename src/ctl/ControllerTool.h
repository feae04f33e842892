#pragma once
// The controller subcommands: one session per run over the link the user names. Every
// command first makes the C0 handshake (a link is connected only once C0 is answered), then
// runs the core operation with its log lines on standard output and ends with one result
// line. Each returns the exit status.
#include "ctl/LinkAddress.h"
#include "ctl/ShowTool.h"
#include "core/rdm/Uid.h"

#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>

namespace rz::ctl {

struct SessionOptions {
    LinkAddress link;
    bool progress = false; // a progress bar on standard error when it is a terminal
    // Asked by downloads and uploads before each block: true stops the transfer there.
    std::function<bool()> cancelRequested;
};

int runPing(const SessionOptions& o, ToolStreams io);
int runDownload(const SessionOptions& o, const std::filesystem::path& file, uint8_t kind,
                std::optional<uint8_t> scene, ToolStreams io);
int runUpload(const SessionOptions& o, uint8_t kind, const std::filesystem::path& output, ToolStreams io);
// `restartFirst`: send the restart command before the loader handshake, so a controller that
// nobody can restart by hand enters its loader.
int runFirmware(const SessionOptions& o, const std::filesystem::path& image, bool restartFirst, ToolStreams io);

enum class Query { version, information, fileIds };
int runQuery(const SessionOptions& o, Query q, ToolStreams io);

// The search un-mutes every device before and after, so a muted line never outlives it.
int runRdmDiscover(const SessionOptions& o, bool mute, ToolStreams io);
int runRdmUnmuteAll(const SessionOptions& o, ToolStreams io);
int runRdmInfo(const SessionOptions& o, rdm::Uid uid, ToolStreams io);
int runRdmAddress(const SessionOptions& o, rdm::Uid uid, uint16_t address, ToolStreams io);
int runRdmPersonality(const SessionOptions& o, rdm::Uid uid, uint8_t personality, ToolStreams io);
// Waits for the device's acknowledgement: fails when nobody answers.
int runRdmIdentify(const SessionOptions& o, rdm::Uid uid, bool on, ToolStreams io);

} // namespace rz::ctl
