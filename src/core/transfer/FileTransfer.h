#pragma once
// Moving parameter files between the PC and the controller: the download (start message with
// size and checksum, zero-run packed 512-byte blocks each acknowledged, status queries that
// recover lost acknowledgements, a final verification) and the upload (file information, then
// 512-byte blocks), each step logged into the caller's information box. Requests that only
// start, re-verify or read are asked again when their answer is lost; nothing changes on a
// link that loses nothing.
//
// Runs inside a button handler: every wait lets the event loop run, the main loop's periodic
// tasks do not run until the transfer returns.
#include "core/app/Seams.h"
#include "core/link/Link.h"
#include "core/transfer/TransferResult.h"

#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <span>
#include <vector>

namespace rz::transfer {

// A D1 block whose acknowledgement is missing is sent again at most this many times.
inline constexpr int kMaxBlockResends = 3;
inline constexpr int kStatusQueries = 4;
// D0, D2, D3 and D4 are sent at most this many times while no answer comes: asking again
// only starts afresh before any block, re-verifies or reads, and on a link that loses three
// replies in ten a request then still fails less than once in ten thousand times, while a
// controller that is gone costs four seconds.
inline constexpr int kReplyAttempts = 8;
// A download stops when this many blocks in a row got neither a block nor a status answer.
inline constexpr int kMaxSilentBlocks = 10;
// Larger than any parameter file; an upload announcing more is refused as a data error.
inline constexpr uint32_t kMaxUploadLength = 64u * 1024 * 1024;

class FileTransfer {
public:
    // One per link: installs its receive hook in the link's first receiver slot (and removes
    // it when destroyed). `isConnected` reads the connection manager's flag.
    FileTransfer(link::Link& link, std::function<bool()> isConnected);
    ~FileTransfer();
    FileTransfer(const FileTransfer&) = delete;
    FileTransfer& operator=(const FileTransfer&) = delete;

    // Writes "未连接" and returns false when the link is not connected. The caller clears
    // its box before (a LogBox only appends).
    bool checkConnected(LogBox& box);

    // Sends the file at `path` as `kind`. With `switchToScene` and kind 1 the verification
    // asks the controller to switch to that scene. Succeeded only when the verification
    // passed. Not connected: "未连接" and nothing is sent.
    [[nodiscard]] TransferResult downloadFile(uint8_t kind, const std::filesystem::path& path, LogBox& box,
                                              std::optional<uint8_t> switchToScene = std::nullopt);
    // Fetches the controller's file of `kind`; `path` is replaced (atomically) only when every
    // block arrived and the transfer was not stopped.
    [[nodiscard]] TransferResult uploadFile(uint8_t kind, const std::filesystem::path& path, LogBox& box);

    // The receive hook: keeps the payloads of D2, D3, D4 and D8 replies.
    void onFrame(uint8_t command, std::span<const uint8_t> payload);

    // Asked before each block and before each request sent again: true stops the transfer
    // there with "->已取消" (a download runs no verification, an upload writes nothing), and
    // it ends Cancelled. The page's cancel button and rz760ctl's Ctrl+C set it.
    std::function<bool()> cancelRequested;
    // True once the program is closing: the transfer stops at the same places, silently.
    std::function<bool()> programClosing;
    // After each block: bytes done so far of the total.
    std::function<void(uint64_t done, uint64_t total)> onProgress;

private:
    enum class BlockOutcome { Delivered, Failed, Stopped };
    struct Asked {
        enum Outcome { Answered, Unanswered, Stopped } outcome = Unanswered;
        int sent = 0;
    };
    struct StatusAnswer {
        bool answered = false;
        bool blockArrived = false;
        bool stopped = false; // stopHere() held before a query
    };

    // Sends the request and waits for its answer, again while none comes (kReplyAttempts
    // in all); stopHere() is asked before each repetition.
    Asked ask(uint8_t command, std::span<const uint8_t> payload, LogBox& box);
    BlockOutcome sendBlock(std::span<const uint8_t> block, uint32_t heldAfter, LogBox& box);
    StatusAnswer queryStatus(uint32_t heldAfter, LogBox& box);
    // True when the transfer must stop here: cancelled ("->已取消" is logged) or closing.
    bool stopHere(LogBox& box);
    void progress(uint64_t done, uint64_t total);

    link::Link& link;
    std::function<bool()> isConnected;
    std::vector<uint8_t> uploadInfoReply;
    std::vector<uint8_t> uploadDataReply;
    std::vector<uint8_t> statusReply;
    std::vector<uint8_t> verifyReply;
    uint64_t blockRepliesHeard = 0; // D1 and D8 answers, also those that came late
};

} // namespace rz::transfer
