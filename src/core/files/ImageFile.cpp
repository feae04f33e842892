// Whole-file save and load of byte images.
#include "core/files/ByteImage.h"

#include "core/app/DurableFile.h"

#include <fstream>
#include <system_error>

namespace rz::files {

bool saveImage(const std::filesystem::path& path, std::span<const uint8_t> bytes)
{
    return replaceFileDurably(path, bytes.data(), bytes.size());
}

std::optional<std::vector<uint8_t>> loadImage(const std::filesystem::path& path)
{
    return loadImage(path, kDefaultLoadLimit);
}

std::optional<std::vector<uint8_t>> loadImage(const std::filesystem::path& path, std::size_t maxSize)
{
    std::error_code ec;
    if (!std::filesystem::is_regular_file(path, ec))
        return std::nullopt;
    const auto length = std::filesystem::file_size(path, ec);
    if (ec || length == 0 || length > maxSize)
        return std::nullopt;
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return std::nullopt;
    std::vector<uint8_t> image(static_cast<std::size_t>(length));
    in.read(reinterpret_cast<char*>(image.data()), static_cast<std::streamsize>(image.size()));
    if (in.bad())
        return std::nullopt;
    // The file may have shrunk since its length was read; keep what was really there.
    image.resize(static_cast<std::size_t>(in.gcount()));
    if (image.empty())
        return std::nullopt;
    return image;
}

bool fileExists(const std::filesystem::path& path)
{
    std::error_code ec;
    [[maybe_unused]] const auto length = std::filesystem::file_size(path, ec);
    return !ec;
}

} // namespace rz::files
