#pragma once
// Validation of a show file without loading it anywhere: the identifier, the section table,
// every section readable through the core's own readers, every effect's materials readable.
// Each problem comes with the byte offset it was found at.
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <vector>

namespace rz::ctl {

struct CheckProblem {
    std::size_t offset = 0;
    std::string what;
};

// `scratchRoot` is an empty folder the materials may be unpacked into.
std::vector<CheckProblem> checkShowFile(std::span<const uint8_t> image, const std::filesystem::path& scratchRoot);

} // namespace rz::ctl
