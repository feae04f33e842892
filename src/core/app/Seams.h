#pragma once
// The narrow interfaces through which the core reaches the outside world. The UI implements
// them with Qt, the tests with fakes; the core itself never sleeps, reads the wall clock or
// opens a window.
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>

namespace rz {

// A millisecond counter that wraps at 2^32; compare times only by unsigned difference.
class Clock {
public:
    virtual ~Clock() = default;
    virtual uint32_t nowMs() = 0;
};

// Lets the event loop run during a wait (window events, transport data).
class Yield {
public:
    virtual ~Yield() = default;
    virtual void yield() = 0;
    // Lets the event loop run until something arrives or at most `maxMs` pass, so a wait
    // sleeps instead of spinning. The caller checks its clock and condition afterwards, as
    // after yield(), which is all a fake needs to do here.
    virtual void yieldUntilEvent(uint32_t maxMs)
    {
        (void)maxMs;
        yield();
    }
};

// Modal message boxes with the system's exact texts.
class Prompt {
public:
    virtual ~Prompt() = default;
    virtual void message(const std::u16string& text) = 0;
    // A Yes/No question; true for Yes.
    virtual bool ask(const std::u16string& text) = 0;
};

// Open and save dialogs. `title` is the dialog's caption, `extension` the file kind without
// the dot ("K_F"). An empty result means the user cancelled or typed nothing.
class FileChooser {
public:
    virtual ~FileChooser() = default;
    virtual std::optional<std::filesystem::path> chooseOpen(const std::u16string& title,
                                                            const std::u16string& extension) = 0;
    virtual std::optional<std::filesystem::path> chooseSave(const std::u16string& title,
                                                            const std::u16string& extension) = 0;
};

// A page's information box.
class LogBox {
public:
    virtual ~LogBox() = default;
    virtual void append(const std::u16string& text, bool newLine) = 0;
};

// Asynchronous key state, as virtual-key codes 1..250: bit 15 = down now,
// bit 0 = pressed since the last query.
class KeyState {
public:
    virtual ~KeyState() = default;
    virtual uint16_t asyncKeyState(int virtualKey) = 0;
};

} // namespace rz
