#pragma once
// A progress bar fed by a transfer's progress callback for the duration of one operation;
// the callback the transfer had before is put back afterwards.
#include <QPointer>
#include <QProgressBar>

#include <cstdint>
#include <functional>

namespace rz::ui {

class ScopedTransferProgress {
public:
    using Callback = std::function<void(uint64_t done, uint64_t total)>;

    // Resets the bar and points `slot` at it.
    ScopedTransferProgress(Callback& slot, QProgressBar* bar);
    ~ScopedTransferProgress();
    ScopedTransferProgress(const ScopedTransferProgress&) = delete;
    ScopedTransferProgress& operator=(const ScopedTransferProgress&) = delete;

private:
    Callback& slot;
    Callback saved;
};

// The bar's range is per mille, so totals beyond int range still show.
void showTransferProgress(QProgressBar* bar, uint64_t done, uint64_t total);

} // namespace rz::ui
