// The upgrade page driven through its object names against the in-process simulated
// controller: the firmware upgrade and its refusals, leaving the page during an upgrade, the
// parameter files, the controller queries and the hidden commands typed into the box.
#include "core/app/SettingsCatalogue.h"
#include "core/app/SettingsFile.h"
#include "core/link/ConnectionManager.h"
#include "core/link/Link.h"
#include "core/liveout/LiveSender.h"
#include "core/transfer/FileTransfer.h"
#include "core/transfer/FirmwareUpgrade.h"
#include "sim/Controller.h"
#include "sim/LoopbackTransport.h"
#include "support/Fakes.h"
#include "support/ui/PageRig.h"
#include "ui/shell/MainWindow.h"
#include "ui/shell/PageHost.h"
#include "ui/transfer/UpgradePage.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTimer>
#include <QtTest>

#include <cstring>
#include <map>
#include <memory>

using namespace rz;

namespace {

constexpr uint8_t kC4 = 0xC4, kCE = 0xCE, kD0 = 0xD0, kD3 = 0xD3;

QString qs(const std::u16string& text)
{
    return QString::fromStdU16String(text);
}

class CommandCounter : public sim::ControllerListener {
public:
    void onEvent(const sim::ControllerEvent& e) override
    {
        if (e.kind == sim::EventKind::FrameReceived) {
            ++frames[e.command];
            if (!e.payload.empty())
                ++subFrames[{e.command, e.payload[0]}];
        }
    }
    std::map<uint8_t, int> frames;
    std::map<std::pair<uint8_t, uint8_t>, int> subFrames;
};

// An image of `size` bytes with the identity starting at `at` (none when at is npos).
std::vector<uint8_t> firmwareImage(std::size_t size, std::size_t at)
{
    std::vector<uint8_t> image(size);
    for (std::size_t i = 0; i < size; ++i)
        image[i] = static_cast<uint8_t>(i * 7 + 3);
    if (at != std::string::npos)
        std::memcpy(image.data() + at, "Tuvo RZ-760", 11);
    return image;
}

struct Rig : test::PageRig {
    Rig() { controller.setListener(&counter); }

    // A power cycle of the controller: its loader listens for a while.
    void restartController() { controller.receive(link::buildFrame(kC4, {})); }
    QPlainTextEdit* box() const { return page->findChild<QPlainTextEdit*>("Text信息"); }
    QString boxText() const { return box()->toPlainText(); }
    QPushButton* button(const QString& name) const { return page->findChild<QPushButton*>(name); }
    void click(const QString& name)
    {
        QPushButton* b = button(name);
        QVERIFY2(b, qPrintable(name));
        QTest::mouseClick(b, Qt::LeftButton);
    }
    QString fileText() const { return page->findChild<QLineEdit*>("Text文件")->text(); }
    // Types into the box and lets the hidden-command timer fire.
    void type(const QString& text)
    {
        auto* timer = page->findChild<QTimer*>("Timer_信息key");
        QVERIFY(timer);
        QSignalSpy fired(timer, &QTimer::timeout);
        // One key event per character, as typing (or an input method) delivers them.
        for (const QChar ch : text) {
            QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(ch));
            QApplication::sendEvent(box(), &press);
            QKeyEvent release(QEvent::KeyRelease, Qt::Key_unknown, Qt::NoModifier, QString(ch));
            QApplication::sendEvent(box(), &release);
        }
        QVERIFY(timer->isActive());
        QVERIFY(fired.wait(5000));
    }
    sim::FileStore& store() { return controller.transfer().files; }

    CommandCounter counter;
    std::unique_ptr<ui::UpgradePage> page = makePage<ui::UpgradePage>();
};

} // namespace

