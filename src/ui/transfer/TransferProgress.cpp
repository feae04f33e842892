#include "ui/transfer/TransferProgress.h"

namespace rz::ui {

namespace {
constexpr int kFullScale = 1000;
}

ScopedTransferProgress::ScopedTransferProgress(Callback& slot, QProgressBar* bar)
    : slot(slot), saved(std::move(slot))
{
    QPointer<QProgressBar> target(bar);
    if (target) {
        target->setRange(0, kFullScale);
        target->setValue(0);
    }
    slot = [target](uint64_t done, uint64_t total) {
        if (target)
            showTransferProgress(target, done, total);
    };
}

ScopedTransferProgress::~ScopedTransferProgress()
{
    slot = std::move(saved);
}

void showTransferProgress(QProgressBar* bar, uint64_t done, uint64_t total)
{
    if (!bar)
        return;
    bar->setRange(0, kFullScale);
    if (total == 0) {
        bar->setValue(done == 0 ? 0 : kFullScale);
        return;
    }
    const uint64_t clamped = done > total ? total : done;
    bar->setValue(static_cast<int>(clamped * kFullScale / total));
}

} // namespace rz::ui
