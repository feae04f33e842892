// The serial transport against a pseudo-terminal whose far end the test plays.
#include "FrameCollector.h"
#include "PseudoTerminal.h"
#include "Waiting.h"
#include "core/link/Link.h"
#include "io/QtSeams.h"
#include "io/SerialPortCatalog.h"
#include "io/SerialTransport.h"
#include "support/Fakes.h"

#include <QFile>

#include <gtest/gtest.h>

#include <filesystem>

namespace rz::test {
namespace {

#if RZ_HAS_PTY

class SerialTransportTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(pty.ok()) << "no pseudo-terminal on this system";
        collector.attach(serial);
    }

    bool openPty()
    {
        return serial.open(pty.devicePath());
    }

    PseudoTerminal pty;
    io::SerialTransport serial;
    FrameCollector collector;
};

TEST_F(SerialTransportTest, OpensThroughSymbolicLinkAndCarriesBytesBothWays)
{
    TempDir dir;
    const auto link = dir / "controller-port";
    std::filesystem::create_symlink(pty.devicePath().toStdString(), link);

    ASSERT_TRUE(serial.open(QString::fromStdString(link.string()))) << serial.errorText().toStdString();
    EXPECT_TRUE(serial.isOpen());

    const auto request = frameBytes(0xC0);
    serial.write(request);
    ASSERT_TRUE(waitUntil([&] { return pty.readAvailable().size() >= request.size(); }));
    EXPECT_EQ(pty.received(), request);

    const auto reply = frameBytes(0xCE, {0x14});
    pty.write(reply);
    ASSERT_TRUE(waitUntil([&] { return !collector.frames.empty(); }));
    EXPECT_EQ(collector.frames.front(), (CollectedFrame{0xCE, {0x14}}));
}

TEST_F(SerialTransportTest, FrameArrivingInPiecesIsAssembled)
{
    ASSERT_TRUE(openPty());
    const auto frame = frameBytes(0xD8, {0x50, 0x00, 0x00, 0x12, 0x34});
    const std::size_t cuts[] = {0, 3, 7, frame.size()};
    for (std::size_t i = 0; i + 1 < std::size(cuts); ++i) {
        EXPECT_TRUE(collector.frames.empty()) << "dispatched before the last piece";
        pty.write(std::span(frame).subspan(cuts[i], cuts[i + 1] - cuts[i]));
        ASSERT_TRUE(waitUntil([&] { return collector.deliveredBytes() >= cuts[i + 1]; }));
    }
    ASSERT_EQ(collector.frames.size(), 1u);
    EXPECT_EQ(collector.frames.front(), (CollectedFrame{0xD8, {0x50, 0x00, 0x00, 0x12, 0x34}}));
}

TEST_F(SerialTransportTest, QuietLineAfterPartialFrameLetsTheLinkDropIt)
{
    ASSERT_TRUE(openPty());
    io::QtClock clock;
    io::QtYield yield;
    link::Link link(clock, yield);
    link.setTransport(&serial);
    int idleCalls = 0;
    serial.setIdleHandler([&] {
        ++idleCalls;
        link.clearReceived();
    });

    // The start of a frame whose rest never comes.
    const auto lost = frameBytes(0xCE, {0x19, 0x01, 0x02});
    pty.write(std::span(lost).first(6));
    ASSERT_TRUE(waitUntil([&] { return link.receivedByteCount() == 6; }));
    ASSERT_TRUE(waitUntil([&] { return idleCalls > 0; }));
    EXPECT_EQ(link.receivedByteCount(), 0u);

    // Without the drop, the stale half header would swallow this frame.
    pty.write(frameBytes(0xC0));
    EXPECT_TRUE(link.waitReply(0xC0, kDeadlineMs));
    link.setTransport(nullptr);
}

