#include "core/rdm/UidSearch.h"

#include "core/rdm/DiscoveryReply.h"
#include "core/rdm/RdmTexts.h"

#include <algorithm>

namespace rz::rdm {

UidSearch::UidSearch(DiscoveryTarget& target, RdmView& view) : target(target), view(view) {}

void UidSearch::clearFoundUids()
{
    found.clear();
    fullNoted = false;
    view.foundUidsCleared();
}

bool UidSearch::isFound(Uid uid) const
{
    return std::find(found.begin(), found.end(), uid) != found.end();
}

bool UidSearch::addFoundUid(Uid uid)
{
    if (isFound(uid))
        return false;
    if (found.size() >= kMaxFoundUids) {
        if (!fullNoted)
            view.appendLog(std::u16string(text::kFoundTableFull) + std::u16string(text::kLineEnd));
        fullNoted = true;
        return false;
    }
    found.push_back(uid);
    view.uidFound(uid.listedText());
    return true;
}

void UidSearch::reject(std::u16string_view why, Uid uid)
{
    view.appendDetail(std::u16string(why) + uid.listedText() + std::u16string(text::kLineEnd));
}

std::vector<Uid> UidSearch::decodeAllReplies(std::span<const uint8_t> bytes)
{
    std::vector<Uid> uids;
    for (std::size_t pos = 0;
         pos < kMaxDecodePositions && bytes.size() - pos >= kDiscoveryReplyLength; ++pos) {
        const auto uid = decodeDiscoveryReply(bytes.subspan(pos));
        if (uid && std::find(uids.begin(), uids.end(), *uid) == uids.end())
            uids.push_back(*uid);
    }
    return uids;
}

std::vector<uint8_t> UidSearch::askBranch(Uid lower, Uid upper)
{
    ++branches;
    view.showBranchCount(branches);
    for (int attempt = 0; attempt < kBranchTries; ++attempt) {
        if (auto answer = target.branch(lower, upper))
            return std::move(*answer);
    }
    return {};
}

bool UidSearch::confirm(Uid candidate)
{
    const std::vector<uint8_t> answer = askBranch(candidate, candidate);
    const std::vector<Uid> uids = decodeAllReplies(answer);
    return std::find(uids.begin(), uids.end(), candidate) != uids.end();
}

bool UidSearch::takeReplies(Range range, std::span<const uint8_t> bytes)
{
    const bool leaf = range.lower == range.upper;
    bool startOver = false;
    for (Uid uid : decodeAllReplies(bytes)) {
        if (uid < range.lower || uid > range.upper) {
            reject(text::kRejectedOutsideRange, uid);
            continue;
        }
        if (isFound(uid)) {
            if (useMute)
                reject(text::kRejectedMutedAnswer, uid);
            continue;
        }
        // Without mute mode the search descends to every answering leaf anyway.
        if (!leaf && !useMute)
            continue;
        if (!leaf && !confirm(uid)) {
            reject(text::kRejectedUnconfirmed, uid);
            continue;
        }
        if (addFoundUid(uid) && useMute) {
            target.mute(uid);
            startOver = true;
        }
    }
    return startOver;
}

void UidSearch::startDiscovery()
{
    stopRequested = false;
    view.clearLog();
    branches = 0;
    isRunning = true;
    // Depth first, lower half first, as a recursive search would go; a start-over pushes the
    // whole space on top of the ranges still pending.
    std::vector<Range> pending{{Uid::fromValue(0), Uid::allDevices()}};
    while (!pending.empty() && !stopRequested) {
        Range r = pending.back();
        pending.pop_back();
        const std::vector<uint8_t> answer = askBranch(r.lower, r.upper);
        if (answer.empty())
            continue;
        if (takeReplies(r, answer))
            r = {Uid::fromValue(0), Uid::allDevices()};
        if (r.upper > r.lower) {
            const uint64_t half = (r.upper.value() - r.lower.value()) / 2;
            pending.push_back({Uid::fromValue(r.upper.value() - half), r.upper});
            pending.push_back({r.lower, Uid::fromValue(r.lower.value() + half)});
        }
    }
    isRunning = false;
}

} // namespace rz::rdm
