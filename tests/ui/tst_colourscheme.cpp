// The colour file applied to real widgets: each control type takes its colours, the blue
// default fills every colour the file leaves out, the switch off leaves the built-in look,
// line breaks leave button captions, and the title bar takes its own keys.
#include "core/app/ColourScheme.h"
#include "core/app/SettingsCatalogue.h"
#include "core/link/ConnectionManager.h"
#include "core/link/Link.h"
#include "support/Fakes.h"
#include "ui/look/ColourLook.h"
#include "core/liveout/DebugRelays.h"
#include "ui/shell/TitleBar.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

using namespace rz;

namespace {

// A small page with one control of each kind the scheme colours.
struct Page {
    Page()
    {
        form.resize(400, 300);
        edit = new QLineEdit(&form);
        edit->setGeometry(10, 10, 120, 30);
        label = new QLabel(u"标签"_qs, &form);
        label->setGeometry(10, 50, 120, 30);
        frame = new QGroupBox(&form);
        frame->setGeometry(150, 10, 200, 150);
        inFrame = new QLabel(u"框内"_qs, frame);
        inFrame->setGeometry(10, 100, 80, 30);
        button = new QPushButton(u"另存\r\n单个"_qs, &form);
        button->setGeometry(10, 90, 120, 50);
        check = new QCheckBox(u"选择"_qs, &form);
        check->setGeometry(10, 150, 120, 30);
        form.show();
    }
    // The colour in the middle of a control as drawn.
    QColor drawnAt(QWidget* w, QPoint at = {}) const
    {
        const QImage image = const_cast<QWidget&>(form).grab().toImage();
        const QPoint p = w->mapTo(&form, at.isNull() ? QPoint(w->width() - 4, w->height() / 2) : at);
        return image.pixelColor(p);
    }

    QWidget form;
    QLineEdit* edit;
    QLabel* label;
    QGroupBox* frame;
    QLabel* inFrame;
    QPushButton* button;
    QCheckBox* check;
};

const QColor kBlue(0, 0, 255); // 16711680

// A frame draws a faint shade over its background.
bool near(const QColor& a, const QColor& b)
{
    return std::abs(a.red() - b.red()) <= 8 && std::abs(a.green() - b.green()) <= 8
           && std::abs(a.blue() - b.blue()) <= 8;
}
const QColor kWhite(255, 255, 255);

class NoTransports : public link::TransportOpener {
public:
    std::vector<link::SerialPortChoice> listSerialPorts() override { return {}; }
    link::Transport* openSerial(const std::u16string&) override { return nullptr; }
    void closeSerial() override {}
    link::Transport* openWifi() override { return nullptr; }
    void closeWifi() override {}
};

} // namespace

class ColourSchemeTest : public QObject {
    Q_OBJECT
private slots:
    void withoutAFileNothingChanges();
    void oneKeyWhiteEverythingElseBlue();
    void switchedOffLeavesBuiltInColours();
    void buttonLineBreaksRemoved();
    void eachControlTypeTakesItsOwnKeys();
    void titleBarTakesItsOwnKeys();
};

void ColourSchemeTest::withoutAFileNothingChanges()
{
    test::TempDir dir;
    Page page;
    const QColor before = page.drawnAt(page.edit);
    ui::applyToForm(&page.form, loadPersonalization(dir.path()));
    QCOMPARE(page.drawnAt(page.edit), before);
    for (QWidget* w : page.form.findChildren<QWidget*>())
        QVERIFY(w->styleSheet().isEmpty());
    QCOMPARE(page.button->text(), u"另存\r\n单个"_qs);
}

void ColourSchemeTest::oneKeyWhiteEverythingElseBlue()
{
    test::TempDir dir;
    test::writeText(dir / "AppSet" / "Sys_config" / "Pic" / "color.ini", "公用Text背景颜色=FFFFFF\r\n");
    Page page;
    ui::applyToForm(&page.form, loadPersonalization(dir.path()));
    QCOMPARE(page.drawnAt(page.edit), kWhite);
    QCOMPARE(page.drawnAt(page.label), kBlue);
    QVERIFY(near(page.drawnAt(page.frame, QPoint(100, 60)), kBlue));
    QCOMPARE(page.drawnAt(page.check), kBlue);
    QCOMPARE(page.drawnAt(page.button, QPoint(8, 10)), kBlue);
}

