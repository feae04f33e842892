#pragma once
// The information box and progress bar of a transfer page as the page logic drives them.
#include "core/app/Seams.h"

#include <cstdint>
#include <string>

namespace rz::transfer {

class TransferView {
public:
    virtual ~TransferView() = default;
    // The core's "->" lines go straight in.
    virtual LogBox& log() = 0;
    virtual void clearLog() = 0;
    // The whole content becomes `text`.
    virtual void resetLog(const std::u16string& text) = 0;
    // A line break unless the box is empty or already ends in one.
    virtual void startLogLine() = 0;
    // Bytes confirmed so far of the total; (0, 0) before anything was sent.
    virtual void showProgress(uint64_t done, uint64_t total) = 0;

    // `text` on a line of its own (an empty box gets no leading blank line).
    void addLogLine(const std::u16string& text)
    {
        startLogLine();
        log().append(text, false);
    }
};

} // namespace rz::transfer
