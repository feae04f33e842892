#include "support/Fakes.h"

#include <atomic>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <random>

namespace rz::test {

TempDir::TempDir()
{
    static std::atomic<unsigned> serial{0};
    const char* base = std::getenv("RZ760_TEST_TMP");
    std::filesystem::path root = base ? std::filesystem::path(base) : std::filesystem::temp_directory_path();
    std::random_device rd;
    dir = root / ("rz760-" + std::to_string(rd()) + "-" + std::to_string(serial++));
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
}

TempDir::~TempDir()
{
    std::error_code ec;
    std::filesystem::remove_all(dir, ec);
}

std::vector<uint8_t> readAll(const std::filesystem::path& p)
{
    std::ifstream in(p, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void writeAll(const std::filesystem::path& p, const std::vector<uint8_t>& bytes)
{
    std::filesystem::create_directories(p.parent_path());
    std::ofstream out(p, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

void writeText(const std::filesystem::path& p, const std::string& utf8)
{
    writeAll(p, std::vector<uint8_t>(utf8.begin(), utf8.end()));
}

std::string readText(const std::filesystem::path& p)
{
    auto b = readAll(p);
    return std::string(b.begin(), b.end());
}

} // namespace rz::test