class TestUpgradePage : public QObject {
    Q_OBJECT
private slots:
    void chosenImageIsUpgradedAfterTheLoaderAnswers();
    void refusedImagesLogWhy();
    void leavingThePageOrClosingStopsTheHandshake();
    void clicksDuringAnUpgradeStartNothingInsideIt();
    void storedFileIsShownAndCheckedOnOpening();
    void parameterFilesGoDownWithTheirDialogs();
    void parameterFilesComeUpIntoTheApplicationFolder();
    void parameterTransfersNeedAConnection();
    void queryButtonsReportIntoTheBox();
    void hiddenCommandsMatchTheWholeText();
    void maintenanceCommandEntersDevelopmentMode();
};

void TestUpgradePage::chosenImageIsUpgradedAfterTheLoaderAnswers()
{
    Rig rig;
    rig.page->open();
    QCOMPARE(rig.live.liveOutputMode(), liveout::kModeUpgrade);
    const auto image = firmwareImage(3000, 100);
    const auto path = rig.dir / "new.bin";
    rz::test::writeAll(path, image);
    rig.chooser.paths.push_back(path);
    rig.click("Command文件");
    QCOMPARE(rig.chooser.calls.at(0).extension, std::u16string(u"bin"));
    QCOMPARE(rig.fileText(), qs(path.u16string()));
    QCOMPARE(qs(readKey(rig.paths.work, keys::kUpgradeFilePath)), qs(path.u16string()));

    rig.restartController();
    rig.click("Command升级");
    QVERIFY(rig.controller.transfer().loader.installedImage() == image);
    const QString text = rig.boxText();
    QVERIFY2(text.startsWith(QStringLiteral("升级机器主程序\n->握手中>")), qPrintable(text));
    QVERIFY2(text.endsWith(QStringLiteral("\n->握手成功\n->发送信息\n->文件大小:2.9K\n->接收成功\n"
                                          "->发送数据>>>>>>\n->发送校验\n->校验成功\n->下载成功")),
             qPrintable(text));
    QVERIFY(!rig.firmware.running());
}

void TestUpgradePage::refusedImagesLogWhy()
{
    const struct {
        const char* what;
        std::size_t size;
        std::size_t identityAt;
        QString log;
    } cases[] = {
        {"no identity", 3000, std::string::npos, QStringLiteral("升级机器主程序\n->文件格式错误 ")},
        {"identity in the last 1000 bytes", 3000, 2001, QStringLiteral("升级机器主程序\n->文件格式错误 ")},
        {"shorter than 1000 bytes", 999, 0, QStringLiteral("升级机器主程序\n->文件格式错误 ")},
        {"empty file", 0, std::string::npos, QStringLiteral("升级机器主程序\n文件不存在！！！")},
    };
    for (const auto& c : cases) {
        Rig rig;
        const auto path = rig.dir / "image.bin";
        rz::test::writeAll(path, firmwareImage(c.size, c.identityAt));
        writeKey(rig.paths.work, keys::kUpgradeFilePath, path.u16string());
        rig.page->open();
        rig.restartController();
        rig.click("Command升级");
        QCOMPARE(rig.boxText(), c.log);
        QCOMPARE(rig.counter.frames[kC4], 1); // only the restart: no handshake was tried
        QVERIFY2(rig.controller.transfer().loader.installedImage().empty(), c.what);
    }
}

