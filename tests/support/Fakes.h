#pragma once
// Fakes of the core seams for tests: time moves only when a test (or a yield) moves it.
#include "core/app/Seams.h"

#include <deque>
#include <functional>
#include <map>
#include <string>
#include <vector>

namespace rz::test {

class FakeClock : public Clock {
public:
    explicit FakeClock(uint32_t start = 0) : now(start) {}
    uint32_t nowMs() override { return now; }
    void advance(uint32_t ms) { now += ms; }
    uint32_t now;
};

// Each yield advances the clock by `stepMs` and runs `onYield` (for example to step a
// simulator), so waits in the core make progress without real time passing.
class FakeYield : public Yield {
public:
    FakeYield(FakeClock& clock, uint32_t stepMs = 1) : clock(clock), stepMs(stepMs) {}
    void yield() override
    {
        ++count;
        clock.advance(stepMs);
        if (onYield)
            onYield();
    }
    FakeClock& clock;
    uint32_t stepMs;
    int count = 0;
    std::function<void()> onYield;
};

// Records every text; answers questions from a script (default Yes when the script is empty).
class RecordingPrompt : public Prompt {
public:
    void message(const std::u16string& text) override { messages.push_back(text); }
    bool ask(const std::u16string& text) override
    {
        questions.push_back(text);
        if (answers.empty())
            return defaultAnswer;
        bool a = answers.front();
        answers.pop_front();
        return a;
    }
    std::vector<std::u16string> messages;
    std::vector<std::u16string> questions;
    std::deque<bool> answers;
    bool defaultAnswer = true;
};

// Hands out scripted paths; an empty optional in the script stands for a cancelled dialog.
class ScriptedFileChooser : public FileChooser {
public:
    struct Call {
        bool save;
        std::u16string title;
        std::u16string extension;
    };
    std::optional<std::filesystem::path> chooseOpen(const std::u16string& title,
                                                    const std::u16string& extension) override
    {
        return next(false, title, extension);
    }
    std::optional<std::filesystem::path> chooseSave(const std::u16string& title,
                                                    const std::u16string& extension) override
    {
        return next(true, title, extension);
    }
    std::deque<std::optional<std::filesystem::path>> paths;
    std::vector<Call> calls;

private:
    std::optional<std::filesystem::path> next(bool save, const std::u16string& title,
                                              const std::u16string& extension)
    {
        calls.push_back({save, title, extension});
        if (paths.empty())
            return std::nullopt;
        auto p = paths.front();
        paths.pop_front();
        return p;
    }
};

class StringLogBox : public LogBox {
public:
    void append(const std::u16string& t, bool newLine) override
    {
        text += t;
        if (newLine)
            text += u"\r\n";
    }
    std::u16string text;
};

class FakeKeyState : public KeyState {
public:
    uint16_t asyncKeyState(int vk) override
    {
        auto it = states.find(vk);
        if (it == states.end())
            return 0;
        uint16_t s = it->second;
        it->second &= 0x8000; // "pressed since last query" is reported once
        return s;
    }
    std::map<int, uint16_t> states;
};

// A fresh empty folder under the build tree (or the system temp folder), removed on exit.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const std::filesystem::path& path() const { return dir; }
    std::filesystem::path operator/(const std::filesystem::path& p) const { return dir / p; }

private:
    std::filesystem::path dir;
};

// File helpers for tests.
std::vector<uint8_t> readAll(const std::filesystem::path& p);
void writeAll(const std::filesystem::path& p, const std::vector<uint8_t>& bytes);
void writeText(const std::filesystem::path& p, const std::string& utf8);
std::string readText(const std::filesystem::path& p);

} // namespace rz::test
