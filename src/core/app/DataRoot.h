#pragma once
// The data root: the folder under which every settings, show and exchange file lives.
#include <filesystem>
#include <optional>

namespace rz {

struct DataRootCandidates {
    std::optional<std::filesystem::path> commandLine; // --data-dir DIR
    std::optional<std::filesystem::path> environment; // RZ760_HOME
    std::filesystem::path executableFolder;
    std::filesystem::path userDataFolder;             // the platform's per-user data folder
};

// First of: the command line, the environment, the executable's folder when files can be
// created there, the user's data folder. The chosen folder is created when missing.
std::filesystem::path chooseDataRoot(const DataRootCandidates& c);

// True when a file can be created (and removed again) in `folder`.
bool folderIsWritable(const std::filesystem::path& folder);

} // namespace rz
