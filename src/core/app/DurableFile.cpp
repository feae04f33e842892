#include "core/app/DurableFile.h"

#include <system_error>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>
#include <windows.h>
#else
#include <cerrno>
#include <fcntl.h>
#include <unistd.h>
#endif

namespace rz {

namespace {

enum class Written { notCreated, failed, ok };

#ifdef _WIN32
Written writeAndFlush(const std::filesystem::path& file, const void* bytes, std::size_t size)
{
    const int fd = _wopen(file.c_str(), _O_WRONLY | _O_CREAT | _O_TRUNC | _O_BINARY, _S_IREAD | _S_IWRITE);
    if (fd < 0)
        return Written::notCreated;
    const char* p = static_cast<const char*>(bytes);
    bool ok = true;
    while (ok && size > 0) {
        const unsigned chunk = size > (1u << 30) ? (1u << 30) : static_cast<unsigned>(size);
        const int written = _write(fd, p, chunk);
        ok = written > 0;
        if (ok) {
            p += written;
            size -= static_cast<std::size_t>(written);
        }
    }
    ok = ok && _commit(fd) == 0;
    return _close(fd) == 0 && ok ? Written::ok : Written::failed;
}

bool moveOver(const std::filesystem::path& from, const std::filesystem::path& to)
{
    return MoveFileExW(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
}

void flushFolder(const std::filesystem::path&) {} // MOVEFILE_WRITE_THROUGH did it
#else
Written writeAndFlush(const std::filesystem::path& file, const void* bytes, std::size_t size)
{
    const int fd = ::open(file.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (fd < 0)
        return Written::notCreated;
    const char* p = static_cast<const char*>(bytes);
    bool ok = true;
    while (ok && size > 0) {
        const ssize_t written = ::write(fd, p, size);
        if (written < 0 && errno == EINTR)
            continue;
        ok = written > 0;
        if (ok) {
            p += written;
            size -= static_cast<std::size_t>(written);
        }
    }
    ok = ok && ::fsync(fd) == 0;
    return ::close(fd) == 0 && ok ? Written::ok : Written::failed;
}

bool moveOver(const std::filesystem::path& from, const std::filesystem::path& to)
{
    std::error_code ec;
    std::filesystem::rename(from, to, ec);
    return !ec;
}

// The rename itself lives in the folder: without this a power cut may bring back the old name.
void flushFolder(const std::filesystem::path& folder)
{
    const int fd = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return;
    ::fsync(fd);
    ::close(fd);
}
#endif

} // namespace

bool replaceFileDurably(const std::filesystem::path& path, const void* bytes, std::size_t size)
{
    if (!path.has_filename())
        return false;
    std::error_code ec;
    if (path.has_parent_path()) {
        std::filesystem::create_directories(path.parent_path(), ec);
        if (ec)
            return false;
    }
    std::filesystem::path temporary = path;
    temporary += ".tmp";
    const Written written = writeAndFlush(temporary, bytes, size);
    if (written == Written::notCreated)
        return false; // something else is in its place: leave it alone
    if (written == Written::failed || !moveOver(temporary, path)) {
        std::filesystem::remove(temporary, ec);
        return false;
    }
    flushFolder(path.parent_path());
    return true;
}

} // namespace rz
