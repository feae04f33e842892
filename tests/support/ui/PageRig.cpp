#include "support/ui/PageRig.h"

#include <QTest>

namespace rz::test {

PageRig::PageRig()
{
    link.setTransport(&transport); // open from start-up on, not yet connected
    materialEngine.install();
    effectPreview.install();
}

PageRig::~PageRig()
{
    link.setTransport(nullptr);
}

void PageRig::connect()
{
    manager.toggleConnection();
    QVERIFY(manager.connected());
}

} // namespace rz::test
