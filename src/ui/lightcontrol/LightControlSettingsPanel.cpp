#include "ui/lightcontrol/LightControlSettingsPanel.h"

#include "core/lightcontrol/LightControlEditing.h"
#include "core/show/Show.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QVBoxLayout>

namespace rz::ui {

namespace {

using namespace lightcontrol;

QString qs(std::u16string_view text)
{
    return QString::fromStdU16String(std::u16string(text));
}

QStringList numbers(int first, int last, const QString& suffix = {})
{
    QStringList list;
    for (int n = first; n <= last; ++n)
        list << QString::number(n) + suffix;
    return list;
}

QStringList runTimes()
{
    QStringList list;
    for (uint8_t t : kRunTimeChoices)
        list << QString::number(t);
    return list;
}

QGroupBox* frame(QWidget* parent, const QString& caption, const QString& name = {})
{
    auto* box = new QGroupBox(caption, parent);
    if (!name.isEmpty())
        box->setObjectName(name);
    return box;
}

// One labelled row: the caption beside its control.
void addRow(QFormLayout* form, const QString& caption, QWidget* control)
{
    form->addRow(caption, control);
    control->setAccessibleName(caption);
}

} // namespace

PowerOnSceneList::PowerOnSceneList(show::Show& show, QWidget* parent) : QComboBox(parent), show(show)
{
    setObjectName(QStringLiteral("Combo开机场景"));
    setAccessibleName(QStringLiteral("开机场景"));
    setMaxVisibleItems(20);
    setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    setMinimumContentsLength(12);
    rebuild();
}

void PowerOnSceneList::rebuild()
{
    const int current = currentIndex();
    clear();
    addItem(qs(kNoPowerOnScene));
    for (int n = 1; n <= kPowerOnSceneChoices; ++n)
        addItem(QString::fromStdU16String(powerOnSceneEntry(n, show.scenes.scene(n).name)));
    setCurrentIndex(current < 0 ? 0 : current);
}

void PowerOnSceneList::showPopup()
{
    rebuild();
    QComboBox::showPopup();
}

LightControlSettingsPanel::LightControlSettingsPanel(show::Show& show, QWidget* parent) : QWidget(parent), show(show)
{
    auto& s = show.lightControl;
    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setSpacing(6);

    // Power-on scene, exhaust fans.
    auto* start = frame(this, QStringLiteral("开机场景"));
    auto* startForm = new QFormLayout(start);
    powerOnScene = new PowerOnSceneList(show, start);
    connect(powerOnScene, &QComboBox::activated, this, [this](int i) {
        this->show.lightControl.powerOnScene = static_cast<uint8_t>(std::clamp(i, 0, kPowerOnSceneChoices));
    });
    startForm->addRow(QStringLiteral("开机场景"), powerOnScene);
    startForm->addRow(addCheck(QStringLiteral("Check开机排风1"), QStringLiteral("开机排风1"),
                               [&s](bool on) { s.exhaust1AtPowerOn = on; }));
    startForm->addRow(addCheck(QStringLiteral("Check开启排风1通道复用"), QStringLiteral("通道9当排风1"),
                               [&s](bool on) { s.channel9Exhaust1Off = on ? 0 : 1; }));
    startForm->addRow(addCheck(QStringLiteral("Check开机排风2"), QStringLiteral("开机排风2"),
                               [&s](bool on) { s.exhaust2AtPowerOn = on; }));
    startForm->addRow(addCheck(QStringLiteral("Check开启排风2通道复用"), QStringLiteral("通道3当排风2"),
                               [&s](bool on) { s.channel3AsExhaust2 = on; }));
    grid->addWidget(start, 0, 0);

    // Air conditioner and valves.
    auto* air = frame(this, QStringLiteral("开机空调"));
    auto* airForm = new QFormLayout(air);
    QStringList airStates;
    for (auto name : kAirConStateNames)
        airStates << qs(name);
    addRow(airForm, QStringLiteral("开机空调"),
           addList(QStringLiteral("Combo开机空调"), QStringLiteral("开机空调"), airStates,
                   [&s](int i) { s.powerOnAirCon = static_cast<uint8_t>(i); }));
    airForm->addRow(addCheck(QStringLiteral("Check高中低风通道复用"), QStringLiteral("通道678当空调高中低"),
                             [&s](bool on) { s.channels678AsAirConFan = on; }));
    airForm->addRow(addCheck(QStringLiteral("Check阀开通道复用"), QStringLiteral("通道5当阀开"),
                             [&s](bool on) { s.channel5AsValveOpen = on; }));
    airForm->addRow(addCheck(QStringLiteral("Check阀关通道复用"), QStringLiteral("通道4当阀关"),
                             [&s](bool on) { s.channel4AsValveClose = on; }));
    grid->addWidget(air, 0, 1);

    // Scene relays, mic shake, dense drum hits.
    auto* relays = frame(this, QStringLiteral("场景继电器控制选择"));
    auto* relayColumn = new QVBoxLayout(relays);
    for (int i = 0; i < 2; ++i) {
        auto* option = new QRadioButton(qs(kSceneRelayControlNames[static_cast<std::size_t>(i)]), relays);
        option->setObjectName(QStringLiteral("Option场景继电器控制选择(%1)").arg(i));
        connect(option, &QRadioButton::clicked, this, [this, i] {
            if (relayOptions[0]->isEnabled() && relayOptions[1]->isEnabled())
                this->show.lightControl.sceneRelayControl = static_cast<uint8_t>(i);
        });
        relayColumn->addWidget(option);
        relayOptions[i] = option;
    }
    auto* shake = frame(this, QStringLiteral("摇麦"));
    auto* shakeForm = new QFormLayout(shake);
    addRow(shakeForm, QStringLiteral("触发时间"),
           addList(QStringLiteral("Combo摇麦时间"), QStringLiteral("触发时间"), numbers(1, kMaxMicShakeTime, qs(kSecondsSuffix)),
                   [&s](int i) { s.micShakeTime = static_cast<uint8_t>(i + 1); }));
    auto* drum = frame(this, QStringLiteral("密集鼓点参数(默认7)"));
    auto* drumForm = new QFormLayout(drum);
    addRow(drumForm, QStringLiteral("连续触发次数"),
           addList(QStringLiteral("Combo密集鼓点参数"), QStringLiteral("连续触发次数"),
                   numbers(kMinDenseDrumCount, kMaxDenseDrumCount),
                   [&s](int i) { s.denseDrumCount = static_cast<uint8_t>(kMinDenseDrumCount + i); }));
    auto* middle = new QVBoxLayout;
    middle->addWidget(relays);
    middle->addWidget(shake);
    middle->addWidget(drum);
    grid->addLayout(middle, 0, 2);

    // Smoke machine, cheer/boo, motion limits.
    auto* smoke = frame(this, QStringLiteral("烟机按钮 (为0时按一下开，按一下关)"));
    auto* smokeForm = new QFormLayout(smoke);
    addRow(smokeForm, QStringLiteral("运行时间"),
           addList(QStringLiteral("Combo烟机时间"), QStringLiteral("烟机运行时间"), runTimes(),
                   [&s](int i) { s.smokeMachineTime = kRunTimeChoices[static_cast<std::size_t>(i)]; }));
    auto* cheer = frame(this, QStringLiteral("喝彩倒彩"));
    auto* cheerForm = new QFormLayout(cheer);
    addRow(cheerForm, QStringLiteral("运行时间"),
           addList(QStringLiteral("Combo喝彩倒彩时间"), QStringLiteral("喝彩倒彩运行时间"), runTimes(),
                   [&s](int i) { s.cheerBooTime = kRunTimeChoices[static_cast<std::size_t>(i)]; }));
    auto* dmx = frame(this, QStringLiteral("DMX参数 (设置为0关闭此功能)"), QStringLiteral("FrameDmx参数"));
    auto* dmxForm = new QFormLayout(dmx);
    addRow(dmxForm, QStringLiteral("XY 系统默认动作限制"),
           addList(QStringLiteral("ComboXY动作限制"), QStringLiteral("XY 系统默认动作限制"), numbers(0, 127),
                   [this](int i) { this->show.motionThreshold = static_cast<uint8_t>(i); }));
    auto* sceneLimit = frame(this, QStringLiteral("场景切换强制XY动作限制(默认2)"));
    auto* sceneLimitForm = new QFormLayout(sceneLimit);
    addRow(sceneLimitForm, QStringLiteral("动作限制"),
           addList(QStringLiteral("Combo场景切换强制XY动作限制"), QStringLiteral("场景切换强制XY动作限制"), numbers(0, 10),
                   [&s](int i) { s.sceneSwitchXyLimit = static_cast<uint8_t>(i); }));
    auto* right = new QVBoxLayout;
    right->addWidget(smoke);
    right->addWidget(cheer);
    right->addWidget(dmx);
    right->addWidget(sceneLimit);
    grid->addLayout(right, 0, 3, 2, 1);

    // The DMX channel with fixed values.
    auto* fixed = frame(this, QStringLiteral("Dmx通道固定值"));
    auto* fixedForm = new QFormLayout(fixed);
    addRow(fixedForm, QStringLiteral("Dmx通道"),
           addNumberBox(QStringLiteral("TextDmx固定值_通道"), QStringLiteral("Dmx通道"), [&s](const QString& t) {
               if (const auto v = parseFixedDmxChannel(t.toStdU16String()))
                   s.fixedDmxChannel = *v;
           }));
    addRow(fixedForm, QStringLiteral("开数值"),
           addNumberBox(QStringLiteral("TextDmx固定值_开数值"), QStringLiteral("开数值"), [&s](const QString& t) {
               if (const auto v = parseDmxLevel(t.toStdU16String()))
                   s.fixedDmxOnValue = *v;
           }));
    addRow(fixedForm, QStringLiteral("关数值"),
           addNumberBox(QStringLiteral("TextDmx固定值_关数值"), QStringLiteral("关数值"), [&s](const QString& t) {
               if (const auto v = parseDmxLevel(t.toStdU16String()))
                   s.fixedDmxOffValue = *v;
           }));
    QStringList onOff;
    for (auto name : kFixedDmxPowerOnNames)
        onOff << qs(name);
    addRow(fixedForm, QStringLiteral("开机默认"),
           addList(QStringLiteral("TextDmx固定值_开机默认"), QStringLiteral("开机默认"), onOff,
                   [&s](int i) { s.fixedDmxPowerOnState = static_cast<uint8_t>(i); }));
    grid->addWidget(fixed, 1, 0);

    // Thyristor dimming.
    auto* dimming = frame(this, QStringLiteral("可控硅调光"));
    auto* dimForm = new QFormLayout(dimming);
    dimForm->addRow(addCheck(QStringLiteral("Check开启可控硅调光"), QStringLiteral("开启可控硅调光"),
                             [&s](bool on) { s.thyristorDimming = on; }));
    addRow(dimForm, QStringLiteral("加减级数"),
           addList(QStringLiteral("Combo可控硅调光加减级数"), QStringLiteral("加减级数"), numbers(1, kMaxDimmingSteps),
                   [&s](int i) { s.dimmingSteps = static_cast<uint8_t>(i + 1); }));
    dimForm->addRow(addCheck(QStringLiteral("Check可控硅调光渐变处理"), QStringLiteral("渐变处理"),
                             [&s](bool on) { s.dimmingFade = on; }));
    dimForm->addRow(addCheck(QStringLiteral("Check场景打开才可加减"), QStringLiteral("场景打开才可加减"),
                             [&s](bool on) { s.adjustOnlyWhenSceneOpen = on; }));
    addRow(dimForm, QStringLiteral("调光最小值"),
           addList(QStringLiteral("Combo调光最小值"), QStringLiteral("调光最小值"), numbers(0, kMaxDimmingMinimum),
                   [&s](int i) { s.dimmingMinimum = static_cast<uint8_t>(i); }));
    grid->addWidget(dimming, 1, 1);

    // VOD pause and the door-plate light.
    auto* vod = frame(this, QStringLiteral("VOD暂停时暂停Dmx512数据"));
    auto* vodColumn = new QVBoxLayout(vod);
    vodColumn->addWidget(addCheck(QStringLiteral("CheckDmx512数据暂停"), QStringLiteral("Dmx512数据暂停"),
                                  [&s](bool on) { s.pauseDmxOnVodPause = on; }));
    vodColumn->addWidget(addCheck(QStringLiteral("CheckVOD暂停时不切换到暂停场景"), QStringLiteral("勾选屏蔽暂停场景功能"),
                                  [&s](bool on) { s.vodPauseNoSceneSwitch = on; }));
    vodColumn->addWidget(addCheck(QStringLiteral("Check关闭多色门牌灯"), QStringLiteral("关闭多色门牌灯"),
                                  [&s](bool on) { s.doorPlateLightOff = on; }));
    grid->addWidget(vod, 1, 2);
}

QCheckBox* LightControlSettingsPanel::addCheck(const QString& name, const QString& caption,
                                               std::function<void(bool)> store)
{
    auto* box = new QCheckBox(caption, this);
    box->setObjectName(name);
    connect(box, &QCheckBox::clicked, this, [store = std::move(store)](bool on) { store(on); });
    return box;
}

QComboBox* LightControlSettingsPanel::addList(const QString& name, const QString& caption, const QStringList& entries,
                                              std::function<void(int)> store)
{
    auto* list = new QComboBox(this);
    list->setObjectName(name);
    list->setAccessibleName(caption);
    list->addItems(entries);
    list->setMaxVisibleItems(20);
    connect(list, &QComboBox::activated, this, [store = std::move(store), entries](int i) {
        if (i >= 0 && i < entries.size())
            store(i);
    });
    return list;
}

QLineEdit* LightControlSettingsPanel::addNumberBox(const QString& name, const QString& caption,
                                                   std::function<void(const QString&)> store)
{
    auto* box = new QLineEdit(this);
    box->setObjectName(name);
    box->setAccessibleName(caption);
    box->setMaxLength(5);
    box->setMaximumWidth(90);
    connect(box, &QLineEdit::textEdited, this, [store = std::move(store)](const QString& t) { store(t); });
    return box;
}

void LightControlSettingsPanel::showCheck(const QString& name, bool ticked)
{
    if (auto* box = findChild<QCheckBox*>(name))
        box->setChecked(ticked);
}

void LightControlSettingsPanel::showListEntry(const QString& name, const QString& entry)
{
    if (auto* list = findChild<QComboBox*>(name))
        list->setCurrentIndex(list->findText(entry));
}

void LightControlSettingsPanel::showListIndex(const QString& name, int index)
{
    if (auto* list = findChild<QComboBox*>(name))
        list->setCurrentIndex(index >= 0 && index < list->count() ? index : -1);
}

void LightControlSettingsPanel::refresh()
{
    auto& s = show.lightControl;
    // A record that was never read from a file (first start without a show) still holds the
    // zeros no list offers; it gets the corrections reading would have made.
    validateLightControl(s);
    correctDimmingForDisplay(s);

    powerOnScene->rebuild();
    powerOnScene->setCurrentIndex(s.powerOnScene <= kPowerOnSceneChoices ? s.powerOnScene : -1);
    showCheck(QStringLiteral("Check开机排风1"), s.exhaust1AtPowerOn == 1);
    showCheck(QStringLiteral("Check开启排风1通道复用"), s.channel9Exhaust1Off == 0);
    showCheck(QStringLiteral("Check开机排风2"), s.exhaust2AtPowerOn == 1);
    showCheck(QStringLiteral("Check开启排风2通道复用"), s.channel3AsExhaust2 == 1);
    showListIndex(QStringLiteral("Combo开机空调"), s.powerOnAirCon);
    showCheck(QStringLiteral("Check高中低风通道复用"), s.channels678AsAirConFan == 1);
    showCheck(QStringLiteral("Check阀开通道复用"), s.channel5AsValveOpen == 1);
    showCheck(QStringLiteral("Check阀关通道复用"), s.channel4AsValveClose == 1);
    showListEntry(QStringLiteral("Combo摇麦时间"), QString::fromStdU16String(micShakeText(s.micShakeTime)));
    if (s.sceneRelayControl < 2)
        relayOptions[s.sceneRelayControl]->setChecked(true);
    showListEntry(QStringLiteral("Combo烟机时间"), QString::number(s.smokeMachineTime));
    showListEntry(QStringLiteral("Combo喝彩倒彩时间"), QString::number(s.cheerBooTime));
    showListEntry(QStringLiteral("Combo密集鼓点参数"), QString::number(s.denseDrumCount));
    showListEntry(QStringLiteral("ComboXY动作限制"), QString::number(show.motionThreshold));
    findChild<QLineEdit*>(QStringLiteral("TextDmx固定值_通道"))->setText(QString::number(s.fixedDmxChannel));
    findChild<QLineEdit*>(QStringLiteral("TextDmx固定值_开数值"))->setText(QString::number(s.fixedDmxOnValue));
    findChild<QLineEdit*>(QStringLiteral("TextDmx固定值_关数值"))->setText(QString::number(s.fixedDmxOffValue));
    showListIndex(QStringLiteral("TextDmx固定值_开机默认"), s.fixedDmxPowerOnState);
    showCheck(QStringLiteral("CheckVOD暂停时不切换到暂停场景"), s.vodPauseNoSceneSwitch == 1);
    showListEntry(QStringLiteral("Combo场景切换强制XY动作限制"), QString::number(s.sceneSwitchXyLimit));
    showCheck(QStringLiteral("Check开启可控硅调光"), s.thyristorDimming == 1);
    showListEntry(QStringLiteral("Combo可控硅调光加减级数"), QString::number(s.dimmingSteps));
    showCheck(QStringLiteral("Check可控硅调光渐变处理"), s.dimmingFade == 1);
    showCheck(QStringLiteral("Check场景打开才可加减"), s.adjustOnlyWhenSceneOpen == 1);
    showListEntry(QStringLiteral("Combo调光最小值"), QString::number(s.dimmingMinimum));
    showCheck(QStringLiteral("CheckDmx512数据暂停"), s.pauseDmxOnVodPause == 1);
    showCheck(QStringLiteral("Check关闭多色门牌灯"), s.doorPlateLightOff == 1);
}

} // namespace rz::ui
