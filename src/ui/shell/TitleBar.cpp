#include "ui/shell/TitleBar.h"

#include "ui/look/ColourLook.h"
#include "ui/shell/CoreText.h"
#include "ui/shell/RelayDebugPanel.h"
#include "ui/shell/ShellGeometry.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QEvent>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QTimer>

namespace rz::ui {

namespace ck = rz::colourkeys;

namespace {

// Built-in colours of the function buttons (Windows colour values).
constexpr uint32_t kFunctionSelected = 0xD0781E;
constexpr uint32_t kFunctionNotSelected = 0x50463C;
constexpr uint32_t kFunctionText = 0xFFFFFF;

struct FunctionButton {
    int k;
    const char* caption;
};
constexpr FunctionButton kFunctionButtons[] = {
    {TitleBar::kLightButton, "灯控"},  {TitleBar::kFixtureButton, "灯库"},
    {TitleBar::kSceneButton, "场景"},  {TitleBar::kTestButton, "测试"},
    {TitleBar::kDownloadButton, "下载"}, {TitleBar::kRdmButton, "RDM"},
};

const char* sceneCaption(ScenePageMode mode)
{
    switch (mode) {
    case ScenePageMode::effect:
        return "效果";
    case ScenePageMode::material:
        return "素材";
    case ScenePageMode::scene:
        break;
    }
    return "场景";
}

QPixmap builtInLogo()
{
    QPixmap pm(80, 62);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.setBrush(QColor(0x1e, 0x78, 0xd0));
    p.setPen(Qt::NoPen);
    p.drawRoundedRect(QRectF(2, 8, 76, 46), 8, 8);
    QFont f;
    f.setPixelSize(18);
    f.setBold(true);
    p.setFont(f);
    p.setPen(Qt::white);
    p.drawText(QRectF(2, 8, 76, 46), Qt::AlignCenter, QStringLiteral("RZ-760"));
    return pm;
}

// The first picture in `folder` whose name starts with `prefix` (P01.bmp, P01.png, ...).
QPixmap pictureStartingWith(const std::filesystem::path& folder, const QString& prefix)
{
    const QDir dir(QString::fromStdU16String(folder.u16string()));
    for (const QString& name : dir.entryList({prefix + QStringLiteral("*")}, QDir::Files, QDir::Name)) {
        QPixmap pm(dir.filePath(name));
        if (!pm.isNull())
            return pm;
    }
    return {};
}

} // namespace

TitleBar::TitleBar(const SettingsPaths& p, const ColourScheme& s, QWidget* parent)
    : QWidget(parent), paths(p), scheme(s)
{
    setObjectName(QStringLiteral("A02__Form_T00_标题"));
    setFixedSize(geometry::titleBarWidth, geometry::titleBarHeight);
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, QColor(0x2a, 0x2d, 0x34));
    pal.setColor(QPalette::WindowText, QColor(0xe8, 0xe8, 0xe8));
    setPalette(pal);
    buildControls();
}