void ColourSchemeTest::switchedOffLeavesBuiltInColours()
{
    test::TempDir dir;
    test::writeText(dir / "AppSet" / "Sys_config" / "PicAll" / "color.ini",
                    "公用Text背景颜色=FFFFFF\r\n公用Label背景颜色=00FF00\r\n禁止ButtonCrlf=1\r\n开启自定义=0\r\n");
    Page page;
    const QColor labelBefore = page.drawnAt(page.label);
    ui::applyToForm(&page.form, loadPersonalization(dir.path()));
    QCOMPARE(page.drawnAt(page.label), labelBefore);
    QCOMPARE(page.button->text(), u"另存\r\n单个"_qs);
}

void ColourSchemeTest::buttonLineBreaksRemoved()
{
    Page page;
    ui::applyToForm(&page.form, ColourScheme::fromText("禁止ButtonCrlf=1\r\n"));
    QCOMPARE(page.button->text(), u"另存单个"_qs);
    Page kept;
    ui::applyToForm(&kept.form, ColourScheme::fromText("公用Command背景颜色=FFFFFF\r\n"));
    QCOMPARE(kept.button->text(), u"另存\r\n单个"_qs);
}

void ColourSchemeTest::eachControlTypeTakesItsOwnKeys()
{
    // Windows colour values: 0x0000FF is red, 0x00FF00 green, 0xFF0000 blue.
    const ColourScheme scheme = ColourScheme::fromText(
        "公用Label背景颜色=0000FF\r\n公用Frame背景颜色=00FF00\r\n公用Command背景颜色=FFFFFF\r\n"
        "公用Check背景颜色=00FFFF\r\n");
    Page page;
    ui::applyToForm(&page.form, scheme);
    QCOMPARE(page.drawnAt(page.label), QColor(255, 0, 0));
    QVERIFY(near(page.drawnAt(page.frame, QPoint(100, 60)), QColor(0, 255, 0)));
    QCOMPARE(page.drawnAt(page.inFrame), QColor(255, 0, 0)); // a label in a frame stays a label
    QCOMPARE(page.drawnAt(page.button, QPoint(8, 10)), kWhite);
    QCOMPARE(page.drawnAt(page.check), QColor(255, 255, 0));
    QCOMPARE(page.drawnAt(page.edit), kBlue);
    QCOMPARE(ui::controlKindOf(page.edit), ui::ControlKind::text);
}

void ColourSchemeTest::titleBarTakesItsOwnKeys()
{
    test::TempDir dir;
    const ColourScheme scheme = ColourScheme::fromText(
        "标题栏_功能按钮背景颜色_非选中=00FF00\r\n标题栏_功能按钮背景颜色_选中=0000FF\r\n"
        "标题栏_连接非选中颜色=FFFFFF\r\n");
    const SettingsPaths paths = settingsPaths(dir.path());
    test::FakeClock clock;
    test::FakeYield yield(clock);
    link::Link link(clock, yield);
    NoTransports none;
    Navigation navigation;
    liveout::DebugRelays relays(paths.work);
    TitleBarSettings titleSettings;
    ui::TitleBar bar(paths, scheme, navigation, relays, titleSettings);
    link::ConnectionManager manager(link, none, paths, bar);
    bar.setConnectionManager(&manager);
    bar.load();
    bar.show();
    const auto drawn = [&](const QString& name) {
        auto* w = bar.findChild<QWidget*>(name);
        return bar.grab().toImage().pixelColor(w->mapTo(&bar, QPoint(8, 10)));
    };
    QCOMPARE(drawn(u"Command功能选择(3)"_qs), QColor(0, 255, 0));
    QCOMPARE(drawn(u"Command连接"_qs), kWhite);
    bar.clickFunctionButton(3);
    QCOMPARE(drawn(u"Command功能选择(3)"_qs), QColor(255, 0, 0));
    QCOMPARE(drawn(u"Command功能选择(4)"_qs), QColor(0, 255, 0));
    // Keys the file leaves out are blue, like every other personal colour.
    QCOMPARE(bar.findChild<QWidget*>(u"Frame继电器通道颜色"_qs)->styleSheet().contains(u"#0000ff"_qs), true);
}

QTEST_MAIN(ColourSchemeTest)
#include "tst_colourscheme.moc"
