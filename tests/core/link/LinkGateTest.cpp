#include "core/link/LinkGate.h"

#include <gtest/gtest.h>

#include <vector>

using namespace rz;
using namespace rz::link;

TEST(LinkGate, SecondOperationIsRefusedUntilTheFirstEnds)
{
    LinkGate gate;
    std::vector<LinkOperation> seen;
    const Subscription watch = gate.changed.subscribe([&](LinkOperation op) { seen.push_back(op); });
    {
        LinkGate::Hold download = gate.tryBegin(LinkOperation::Download);
        ASSERT_TRUE(download);
        EXPECT_EQ(download.status(), GateStatus::Started);
        EXPECT_TRUE(gate.busy());

        const LinkGate::Hold search = gate.tryBegin(LinkOperation::RdmSearch);
        EXPECT_FALSE(search);
        EXPECT_EQ(search.status(), GateStatus::Busy);
        EXPECT_EQ(gate.current(), LinkOperation::Download); // the refused one changed nothing

        LinkGate::Hold moved = std::move(download); // a hold may be handed on
        EXPECT_TRUE(gate.busy());
    }
    EXPECT_FALSE(gate.busy());
    EXPECT_TRUE(gate.tryBegin(LinkOperation::Connect));
    EXPECT_EQ(seen, (std::vector<LinkOperation>{LinkOperation::Download, LinkOperation::None,
                                                 LinkOperation::Connect, LinkOperation::None}));
}
