#include "core/app/DataRoot.h"

#include <fstream>
#include <system_error>

namespace rz {

bool folderIsWritable(const std::filesystem::path& folder)
{
    std::error_code ec;
    if (!std::filesystem::is_directory(folder, ec))
        return false;
    const auto probe = folder / ".rz760-write-probe";
    {
        std::ofstream out(probe, std::ios::binary | std::ios::trunc);
        if (!out)
            return false;
        out << 'x';
        if (!out)
            return false;
    }
    std::filesystem::remove(probe, ec);
    return true;
}

std::filesystem::path chooseDataRoot(const DataRootCandidates& c)
{
    std::filesystem::path root;
    if (c.commandLine && !c.commandLine->empty())
        root = *c.commandLine;
    else if (c.environment && !c.environment->empty())
        root = *c.environment;
    else if (folderIsWritable(c.executableFolder))
        root = c.executableFolder;
    else
        root = c.userDataFolder;
    std::error_code ec;
    std::filesystem::create_directories(root, ec);
    return std::filesystem::absolute(root, ec);
}

} // namespace rz
