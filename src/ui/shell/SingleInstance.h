#pragma once
// One running copy per data root: a lock file there. A lock left behind by a process that
// no longer runs is taken over; a live one is never taken, however old it is.
#include <QLockFile>

#include <filesystem>
#include <memory>

namespace rz::ui {

class SingleInstanceLock {
public:
    explicit SingleInstanceLock(const std::filesystem::path& dataRoot);

    // True when this process now holds the lock (or already did).
    bool acquire();
    bool held() const { return lock && lock->isLocked(); }

    static std::filesystem::path lockFile(const std::filesystem::path& dataRoot);

private:
    std::unique_ptr<QLockFile> lock;
};

} // namespace rz::ui
