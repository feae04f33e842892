#pragma once
// What the RDM driver and the search write to the RDM page. Every call has a default that
// does nothing, so a caller without a page (a test, a tool) overrides only what it watches.
#include <cstdint>
#include <string>

namespace rz::rdm {

class RdmView {
public:
    virtual ~RdmView() = default;
    // The detailed log: the page shows it only while detailed logging is on.
    virtual void appendDetail(const std::u16string& text) {}
    // The log, always shown.
    virtual void appendLog(const std::u16string& text) {}
    virtual void clearLog() {}
    // The branch counter of the running search.
    virtual void showBranchCount(uint32_t count) {}
    // A UID entered the found table, in the listed form; the table was emptied.
    virtual void uidFound(const std::u16string& listedText) {}
    virtual void foundUidsCleared() {}
};

} // namespace rz::rdm
