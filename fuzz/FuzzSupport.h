#pragma once
// What the fuzz targets share: the invariant check, seams that never ask or wait for a person,
// a clock that moves only when the code under test yields, and a scratch folder of the process.
#include "core/app/Seams.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <random>
#include <string>
#include <system_error>

namespace rz::fuzz {

// A broken invariant is a finding: abort so libFuzzer keeps the input.
// Names the broken invariant's line before aborting, so a finding says which one it was.
inline void check(bool ok, int line = __builtin_LINE())
{
    if (!ok) {
        std::fprintf(stderr, "invariant broken at line %d\n", line);
        std::abort();
    }
}

class SilentPrompt : public Prompt {
public:
    explicit SilentPrompt(bool answer = false) : answer(answer) {}
    void message(const std::u16string&) override { ++messages; }
    bool ask(const std::u16string&) override { return answer; }
    bool answer;
    int messages = 0;
};

class NoFileChooser : public FileChooser {
public:
    std::optional<std::filesystem::path> chooseOpen(const std::u16string&, const std::u16string&) override
    {
        return std::nullopt;
    }
    std::optional<std::filesystem::path> chooseSave(const std::u16string&, const std::u16string&) override
    {
        return std::nullopt;
    }
};

class StepClock : public Clock {
public:
    uint32_t nowMs() override { return now; }
    uint32_t now = 0xFFFFFF00u; // waits cross the wrap
};

// Each yield is one millisecond.
class StepYield : public Yield {
public:
    explicit StepYield(StepClock& c) : clock(c) {}
    void yield() override { clock.now += 1; }
    StepClock& clock;
};

class NullLog : public LogBox {
public:
    void append(const std::u16string&, bool) override {}
};

// A folder of this process alone (runs of a target may overlap), removed at exit.
struct ScratchFolder {
    explicit ScratchFolder(const std::string& name)
        : path(std::filesystem::temp_directory_path() /
               ("rz760-" + name + "-" + std::to_string(std::random_device{}())))
    {
        std::filesystem::create_directories(path);
    }
    ~ScratchFolder()
    {
        std::error_code ec;
        std::filesystem::remove_all(path, ec);
    }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;
    std::filesystem::path path;
};

} // namespace rz::fuzz