void TitleBar::buildControls()
{
    logo = new QLabel(this);
    logo->setObjectName(QStringLiteral("Image_logo"));
    logo->setGeometry(8, 12, 80, 62);
    logo->setPixmap(builtInLogo());
    logo->hide();

    int x = 96;
    for (const FunctionButton& f : kFunctionButtons) {
        auto* b = new QPushButton(tr(f.caption), this);
        b->setObjectName(QStringLiteral("Command功能选择(%1)").arg(f.k));
        b->setGeometry(x, 10, 76, 66);
        QFont font = b->font();
        font.setPixelSize(18);
        font.setBold(true);
        b->setFont(font);
        const int k = f.k;
        connect(b, &QPushButton::clicked, this, [this, k] { clickFunctionButton(k); });
        functionButtons[k] = b;
        x += 80;
    }

    kindLabel = new QLabel(tr("连接方式"), this);
    kindLabel->setObjectName(QStringLiteral("Label连接方式"));
    kindLabel->setGeometry(588, 8, 116, 20);
    kindList = new QComboBox(this);
    kindList->setObjectName(QStringLiteral("Combo连接方式"));
    kindList->setGeometry(588, 30, 116, 26);
    connect(kindList, &QComboBox::activated, this, [this](int index) {
        if (connection && index >= 0)
            connection->selectConnection(static_cast<std::size_t>(index));
    });
    portList = new QComboBox(this);
    portList->setObjectName(QStringLiteral("Combo串口"));
    portList->hide();
    connectButton = new QPushButton(QString::fromStdU16String(std::u16string(link::kCaptionDisconnected)), this);
    connectButton->setObjectName(QStringLiteral("Command连接"));
    connectButton->setGeometry(710, 30, 84, 26);
    connect(connectButton, &QPushButton::clicked, this, [this] {
        if (!connection)
            return;
        if (beforeConnect && !connection->connected())
            beforeConnect();
        connection->toggleConnection();
    });
    counters = new QLabel(QStringLiteral("S:0000   G:0000"), this);
    counters->setObjectName(QStringLiteral("Label数据包"));
    counters->setGeometry(588, 60, 206, 20);
    counters->setToolTip(tr("双击打开升级页面"));
    counters->installEventFilter(this);

    saveButton = new QPushButton(QString::fromStdU16String(std::u16string(kSaveCaption)), this);
    saveButton->setObjectName(QStringLiteral("Command立刻保存"));
    saveButton->setGeometry(804, 10, 64, 66);
    connect(saveButton, &QPushButton::clicked, this, [this] { saveNow(); });
    saveTimer = new QTimer(this);
    saveTimer->setObjectName(QStringLiteral("Timer保存颜色显示"));
    saveTimer->setSingleShot(true);
    saveTimer->setInterval(kSaveColourRestoreMs);
    connect(saveTimer, &QTimer::timeout, this, [this] { restoreSaveButton(); });

    relays = new RelayDebugPanel(paths.work, this);
    relays->setGeometry(878, 2, 300, 82);
    relays->onRelaysChanged = [this] {
        if (onRelaysChanged)
            onRelaysChanged();
    };

    developmentButton = new QPushButton(tr("开发模式"), this);
    developmentButton->setObjectName(QStringLiteral("Command开发模式"));
    developmentButton->setGeometry(1188, 28, 84, 30);
    developmentButton->hide();
    connect(developmentButton, &QPushButton::clicked, this, [this] {
        if (openDevelopmentWindow)
            openDevelopmentWindow();
    });
}

void TitleBar::load()
{
    // The scheme has no keys for the save button: its two colours stay the built-in ones.
    restoreSaveButton();
    readTitleBarSettings(paths, settings);
    logo->setVisible(settings.logoShown == 1 && !(scheme.on() && scheme.logoHidden()));
    if (scheme.colourFileFound())
        applyPersonalLook();
    if (connection) {
        connection->initConnection();
        connection->applyDevelopmentMode();
        developmentButton->setVisible(connection->developmentModeEnabled());
    }
    relays->loadDebugRelays();
    colourFunctionButtons();
}

