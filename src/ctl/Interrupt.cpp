#include "ctl/Interrupt.h"

#include <csignal>

namespace rz::ctl {

namespace {

volatile std::sig_atomic_t interrupted = 0;

extern "C" void onInterrupt(int)
{
    interrupted = 1;
    std::signal(SIGINT, SIG_DFL); // the next press ends the program
}

} // namespace

InterruptWatch::InterruptWatch()
{
    interrupted = 0;
    previous = std::signal(SIGINT, onInterrupt);
}

InterruptWatch::~InterruptWatch()
{
    std::signal(SIGINT, previous == SIG_ERR ? SIG_DFL : previous);
}

bool InterruptWatch::requested()
{
    return interrupted != 0;
}

} // namespace rz::ctl
