#pragma once
// Discovery: a binary search over the 48-bit UID space with DISC_UNIQUE_BRANCH, and the table
// of found UIDs.
//
// Answers of several devices OR-combine on the line and can decode, checksum included, to a
// UID that no device has. So a decoded UID is taken only when it lies inside the branch, and
// enters the table only once a branch of exactly that UID has answered with it (a leaf of the
// search, or, with mute mode, a confirming branch sent at once). A muted device that still
// answers is treated as a collision: the search goes on splitting instead of starting over,
// so it always ends. Every retry is capped.
#include "core/rdm/RdmView.h"
#include "core/rdm/Uid.h"

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace rz::rdm {

// The three calls discovery needs from the line.
class DiscoveryTarget {
public:
    virtual ~DiscoveryTarget() = default;
    // One DISC_UNIQUE_BRANCH and its wait: no value when no answer arrived in time, otherwise
    // the bytes the line returned (possibly none).
    virtual std::optional<std::vector<uint8_t>> branch(Uid lower, Uid upper) = 0;
    virtual void mute(Uid uid) = 0;
    virtual void unMuteAll() = 0;
};

class UidSearch {
public:
    static constexpr int kBranchTries = 10;
    static constexpr std::size_t kMaxFoundUids = 1000;
    static constexpr std::size_t kMaxDecodePositions = 1000;

    UidSearch(DiscoveryTarget& target, RdmView& view);

    // Mute each device as soon as it is found, and search the whole space again.
    void setUseMute(bool on) { useMute = on; }
    bool usesMute() const { return useMute; }

    // Clears the page's log and searches the whole space; returns when the search has ended.
    void startDiscovery();
    // Ends a running search at its next branch.
    void stopDiscovery() { stopRequested = true; }
    bool running() const { return isRunning; }

    void clearFoundUids();
    const std::vector<Uid>& foundUids() const { return found; }
    uint32_t branchCount() const { return branches; }

    // Every distinct UID that decodes at some position of the bytes, in order (at most 1000
    // positions are tried).
    static std::vector<Uid> decodeAllReplies(std::span<const uint8_t> bytes);

private:
    struct Range {
        Uid lower;
        Uid upper;
    };

    // Up to ten tries; the bytes of the first answer that arrived, empty when none did.
    std::vector<uint8_t> askBranch(Uid lower, Uid upper);
    // Takes what the branch's answer decodes to; true when the search is to start over.
    bool takeReplies(Range range, std::span<const uint8_t> bytes);
    bool confirm(Uid candidate);
    // False when the UID was already in the table or the table is full.
    bool addFoundUid(Uid uid);
    bool isFound(Uid uid) const;
    void reject(std::u16string_view why, Uid uid);

    DiscoveryTarget& target;
    RdmView& view;
    std::vector<Uid> found;
    bool useMute = false;
    bool stopRequested = false;
    bool isRunning = false;
    bool fullNoted = false;
    uint32_t branches = 0;
};

} // namespace rz::rdm
