// The download page driven through its object names against the in-process simulated
// controller: save and download at once, the stored options, disconnect and scene switch.
#include "core/app/SettingsCatalogue.h"
#include "core/app/SettingsFile.h"
#include "core/link/ConnectionManager.h"
#include "core/link/Link.h"
#include "core/liveout/LiveSender.h"
#include "core/show/Show.h"
#include "core/show/ShowFile.h"
#include "core/transfer/FileTransfer.h"
#include "core/transfer/TransferMessages.h"
#include "sim/Controller.h"
#include "sim/LoopbackTransport.h"
#include "support/Fakes.h"
#include "support/ui/PageRig.h"
#include "ui/shell/MainWindow.h"
#include "ui/shell/PageHost.h"
#include "ui/transfer/DownloadPage.h"

#include <QCheckBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QtTest>

#include <map>
#include <memory>

using namespace rz;

namespace {

constexpr uint8_t kD0 = 0xD0, kD2 = 0xD2;

QString qs(const std::u16string& text)
{
    return QString::fromStdU16String(text);
}

// Answers every verification as failed.
class FailingVerify : public sim::CommandFamily {
public:
    void handle(const sim::ReceivedFrame&, sim::FamilyContext& context) override
    {
        const uint8_t failed[] = {0x00};
        context.reply(kD2, failed);
    }
};

class CommandCounter : public sim::ControllerListener {
public:
    void onEvent(const sim::ControllerEvent& e) override
    {
        if (e.kind == sim::EventKind::FrameReceived) {
            ++frames[e.command];
            if (e.command == kD2)
                lastVerify = e.payload;
        }
    }
    std::map<uint8_t, int> frames;
    std::vector<uint8_t> lastVerify;
};

// The PC side of the program around one download page, on a fake clock, with the simulated
// controller behind the link.
struct Rig : test::PageRig {
    Rig() { controller.setListener(&counter); }

    QString boxText() const { return page->findChild<QPlainTextEdit*>("Text信息")->toPlainText(); }
    QCheckBox* check(const char* name) const { return page->findChild<QCheckBox*>(name); }
    QPushButton* button() const { return page->findChild<QPushButton*>("Command下载_灯光参数"); }
    const std::vector<uint8_t>* storedShow() { return controller.transfer().files.file(1); }

    CommandCounter counter;
    std::unique_ptr<ui::DownloadPage> page = makePage<ui::DownloadPage>();
};

} // namespace

class TestDownloadPage : public QObject {
    Q_OBJECT
private slots:
    void openingSavesAndDownloadsTheWorkingShowFile();
    void disconnectedOpeningNeitherSavesNorSends();
    void optionsAreStoredOnClickAndLoadedOnFirstOpening();
    void disconnectsOnlyAfterAVerifiedDownload();
    void sceneSwitchAsksForTheCurrentScene();
    void openingAgainDuringADownloadStartsNoSecondOne();
    void aShowThatCannotBeSavedIsNotSent();
    void optionsAndTitlesOfTheShowKind();
    void closesWithItsButtonOrEscapeAndShowsOnlyWhatWasSent();
};