TEST_F(SerialTransportTest, FarEndHangingUpClosesThePort)
{
    ASSERT_TRUE(openPty());
    pty.closeFarEnd();
    EXPECT_TRUE(waitUntil([&] { return !serial.isOpen(); }));
    EXPECT_FALSE(serial.errorText().isEmpty());
    serial.write(frameBytes(0xC1)); // a closed port takes writes without complaint
}

TEST_F(SerialTransportTest, ReopenOpensTheSamePortAgain)
{
    ASSERT_TRUE(openPty());
    serial.close();
    serial.close(); // closing a closed port does nothing
    EXPECT_FALSE(serial.isOpen());

    ASSERT_TRUE(serial.reopen());
    const auto request = frameBytes(0xC0);
    serial.write(request);
    ASSERT_TRUE(waitUntil([&] { return pty.readAvailable().size() >= request.size(); }));
    EXPECT_EQ(pty.received(), request);
}

TEST(SerialTransportOpen, RefusesWhatIsNoSerialPort)
{
    TempDir dir;
    const auto plainFile = dir / "not-a-port";
    writeText(plainFile, "x");
    const std::string missing = (dir / "missing" / "tty").string();
    for (const std::string& path : {missing, plainFile.string()}) {
        SCOPED_TRACE(path);
        io::SerialTransport serial;
        EXPECT_FALSE(serial.open(QString::fromStdString(path)));
        EXPECT_FALSE(serial.isOpen());
        EXPECT_FALSE(serial.errorText().isEmpty());
        serial.write(frameBytes(0xC0));
    }
    io::SerialTransport neverOpened;
    EXPECT_FALSE(neverOpened.reopen());
}

#endif // RZ_HAS_PTY

TEST(SerialPortCatalog, KindNamesLeadBackToTheSamePort)
{
    struct Case {
        const char* portName;
        const char16_t* kindName;
        int number;
    } cases[] = {
        {"COM3", u"3", 3},
        {"COM12", u"12", 12},
        {"com7", u"7", 7},
        {"ttyUSB0", u"ttyUSB0", 0},
        {"ttyS1", u"ttyS1", 0},
        {"COMX", u"COMX", 0},
        {"cu.usbserial-1410", u"cu.usbserial-1410", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.portName);
        const io::SerialPortEntry e = io::describeSerialPort(QString::fromLatin1(c.portName));
        EXPECT_EQ(e.kindName, QString::fromUtf16(c.kindName));
        EXPECT_EQ(e.number, c.number);
        // The connection list shows kindName + "串口" and saves that text.
        const QString saved = e.kindName + QString::fromUtf16(io::kSerialKindSuffix);
        EXPECT_EQ(io::serialPortForKindName(saved), e.openName);
    }
}

TEST(SerialPortCatalog, PortForKindName)
{
    struct Case {
        const char16_t* kind;
        const char* port;
    } cases[] = {
        {u"3串口", "COM3"},
        {u"3", "COM3"},
        {u"/tmp/rz-sim/pty串口", "/tmp/rz-sim/pty"},
        {u"ttyUSB0串口", "ttyUSB0"},
        {u"串口", ""},
        {u"", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(QString::fromUtf16(c.kind).toStdString());
        EXPECT_EQ(io::serialPortForKindName(QString::fromUtf16(c.kind)), QString::fromLatin1(c.port));
    }
}

TEST(SerialPortCatalog, ListedPortsReopenByTheirSavedName)
{
    const auto ports = io::listSerialPorts();
    for (const io::SerialPortEntry& e : ports) {
        SCOPED_TRACE(e.openName.toStdString());
        EXPECT_FALSE(e.kindName.isEmpty());
        EXPECT_EQ(io::serialPortForKindName(e.kindName + QString::fromUtf16(io::kSerialKindSuffix)), e.openName);
    }
    for (std::size_t i = 1; i < ports.size(); ++i) {
        if (ports[i].number > 0) {
            EXPECT_GT(ports[i].number, ports[i - 1].number) << "numbered ports come first, ascending";
        }
    }
}

} // namespace
} // namespace rz::test
