// A show download and upload through the real serial transport to the simulator program at
// the real line speed, on a clean line and on one that loses replies.
#include "PseudoTerminal.h"
#include "SimProcess.h"
#include "core/link/Link.h"
#include "core/transfer/FileTransfer.h"
#include "core/transfer/TransferTexts.h"
#include "io/QtSeams.h"
#include "io/SerialTransport.h"
#include "support/Fakes.h"

#include <QJsonObject>

#include <gtest/gtest.h>

#include <memory>
#include <random>

namespace rz::test {
namespace {

#if RZ_HAS_PTY

// About 100 KB of show-like bytes: long zero stretches between short runs of levels.
std::vector<uint8_t> showLikeBytes(std::size_t size, unsigned seed)
{
    std::mt19937 random(seed);
    std::vector<uint8_t> bytes(size, 0);
    for (std::size_t i = 0; i < size; i += 1 + random() % 64) {
        const std::size_t run = 1 + random() % 24;
        for (std::size_t k = i; k < std::min(size, i + run); ++k)
            bytes[k] = static_cast<uint8_t>(random());
    }
    return bytes;
}

class SerialFileTransfer : public ::testing::Test {
protected:
    void startSimulator(const QStringList& faults)
    {
        const QString pty = QString::fromStdString((dir / "controller").string());
        ASSERT_TRUE(sim.start(QStringList{"--pty", pty, "--baud", "115200"} + faults)) << sim.transcript();
        ASSERT_TRUE(port.open(pty)) << port.errorText().toStdString();
        link.setTransport(&port);
    }
    void TearDown() override { link.setTransport(nullptr); }

    bool logHas(std::u16string_view line) const { return box.text.find(line) != std::u16string::npos; }

    TempDir dir;
    SimProcess sim;
    io::QtClock clock;
    io::QtYield yield;
    link::Link link{clock, yield};
    io::SerialTransport port;
    transfer::FileTransfer files{link, [] { return true; }};
    StringLogBox box;
};

TEST_F(SerialFileTransfer, ShowGoesDownAndComesBackUnchanged)
{
    startSimulator({});
    const auto show = showLikeBytes(100 * 1024, 7);
    writeAll(dir / "SHOW.K_F", show);

    ASSERT_EQ(files.downloadFile(1, dir / "SHOW.K_F", box), transfer::TransferResult::Succeeded)
        << std::string(box.text.begin(), box.text.end());
    EXPECT_TRUE(logHas(transfer::text::kDownloadSucceeded));

    ASSERT_EQ(files.uploadFile(1, dir / "back.K_F", box), transfer::TransferResult::Succeeded);
    EXPECT_EQ(readAll(dir / "back.K_F"), show);
}

TEST_F(SerialFileTransfer, DownloadVerifiesWhenTenPercentOfRepliesAreLost)
{
    // The seed fixes which replies are lost; this one loses block acknowledgements along
    // the way.
    startSimulator({"--drop", "0.1", "--seed", "3", "--events"});
    writeAll(dir / "SHOW.K_F", showLikeBytes(100 * 1024, 11));

    EXPECT_EQ(files.downloadFile(1, dir / "SHOW.K_F", box), transfer::TransferResult::Succeeded);
    EXPECT_TRUE(logHas(transfer::text::kVerifySucceeded));

    int lost = 0;
    for (const QJsonObject& e : sim.events())
        lost += eventIs("reply")(e) && e.value("fate").toString() == "dropped";
    EXPECT_GT(lost, 5) << "the line lost too few replies to prove the recovery";
}

#endif

} // namespace
} // namespace rz::test
