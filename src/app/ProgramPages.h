#pragma once
// The pages of the program: each built from the one page context in its start-up step, kept
// by its page number, and opened by the navigation.
#include "core/app/Navigation.h"

#include <map>

namespace rz::ui {
class Page;
class TitleBar;
struct PageContext;
} // namespace rz::ui

namespace rz::app {

class ProgramPages {
public:
    // The context and the title bar must outlive the pages.
    ProgramPages(ui::PageContext& context, ui::TitleBar& bar);
    ProgramPages(const ProgramPages&) = delete;
    ProgramPages& operator=(const ProgramPages&) = delete;

    // Builds the page and prepares it hidden in the page area (its start-up step).
    void prepare(PageId id);
    // Shows a prepared page; a page that does not exist yet does nothing.
    void open(PageId id);
    ui::Page* page(PageId id) const;

private:
    ui::Page* create(PageId id);

    ui::PageContext& context;
    ui::TitleBar& bar;
    std::map<PageId, ui::Page*> built; // owned by the window's page area
};

} // namespace rz::app
