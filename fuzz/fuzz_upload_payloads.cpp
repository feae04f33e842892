// Outside bytes as what a controller answers during an upload: the D3 file information and
// the D4 blocks (the input is cut into replies by 2-byte lengths), plus every transfer
// payload parser on the raw bytes. An upload succeeds only with the announced length made of
// whole blocks, and writes exactly those bytes; a failed upload leaves the file as it was.
#include "FuzzSupport.h"
#include "core/files/ByteImage.h"
#include "core/link/Commands.h"
#include "core/link/Frame.h"
#include "core/link/Link.h"
#include "core/transfer/FileTransfer.h"
#include "core/transfer/TransferMessages.h"
#include "core/transfer/TransferResult.h"

#include <cstdint>
#include <algorithm>
#include <deque>
#include <span>
#include <vector>

namespace {

using Bytes = std::vector<uint8_t>;
using rz::fuzz::check;
namespace cmd = rz::link::cmd;

// Answers each D3 and D4 request with the next scripted payload, as long as there is one.
class ScriptedController : public rz::link::Transport {
public:
    bool isOpen() const override { return true; }
    void write(std::span<const uint8_t> frame) override
    {
        if (frame.size() < rz::link::kFrameOverhead || replies.empty())
            return;
        const uint8_t command = frame[6];
        if (command != cmd::kFileUploadInfo && command != cmd::kFileUploadData)
            return;
        if (command == cmd::kFileUploadData)
            served.push_back(replies.front());
        else
            infos.push_back(replies.front());
        pending.push_back(rz::link::buildFrame(command, replies.front()));
        replies.pop_front();
    }
    void poll() override
    {
        while (!pending.empty()) {
            const Bytes f = std::move(pending.front());
            pending.pop_front();
            deliver(f);
        }
    }
    std::deque<Bytes> replies;
    std::deque<Bytes> pending;
    std::vector<Bytes> infos;  // the D3 payloads handed out, in order
    std::vector<Bytes> served; // the D4 payloads handed out, in order
};

void parsers(std::span<const uint8_t> p)
{
    using namespace rz::transfer;
    (void)parseUploadInfo(p);
    (void)parseUploadBlockRequest(p);
    (void)parseStatusReply(p);
    (void)parseDownloadStart(p);
    (void)parseFirmwareStart(p);
    (void)parseFirmwareBlock(p);
    if (const auto block = parseDownloadBlock(p))
        check(block->bytes.size() == block->rawLength);
}

// Whether `file` is some of the served blocks, whole and in their order.
bool madeOfServedBlocks(const Bytes& file, const std::vector<Bytes>& served)
{
    std::size_t pos = 0;
    for (const Bytes& block : served)
        if (!block.empty() && block.size() <= file.size() - pos &&
            std::equal(block.begin(), block.end(), file.begin() + static_cast<std::ptrdiff_t>(pos)))
            pos += block.size();
    return pos == file.size();
}

bool announced(std::size_t length, const std::vector<Bytes>& infos)
{
    for (const Bytes& p : infos)
        if (const auto info = rz::transfer::parseUploadInfo(p); info && info->length == length)
            return true;
    return false;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const rz::fuzz::ScratchFolder folder("fuzz-upload");
    const std::span<const uint8_t> input(data, size);
    parsers(input);
    if (size < 1)
        return 0;

    const uint8_t kind = static_cast<uint8_t>(data[0] % 4 + 1);
    ScriptedController controller;
    for (std::size_t pos = 1; pos + 2 <= size;) {
        const std::size_t n = std::min<std::size_t>(data[pos] << 8 | data[pos + 1], size - pos - 2);
        controller.replies.emplace_back(data + pos + 2, data + pos + 2 + n);
        pos += 2 + n;
    }

    rz::fuzz::StepClock clock;
    rz::fuzz::StepYield yield(clock);
    rz::link::Link link(clock, yield);
    link.setTransport(&controller);
    const std::filesystem::path target = folder.path / "back.K_F";
    const Bytes old{'o', 'l', 'd'};
    check(rz::files::saveImage(target, old));
    {
        rz::transfer::FileTransfer transfer(link, [] { return true; });
        rz::fuzz::NullLog log;
        const bool ok = transfer.uploadFile(kind, target, log) == rz::transfer::TransferResult::Succeeded;
        const auto written = rz::files::loadImage(target);
        check(written.has_value());
        if (ok) {
            check(madeOfServedBlocks(*written, controller.served));
            check(announced(written->size(), controller.infos));
        } else {
            check(*written == old);
        }
    }
    link.setTransport(nullptr);
    return 0;
}