void TestUpgradePage::leavingThePageOrClosingStopsTheHandshake()
{
    const struct {
        const char* how;
        bool closeProgram;
    } cases[] = {{"another page opens", false}, {"the program closes", true}};
    for (const auto& c : cases) {
        Rig rig;
        const auto path = rig.dir / "image.bin";
        rz::test::writeAll(path, firmwareImage(2000, 0));
        writeKey(rig.paths.work, keys::kUpgradeFilePath, path.u16string());
        rig.page->open();
        // The loader never answers; after ten attempts the user goes elsewhere.
        rig.yield.onYield = [&] {
            if (rig.counter.frames[kC4] == 10) {
                if (c.closeProgram)
                    rig.closing = true;
                else
                    rig.live.setLiveOutputMode(liveout::kModeScene);
            }
        };
        rig.click("Command升级");
        QCOMPARE(rig.counter.frames[kC4], 10);
        QVERIFY2(rig.boxText().endsWith(QStringLiteral("\n->握手失败")), c.how);
        QVERIFY(!rig.page->upgradeStatusCheck());
    }
    // Left alone, all 300 attempts are made.
    Rig rig;
    const auto path = rig.dir / "image.bin";
    rz::test::writeAll(path, firmwareImage(2000, 0));
    writeKey(rig.paths.work, keys::kUpgradeFilePath, path.u16string());
    rig.page->open();
    rig.click("Command升级");
    QCOMPARE(rig.counter.frames[kC4], 300);
    QVERIFY(rig.boxText().endsWith(QStringLiteral("\n->握手失败")));
}

void TestUpgradePage::clicksDuringAnUpgradeStartNothingInsideIt()
{
    Rig rig;
    rig.connect();
    const auto path = rig.dir / "image.bin";
    rz::test::writeAll(path, firmwareImage(2000, 0));
    writeKey(rig.paths.work, keys::kUpgradeFilePath, path.u16string());
    rig.page->open();
    rig.store().preload(2, {1, 2, 3});
    int clicked = 0;
    rig.yield.onYield = [&] {
        if (rig.counter.frames[kC4] == 5 && clicked++ == 0) {
            rig.click("Command升级");
            rig.click("Command上传墙板参数文件");
            rig.click("Command下载VOD参数文件");
        }
    };
    rig.click("Command升级");
    QVERIFY(clicked > 0);
    QCOMPARE(rig.counter.frames[kC4], 300); // one handshake, not two
    QCOMPARE(rig.counter.frames[kD3], 0);
    QVERIFY(rig.chooser.calls.empty());
    QVERIFY(rig.boxText().startsWith(QStringLiteral("升级机器主程序\n->握手中>")));
    QVERIFY(rig.boxText().endsWith(QStringLiteral("\n->握手失败")));
}

void TestUpgradePage::storedFileIsShownAndCheckedOnOpening()
{
    Rig rig;
    const auto path = rig.dir / "old.bin";
    rz::test::writeAll(path, firmwareImage(1500, 0));
    writeKey(rig.paths.work, keys::kUpgradeFilePath, path.u16string());
    rig.page->open();
    QCOMPARE(rig.fileText(), qs(path.u16string()));
    QCOMPARE(rig.boxText(), QString()); // the box is reset on every opening
    QCOMPARE(rig.firmware.upgradeFileSize(), uint64_t(1500));
    QVERIFY(rig.button("Command开发升级")->isHidden());
    QVERIFY(rig.button("Command读取电脑信息")->isHidden());

    // Gone since: the field is emptied and the upgrade says so.
    std::filesystem::remove(path);
    rig.page->open();
    QCOMPARE(rig.fileText(), QString());
    rig.click("Command升级");
    QCOMPARE(rig.boxText(), QStringLiteral("升级机器主程序\n文件不存在！！！"));
    // The stored choice is kept for when the file is back.
    QCOMPARE(qs(readKey(rig.paths.work, keys::kUpgradeFilePath)), qs(path.u16string()));
}

