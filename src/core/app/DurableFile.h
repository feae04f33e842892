#pragma once
// Replacing a file so that neither a crash nor a power cut leaves it empty or half written.
#include <cstddef>
#include <filesystem>

namespace rz {

// Writes `bytes` beside `path`, flushes them to the disk, renames the new file over `path`
// and flushes the folder, so `path` holds either its old or its new content at every moment.
// Missing folders are created. On failure (full or read-only disk, a name that cannot be
// written) the old file is untouched, the file written beside it is removed, and false comes
// back.
bool replaceFileDurably(const std::filesystem::path& path, const void* bytes, std::size_t size);

} // namespace rz
