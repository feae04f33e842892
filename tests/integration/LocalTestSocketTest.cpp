// The local test socket: one box per datagram, never more than one box at a time.
#include "Waiting.h"
#include "io/LocalTestSocket.h"

#include <QUdpSocket>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace rz::test {
namespace {

struct Boxes {
    std::vector<std::u16string> messages;
    std::vector<std::pair<std::u16string, std::u16string>> errors;
    std::function<void()> whileOpen; // runs inside the "modal" box
    int open = 0;
    int mostOpenAtOnce = 0;

    io::TestSocketNotices notices()
    {
        return {[this](const std::u16string& text) { show([&] { messages.push_back(text); }); },
                [this](const std::u16string& title, const std::u16string& text) {
                    show([&] { errors.emplace_back(title, text); });
                }};
    }

private:
    template <typename Record>
    void show(Record record)
    {
        record();
        ++open;
        mostOpenAtOnce = std::max(mostOpenAtOnce, open);
        if (whileOpen)
            whileOpen();
        --open;
    }
};

void sendTo(quint16 port, int size)
{
    QUdpSocket sender;
    sender.writeDatagram(QByteArray(size, '\x5A'), QHostAddress::LocalHost, port);
}

TEST(LocalTestSocket, DatagramShowsItsLength)
{
    Boxes boxes;
    io::LocalTestSocket socket(boxes.notices());
    const quint16 port = freeUdpPort();
    ASSERT_TRUE(socket.bind(port));
    EXPECT_TRUE(socket.isBound());

    for (int size : {5, 1, 300}) {
        const auto before = boxes.messages.size();
        sendTo(port, size);
        ASSERT_TRUE(waitUntil([&] { return boxes.messages.size() > before; }));
        EXPECT_EQ(boxes.messages.back(), QString::number(size).toStdU16String());
    }
    EXPECT_TRUE(boxes.errors.empty());
}

TEST(LocalTestSocket, FloodWhileABoxIsOpenDoesNotStackBoxes)
{
    Boxes boxes;
    io::LocalTestSocket socket(boxes.notices());
    const quint16 port = freeUdpPort();
    ASSERT_TRUE(socket.bind(port));

    // While the first box is open, a flood arrives and the event loop keeps running.
    boxes.whileOpen = [&] {
        boxes.whileOpen = nullptr;
        for (int i = 0; i < 50; ++i)
            sendTo(port, 7);
        drainEvents();
    };
    sendTo(port, 3);
    ASSERT_TRUE(waitUntil([&] { return !boxes.messages.empty(); }));
    drainEvents();
    EXPECT_EQ(boxes.mostOpenAtOnce, 1);
    EXPECT_EQ(boxes.messages, std::vector<std::u16string>{u"3"}) << "the flood went with the box";

    // Once the box is closed, the next datagram gets its own.
    sendTo(port, 9);
    ASSERT_TRUE(waitUntil([&] { return boxes.messages.size() == 2; }));
    EXPECT_EQ(boxes.messages.back(), u"9");
}

TEST(LocalTestSocket, PortInUseShowsTheSocketError)
{
    QUdpSocket holder;
    ASSERT_TRUE(holder.bind(QHostAddress::AnyIPv4, 0, QAbstractSocket::DontShareAddress));

    Boxes boxes;
    io::LocalTestSocket socket(boxes.notices());
    EXPECT_FALSE(socket.bind(holder.localPort()));
    EXPECT_FALSE(socket.isBound());
    ASSERT_EQ(boxes.errors.size(), 1u);
    EXPECT_EQ(boxes.errors[0].first, u"Wifi_Sock Error 10048");
    EXPECT_EQ(boxes.errors[0].second, u"Address already in use.");
    EXPECT_TRUE(boxes.messages.empty());
}

} // namespace
} // namespace rz::test
