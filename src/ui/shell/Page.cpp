#include "ui/shell/Page.h"

#include "core/link/Link.h"
#include "core/liveout/LiveSender.h"
#include "ui/look/ColourLook.h"
#include "ui/shell/PageHost.h"

namespace rz::ui {

Page::Page(PageContext& context, PageId id, QWidget* parent) : QWidget(parent), context(context), id(id) {}

void Page::open()
{
    if (!coloured) {
        applyColourScheme(context.colours);
        coloured = true;
    }
    context.host.showPage(this);
    if (const auto mode = liveout::liveModeOf(id))
        context.live.setLiveOutputMode(*mode);
    context.navigation.pageShown(id);
    opened();
}

bool Page::linkBusy() const
{
    return context.link.operations().busy();
}

void Page::applyColourScheme(const ColourScheme& scheme)
{
    applyToForm(this, scheme, ownColouredControls());
}

} // namespace rz::ui
