#include "ui/shell/SingleInstance.h"

#include <QString>

namespace rz::ui {

std::filesystem::path SingleInstanceLock::lockFile(const std::filesystem::path& dataRoot)
{
    return dataRoot / "rz760-tool.lock";
}

SingleInstanceLock::SingleInstanceLock(const std::filesystem::path& dataRoot)
    : lock(std::make_unique<QLockFile>(QString::fromStdU16String(lockFile(dataRoot).u16string())))
{
    // No age limit: only a lock whose process is gone counts as stale.
    lock->setStaleLockTime(0);
}

bool SingleInstanceLock::acquire()
{
    return lock->isLocked() || lock->tryLock(0);
}

} // namespace rz::ui