void TestUpgradePage::parameterFilesGoDownWithTheirDialogs()
{
    const struct {
        const char* button;
        uint8_t kind;
        std::u16string title;
        std::u16string extension;
        QString firstLines;
    } cases[] = {
        {"Command下载墙板参数文件", 2, u"导入墙板参数文件", u"KQB",
         QStringLiteral("->读取 墙板参数文件 \n->下载 墙板参数文件 \n")},
        {"Command下载VOD参数文件", 3, u"导入VOD参数文件", u"KVD",
         QStringLiteral("->读取 VOD参数文件 \n->下载 VOD参数文件 \n")},
        {"Command下载_红外空调参数文件", 4, u"导入红外空调参数文件参数文件", u"AC",
         QStringLiteral("->读取 红外空调参数文件参数文件 \n->下载 红外空调参数文件参数文件 \n")},
    };
    for (const auto& c : cases) {
        Rig rig;
        rig.connect();
        rig.page->open();
        const auto path = rig.dir / "param.bin";
        const std::vector<uint8_t> bytes(1300, c.kind);
        rz::test::writeAll(path, bytes);
        rig.chooser.paths.push_back(path);
        rig.click(c.button);
        QCOMPARE(rig.chooser.calls.size(), std::size_t(1));
        QCOMPARE(qs(rig.chooser.calls[0].title), qs(c.title));
        QCOMPARE(qs(rig.chooser.calls[0].extension), qs(c.extension));
        QVERIFY2(rig.store().file(c.kind) && *rig.store().file(c.kind) == bytes, c.button);
        const QString text = rig.boxText();
        QVERIFY2(text.startsWith(c.firstLines + QStringLiteral("->文件:")), qPrintable(text));
        QVERIFY2(text.endsWith(QStringLiteral("->下载成功\n")), qPrintable(text));

        // A cancelled dialog sends nothing.
        rig.click(c.button);
        QVERIFY(rig.boxText().endsWith(QStringLiteral("->文件错误 ")));
        QCOMPARE(rig.counter.frames[kD0], 1);
    }
}

void TestUpgradePage::parameterFilesComeUpIntoTheApplicationFolder()
{
    const struct {
        const char* button;
        uint8_t kind;
        const char* target;
        QString firstLine;
    } cases[] = {
        {"Command上传墙板参数文件", 2, "R-QB.KQB", QStringLiteral("->上传 墙板 参数文件 ")},
        {"Command上传VOD参数文件", 3, "R-VOD.KVD", QStringLiteral("->上传 VOD 参数文件 ")},
        {"Command上传_红外空调参数文件", 4, "R-IRAC.AC", QStringLiteral("->上传 VOD 红外空调参数文件 ")},
        {"Command上传灯光参数文件", 1, "R-SHOW.K_F", QStringLiteral("->上传 灯光 参数文件 ")},
    };
    for (const auto& c : cases) {
        Rig rig;
        rig.connect();
        rig.page->open();
        const std::vector<uint8_t> bytes(700, static_cast<uint8_t>(0x40 + c.kind));
        rig.store().preload(c.kind, bytes);
        rig.click(c.button);
        const auto target = rig.dir / c.target;
        QVERIFY2(rz::test::readAll(target) == bytes, c.target);
        const QString text = rig.boxText();
        QVERIFY2(text.startsWith(c.firstLine + QStringLiteral("\n->准备上传\n")), qPrintable(text));
        QVERIFY2(text.endsWith(QStringLiteral("->上传成功\n \n文件=") + qs(target.u16string()) + '\n'),
                 qPrintable(text));
    }
    // Nothing stored on the controller: no file is written.
    Rig rig;
    rig.connect();
    rig.click("Command上传墙板参数文件");
    QVERIFY(rig.boxText().endsWith(QStringLiteral("->数据不存在！！\n->上传失败\n")));
    QVERIFY(!std::filesystem::exists(rig.dir / "R-QB.KQB"));
}

void TestUpgradePage::parameterTransfersNeedAConnection()
{
    Rig rig;
    rig.page->open();
    for (const char* name : {"Command下载墙板参数文件", "Command上传VOD参数文件", "Command上传灯光参数文件"}) {
        rig.click(name);
        QCOMPARE(rig.boxText(), QStringLiteral("未连接\n"));
    }
    QVERIFY(rig.chooser.calls.empty());
    QCOMPARE(rig.counter.frames[kD0] + rig.counter.frames[kD3], 0);
}

