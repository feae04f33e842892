#pragma once
// Message boxes for the core's prompts: the exact text with OK, or Yes/No for questions.
#include "core/app/Seams.h"
#include "core/app/WaitTracker.h"

#include <optional>

class QWidget;

namespace rz::ui {

// Counts a modal dialog as a wait for as long as the returned scope lives.
std::optional<WaitTracker::Scope> modalWait(WaitTracker* tracker);

class QtPrompt : public Prompt {
public:
    // A modal box runs the event loop: with a tracker it counts as a wait, so the main loop's
    // periodic tasks do not run inside it.
    explicit QtPrompt(QWidget* parent = nullptr, WaitTracker* tracker = nullptr) : parent(parent), tracker(tracker) {}
    void message(const std::u16string& text) override;
    bool ask(const std::u16string& text) override;

private:
    QWidget* parent;
    WaitTracker* tracker;
};

} // namespace rz::ui