void TitleBar::applyPersonalLook()
{
    if (!scheme.on())
        return;
    applyToForm(this, scheme, {kindList->objectName(), connectButton->objectName(), relays->objectName()});
    if (const QPixmap bg = pictureStartingWith(scheme.folder(), QStringLiteral("P01")); !bg.isNull()) {
        QPalette pal = palette();
        pal.setBrush(QPalette::Window, bg.scaled(size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
        setPalette(pal);
    }
    logo->setStyleSheet(QStringLiteral("background-color:%1;").arg(windowsColour(scheme.colour(ck::kTitleLogo)).name()));
    relays->setColours(scheme.colour(ck::kTitleRelayBack), scheme.colour(ck::kTitleRelayText));
    kindList->setStyleSheet(QStringLiteral("QComboBox{%1}").arg(
        colourRule(scheme.colour(ck::kTitleSerialBack), scheme.colour(ck::kTitleSerialText))));
    connectText = scheme.colour(ck::kTitleConnectText);
    if (connection)
        connection->setButtonColours(scheme.colour(ck::kTitleConnectNotSelected),
                                     scheme.colour(ck::kTitleConnectSelected));
}

QPushButton* TitleBar::functionButton(int k) const
{
    const auto it = functionButtons.find(k);
    return it == functionButtons.end() ? nullptr : it->second;
}

void TitleBar::colourFunctionButtons()
{
    const bool personal = scheme.on();
    const uint32_t on = personal ? scheme.colour(ck::kTitleFunctionSelected) : kFunctionSelected;
    const uint32_t off = personal ? scheme.colour(ck::kTitleFunctionNotSelected) : kFunctionNotSelected;
    const uint32_t text = personal ? scheme.colour(ck::kTitleFunctionText) : kFunctionText;
    for (auto [k, b] : functionButtons) {
        setButtonColours(b, k == selectedButton ? on : off, text);
        b->setProperty("selected", k == selectedButton);
        if (personal && scheme.noButtonLineBreaks())
            b->setText(QString::fromStdU16String(withoutLineBreaks(b->text().toStdU16String())));
    }
}

void TitleBar::setPageOpener(TitlePage page, std::function<void()> open)
{
    openers[page] = std::move(open);
}

void TitleBar::clickFunctionButton(int k)
{
    if (!functionButton(k))
        return;
    selectedButton = k;
    colourFunctionButtons();
    if (k != kRdmButton && closeRdm)
        closeRdm();
    TitlePage page;
    switch (k) {
    case kLightButton:
        page = lightOpensAirConditioner ? TitlePage::airConditioner : TitlePage::lightControl;
        break;
    case kFixtureButton:
        page = TitlePage::fixtureLibrary;
        break;
    case kSceneButton:
        page = sceneMode == ScenePageMode::effect     ? TitlePage::effect
               : sceneMode == ScenePageMode::material ? TitlePage::material
                                                      : TitlePage::scene;
        break;
    case kTestButton:
        page = TitlePage::test;
        break;
    case kDownloadButton:
        page = TitlePage::download;
        break;
    default:
        page = TitlePage::rdm;
        break;
    }
    if (const auto it = openers.find(page); it != openers.end() && it->second)
        it->second();
}

void TitleBar::setScenePageMode(ScenePageMode mode)
{
    sceneMode = mode;
    functionButton(kSceneButton)->setText(tr(sceneCaption(mode)));
}

void TitleBar::saveNow()
{
    setButtonColours(saveButton, saveSaving, 0xFFFFFF);
    saveButton->setText(QString::fromStdU16String(std::u16string(kSavingCaption)));
    // Let the caption show before the save holds the event loop.
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    if (saveShow)
        saveShow();
    if (backupShow)
        backupShow();
    saveTimer->start();
}

void TitleBar::restoreSaveButton()
{
    saveTimer->stop();
    setButtonColours(saveButton, saveNormal, 0xFFFFFF);
    saveButton->setText(QString::fromStdU16String(std::u16string(kSaveCaption)));
}

const std::array<uint8_t, 31>& TitleBar::debugRelays() const
{
    return relays->debugRelays();
}

void TitleBar::toggleLogo()
{
    logo->setVisible(rz::toggleLogo(paths, settings) == 1);
}

void TitleBar::setLogoShown(bool shown)
{
    logo->setVisible(shown);
}

void TitleBar::showDevelopmentModeButton()
{
    developmentButton->show();
}

void TitleBar::showKinds(const std::vector<std::u16string>& kinds, const std::u16string& text)
{
    kindList->clear();
    for (const auto& k : kinds)
        kindList->addItem(QString::fromStdU16String(k));
    const int index = kindList->findText(QString::fromStdU16String(text));
    kindList->setCurrentIndex(index);
    // A saved choice that is not in the list now still shows its text.
    kindList->setPlaceholderText(index < 0 ? QString::fromStdU16String(text) : QString());
}

void TitleBar::showButton(const link::ConnectionButtonLook& look)
{
    connectButton->setText(translatedCoreText(look.caption));
    setButtonColours(connectButton, look.backColour, connectText);
}

void TitleBar::setButtonEnabled(bool enabled)
{
    connectButton->setEnabled(enabled);
}

void TitleBar::showCounters(const std::u16string& text)
{
    counters->setText(QString::fromStdU16String(text));
}

bool TitleBar::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == counters && event->type() == QEvent::MouseButtonDblClick) {
        if (const auto it = openers.find(TitlePage::upgrade); it != openers.end() && it->second)
            it->second();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace rz::ui
