#pragma once
// Ctrl+C while rz760ctl works: the first press asks the work to stop cleanly, a second ends
// the program at once.
namespace rz::ctl {

class InterruptWatch {
public:
    // Installs the handler (and clears an earlier request); the destructor restores the
    // previous one.
    InterruptWatch();
    ~InterruptWatch();
    InterruptWatch(const InterruptWatch&) = delete;
    InterruptWatch& operator=(const InterruptWatch&) = delete;

    // True once Ctrl+C was pressed while a watch was installed.
    static bool requested();

private:
    void (*previous)(int) = nullptr;
};

} // namespace rz::ctl