void TestDownloadPage::openingSavesAndDownloadsTheWorkingShowFile()
{
    Rig rig;
    rig.connect();
    rig.show->library.fixture(1).name = u"Spot";
    rig.page->open();

    const auto sent = rz::test::readAll(rig.showFile.showPath());
    QVERIFY(!sent.empty());
    QVERIFY(rig.storedShow());
    QVERIFY(*rig.storedShow() == sent);

    const QString path = qs(rig.showFile.showPath().u16string());
    const int blocks = static_cast<int>((sent.size() + 511) / 512);
    const QString marks(blocks, '>');
    const QString expected = QStringLiteral("->下载灯光文件 \n->文件:") + path +
                             QStringLiteral("\n->读取文件\n->文件大小:") +
                             qs(transfer::sizeInKText(sent.size())) +
                             QStringLiteral("\n->握手成功\n") + marks +
                             QStringLiteral("\n->校验中...\n->校验成功\n->下载成功\n");
    QCOMPARE(rig.boxText(), expected);
    QCOMPARE(rig.counter.lastVerify, std::vector<uint8_t>(10, 0)); // no scene switch asked
    QCOMPARE(rig.live.liveOutputMode(), liveout::kModeDownload);
    QVERIFY(rig.button()->isEnabled());
    auto* bar = rig.page->findChild<QProgressBar*>("ProgressBar下载");
    QCOMPARE(bar->value(), bar->maximum());
    QVERIFY(rig.manager.connected()); // the option is off by default

    // The button repeats it.
    QTest::mouseClick(rig.button(), Qt::LeftButton);
    QCOMPARE(rig.counter.frames[kD0], 2);
    QVERIFY(rig.boxText().endsWith(QStringLiteral("->下载成功\n")));
}

void TestDownloadPage::disconnectedOpeningNeitherSavesNorSends()
{
    Rig rig;
    rig.page->open();
    QCOMPARE(rig.boxText(), QStringLiteral("未连接\n"));
    QVERIFY(!std::filesystem::exists(rig.showFile.showPath()));
    QCOMPARE(rig.counter.frames[kD0], 0);
    QVERIFY(rig.button()->isEnabled());
}

void TestDownloadPage::optionsAreStoredOnClickAndLoadedOnFirstOpening()
{
    const struct {
        const char* control;
        std::u16string_view key;
    } options[] = {
        {"Check下载完断开连接", keys::kDisconnectAfterDownload},
        {"Check下载完自动切最后编辑场景", keys::kSwitchToLastSceneAfterDownload},
    };
    for (const auto& option : options) {
        Rig rig;
        rig.page->open();
        QCheckBox* box = rig.check(option.control);
        QVERIFY2(!box->isChecked(), option.control); // a missing key reads as 0
        QTest::mouseClick(box, Qt::LeftButton);
        QCOMPARE(qs(readKey(rig.paths.work, option.key)), QStringLiteral("1"));
        QTest::mouseClick(box, Qt::LeftButton);
        QCOMPARE(qs(readKey(rig.paths.work, option.key)), QStringLiteral("0"));
        QTest::mouseClick(box, Qt::LeftButton);

        // A new run reads the stored value when the page is first opened.
        ui::DownloadPage again(rig.context);
        QVERIFY(!again.findChild<QCheckBox*>(option.control)->isChecked());
        again.open();
        QVERIFY2(again.findChild<QCheckBox*>(option.control)->isChecked(), option.control);
    }
}

void TestDownloadPage::disconnectsOnlyAfterAVerifiedDownload()
{
    const struct {
        bool optionOn;
        bool verifyFails;
        bool connectedAfter;
    } cases[] = {
        {true, false, false},
        {true, true, true}, // "->校验失败" never disconnects
        {false, false, true},
    };
    for (const auto& c : cases) {
        Rig rig;
        FailingVerify failing;
        if (c.verifyFails)
            rig.controller.route(kD2, failing);
        writeKey(rig.paths.work, keys::kDisconnectAfterDownload, c.optionOn ? u"1" : u"0");
        rig.connect();
        rig.page->open();
        QCOMPARE(rig.boxText().endsWith(QStringLiteral("->校验失败\n")), c.verifyFails);
        QCOMPARE(rig.manager.connected(), c.connectedAfter);
    }
}

void TestDownloadPage::sceneSwitchAsksForTheCurrentScene()
{
    Rig rig;
    writeKey(rig.paths.work, keys::kSwitchToLastSceneAfterDownload, u"1");
    rig.show->currentScene = 7;
    rig.connect();
    rig.page->open();
    std::vector<uint8_t> expected(10, 0);
    expected[0] = 0x88;
    expected[1] = 7;
    QCOMPARE(rig.counter.lastVerify, expected);
    QCOMPARE(rig.controller.transfer().files.switchedToScene(), std::optional<uint8_t>(7));
}

