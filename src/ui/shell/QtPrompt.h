#pragma once
// Message boxes for the core's prompts: the exact text with OK, or Yes/No for questions.
#include "core/app/Seams.h"

class QWidget;

namespace rz::ui {

class QtPrompt : public Prompt {
public:
    explicit QtPrompt(QWidget* parent = nullptr) : parent(parent) {}
    void message(const std::u16string& text) override;
    bool ask(const std::u16string& text) override;

private:
    QWidget* parent;
};

} // namespace rz::ui