void TestUpgradePage::queryButtonsReportIntoTheBox()
{
    Rig rig;
    rig.page->open();
    rig.store().preload(2, {1, 2, 3});
    rig.controller.transfer().queries.setFileNumbers(7, 0);
    rig.click("Command查看墙板和VOD文件ID");
    rig.transport.poll();
    QCOMPARE(rig.boxText(), QStringLiteral("  OK 墙板文件ID=A007  VOD文件不存在  \n"));

    rig.click("Command读取版本号");
    rig.transport.poll();
    QCOMPARE(rig.boxText(), QStringLiteral("  OK 墙板文件ID=A007  VOD文件不存在  \n"
                                           "  OK 机器版本号= 1.0.0.0.\n"));
}

void TestUpgradePage::hiddenCommandsMatchTheWholeText()
{
    const struct {
        QString typed;
        uint8_t query; // 0: none is sent
        QString report;
    } cases[] = {
        {QStringLiteral("@查版本"), 0x21, QStringLiteral("@查版本\n  OK 机器版本号= 1.0.0.0.\n")},
        {QStringLiteral("@主机详情"), 0x26, QStringLiteral("@主机详情\n\nRZ-760 模拟控制器\n")},
        {QStringLiteral("@查版本 "), 0, QStringLiteral("@查版本 ")},
        {QStringLiteral("查版本"), 0, QStringLiteral("查版本")},
    };
    for (const auto& c : cases) {
        Rig rig;
        rig.page->open();
        rig.type(c.typed);
        rig.transport.poll();
        QCOMPARE(rig.counter.frames[kCE], c.query ? 1 : 0);
        if (c.query)
            QCOMPARE((rig.counter.subFrames[{kCE, c.query}]), 1);
        QCOMPARE(rig.boxText(), c.report);
    }

    // "@mark" switches the logo and stores the new state each time.
    Rig rig;
    QSignalSpy logo(rig.page.get(), &ui::UpgradePage::logoVisibilityChanged);
    rig.page->open();
    rig.type(QStringLiteral("@mark"));
    QCOMPARE(rig.boxText(), QStringLiteral("@mark\n  OK L_logo显示=1"));
    QCOMPARE(qs(readKey(rig.paths.work, keys::kLogoShown)), QStringLiteral("1"));
    rig.box()->setPlainText(QString());
    rig.type(QStringLiteral("@mark"));
    QCOMPARE(rig.boxText(), QStringLiteral("@mark\n  OK L_logo显示=0"));
    QCOMPARE(qs(readKey(rig.paths.work, keys::kLogoShown)), QStringLiteral("0"));
    QCOMPARE(logo.size(), 2);
    QCOMPARE(logo.at(0).at(0).toBool(), true);
    QCOMPARE(logo.at(1).at(0).toBool(), false);
}

void TestUpgradePage::maintenanceCommandEntersDevelopmentMode()
{
    Rig rig;
    QSignalSpy entered(rig.page.get(), &ui::UpgradePage::developmentModeEntered);
    rig.page->open();
    rig.type(QStringLiteral("@维护入口"));
    QCOMPARE(entered.size(), 1);
    QVERIFY(rig.page->developmentMode());
    QCOMPARE(rig.prompt.messages, std::vector<std::u16string>{u"开发模式！"});

    // The development buttons appear when the page is opened again.
    rig.page->open();
    QVERIFY(!rig.button("Command开发升级")->isHidden());
    QVERIFY(!rig.button("Command读取电脑信息")->isHidden());
    rig.click("Command读取电脑信息");
    rig.transport.poll();
    QCOMPARE(rig.boxText(), QStringLiteral("\nRZ-760 模拟控制器\n"));

    // The development image lies beside the tool's source tree; here there is none.
    rig.box()->clear();
    rig.click("Command开发升级");
    QCOMPARE(rig.boxText(), QStringLiteral("升级机器主程序\n文件不存在！！！"));
    QCOMPARE(rig.counter.frames[kC4], 0);
}

QTEST_MAIN(TestUpgradePage)
#include "tst_upgradepage.moc"