void TestDownloadPage::openingAgainDuringADownloadStartsNoSecondOne()
{
    Rig rig;
    rig.connect();
    bool reopened = false;
    rig.yield.onYield = [&] {
        // The user presses "下载" in the title bar while the first download waits.
        if (!reopened && rig.page->downloading()) {
            reopened = true;
            rig.page->open();
            QVERIFY(rig.page->downloading());
            QVERIFY(!rig.button()->isEnabled());
        }
    };
    rig.page->open();
    QVERIFY(reopened);
    QCOMPARE(rig.counter.frames[kD0], 1);
    QVERIFY(rig.boxText().startsWith(QStringLiteral("->下载灯光文件 \n")));
    QVERIFY(rig.boxText().endsWith(QStringLiteral("->下载成功\n")));
    QVERIFY(!rig.page->downloading());
}

void TestDownloadPage::aShowThatCannotBeSavedIsNotSent()
{
    Rig rig;
    rig.connect();
    // A folder where the working file belongs: the save cannot replace it.
    std::filesystem::create_directories(rig.showFile.showPath());
    rig.page->open();
    QCOMPARE(rig.counter.frames[kD0], 0);
    QCOMPARE(rig.prompt.messages.size(), std::size_t(1));
    QCOMPARE(rig.boxText(), QStringLiteral("->下载灯光文件 \n"));
    QVERIFY(rig.button()->isEnabled());
    QVERIFY(rig.manager.connected());
}

void TestDownloadPage::optionsAndTitlesOfTheShowKind()
{
    Rig rig;
    rig.page->open();
    QCOMPARE(rig.page->downloadKind(), uint8_t(1));
    QCOMPARE(rig.page->findChild<QLabel*>("Label标题1")->text(), QStringLiteral("下载 灯光参数"));
    QCOMPARE(rig.page->findChild<QLabel*>("Label标题2")->text(), QStringLiteral("下载信息"));
    QCOMPARE(rig.button()->text(), QStringLiteral("下载"));
    QVERIFY(!rig.check("Check下载完断开连接")->isHidden());

    // Another kind keeps its titles, starts nothing and hides the disconnect option.
    rig.page->showTransferFor(2);
    QVERIFY(rig.check("Check下载完断开连接")->isHidden());
    QVERIFY(!rig.check("Check下载完自动切最后编辑场景")->isHidden());
    QCOMPARE(rig.boxText(), QStringLiteral("未连接\n"));
}

void TestDownloadPage::closesWithItsButtonOrEscapeAndShowsOnlyWhatWasSent()
{
    Rig rig;
    rig.window.open();
    rig.connect();
    rig.page->open();
    auto* bar = rig.page->findChild<QProgressBar*>("ProgressBar下载");
    QCOMPARE(bar->value(), bar->maximum());

    // Closed with its button; the title bar marks no download any more.
    QTest::mouseClick(rig.page->findChild<QPushButton*>("Command关闭"), Qt::LeftButton);
    QVERIFY(rig.page->isHidden());

    // Opened again without a connection: nothing is sent, so the bar is empty.
    rig.manager.toggleConnection();
    QVERIFY(!rig.manager.connected());
    rig.page->open();
    QVERIFY(rig.page->isVisible());
    QCOMPARE(rig.boxText(), QStringLiteral("未连接\n"));
    QCOMPARE(bar->value(), 0);

    QTest::keyClick(rig.page.get(), Qt::Key_Escape);
    QVERIFY(rig.page->isHidden());
    rig.page->open(); // a closed panel opens again
    QVERIFY(rig.page->isVisible());
}

QTEST_MAIN(TestDownloadPage)
#include "tst_downloadpage.moc"
