#include "ui/shell/TitleBar.h"

#include "ui/look/ColourLook.h"
#include "ui/shell/CoreText.h"
#include "ui/shell/RelayDebugPanel.h"
#include "ui/shell/ShellGeometry.h"
#include "core/liveout/DebugRelays.h"

#include <QComboBox>
#include <QDir>
#include <QEvent>
#include <QHBoxLayout>
#include <QVBoxLayout>
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
    {Navigation::kLightButton, QT_TRANSLATE_NOOP("rz::ui::TitleBar", "灯控")},
    {Navigation::kFixtureButton, QT_TRANSLATE_NOOP("rz::ui::TitleBar", "灯库")},
    {Navigation::kSceneButton, QT_TRANSLATE_NOOP("rz::ui::TitleBar", "场景")},
    {Navigation::kTestButton, QT_TRANSLATE_NOOP("rz::ui::TitleBar", "测试")},
    {Navigation::kDownloadButton, QT_TRANSLATE_NOOP("rz::ui::TitleBar", "下载")},
    {Navigation::kRdmButton, QT_TRANSLATE_NOOP("rz::ui::TitleBar", "RDM")},
};

const char* sceneCaption(ScenePageMode mode)
{
    switch (mode) {
    case ScenePageMode::Effect:
        return QT_TRANSLATE_NOOP("rz::ui::TitleBar", "效果");
    case ScenePageMode::Material:
        return QT_TRANSLATE_NOOP("rz::ui::TitleBar", "素材");
    case ScenePageMode::Scene:
        break;
    }
    return QT_TRANSLATE_NOOP("rz::ui::TitleBar", "场景");
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

TitleBar::TitleBar(const SettingsPaths& p, const ColourScheme& s, Navigation& nav, liveout::DebugRelays& debug,
                   TitleBarSettings& titleSettings, QWidget* parent)
    : QWidget(parent), paths(p), scheme(s), navigation(nav), debugRelays(debug), settings(titleSettings)
{
    setObjectName(QStringLiteral("A02__Form_T00_标题"));
    setFixedHeight(geometry::titleBarHeight);
    setMinimumWidth(geometry::minimumWindowWidth);
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, QColor(0x2a, 0x2d, 0x34));
    pal.setColor(QPalette::WindowText, QColor(0xe8, 0xe8, 0xe8));
    setPalette(pal);
    buildControls();
    selectionWatch = navigation.selectedButtonChanged.subscribe([this](int) { colourFunctionButtons(); });
    sceneModeWatch = navigation.scenePageModeChanged.subscribe([this](ScenePageMode m) { showScenePageMode(m); });
    showScenePageMode(navigation.scenePageMode());
}

void TitleBar::buildControls()
{
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(8, 6, 8, 6);
    row->setSpacing(6);

    logo = new QLabel(this);
    logo->setObjectName(QStringLiteral("Image_logo"));
    logo->setFixedSize(80, 62);
    logo->setPixmap(builtInLogo());
    logo->setAccessibleName(tr("标志"));
    logo->hide();
    row->addWidget(logo);

    for (const FunctionButton& f : kFunctionButtons) {
        auto* b = new QPushButton(tr(f.caption), this);
        b->setObjectName(QStringLiteral("Command功能选择(%1)").arg(f.k));
        b->setMinimumSize(64, 60);
        b->setMaximumWidth(110);
        b->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Expanding);
        QFont font = b->font();
        font.setPixelSize(18);
        font.setBold(true);
        b->setFont(font);
        const int k = f.k;
        connect(b, &QPushButton::clicked, this, [this, k] { clickFunctionButton(k); });
        functionButtons[k] = b;
        row->addWidget(b, 1);
    }
    row->addSpacing(6);

    auto* connectionColumn = new QVBoxLayout;
    connectionColumn->setSpacing(2);
    kindLabel = new QLabel(tr("连接方式"), this);
    kindLabel->setObjectName(QStringLiteral("Label连接方式"));
    kindList = new QComboBox(this);
    kindList->setObjectName(QStringLiteral("Combo连接方式"));
    kindList->setAccessibleName(tr("连接方式"));
    kindList->setMinimumWidth(116);
    connect(kindList, &QComboBox::activated, this, [this](int index) {
        if (connection && index >= 0)
            connection->selectConnection(static_cast<std::size_t>(index));
    });
    portList = new QComboBox(this);
    portList->setObjectName(QStringLiteral("Combo串口"));
    portList->setAccessibleName(tr("串口"));
    portList->hide();
    connectButton = new QPushButton(QString::fromStdU16String(std::u16string(link::kCaptionDisconnected)), this);
    connectButton->setObjectName(QStringLiteral("Command连接"));
    connectButton->setMinimumWidth(84);
    connect(connectButton, &QPushButton::clicked, this, [this] {
        if (!connection)
            return;
        if (beforeConnect && !connection->connected())
            beforeConnect();
        connection->toggleConnection();
    });
    counters = new QLabel(QStringLiteral("S:0000   G:0000"), this);
    counters->setObjectName(QStringLiteral("Label数据包"));
    counters->setToolTip(tr("S：发给控制器的数据包数　G：收到控制器的数据包数（到9999后从1重新计数）\n"
                            "双击打开升级页面"));
    counters->installEventFilter(this);
    notice = new QLabel(this);
    notice->setObjectName(QStringLiteral("Label连接提示"));
    notice->setStyleSheet(QStringLiteral("QLabel{color:#ff8080;}"));
    notice->setMaximumWidth(160);
    flashTimer = new QTimer(this);
    flashTimer->setInterval(150);
    connect(flashTimer, &QTimer::timeout, this, [this] {
        // The button blinks a few times: the controller did not answer.
        const bool lit = flashesLeft % 2 == 1;
        setButtonColours(connectButton, lit ? 0x3030D0 : buttonLook.backColour, connectText);
        if (--flashesLeft <= 0) {
            flashTimer->stop();
            setButtonColours(connectButton, buttonLook.backColour, connectText);
        }
    });
    auto* kindRow = new QHBoxLayout;
    kindRow->addWidget(kindList, 1);
    kindRow->addWidget(connectButton);
    auto* labelRow = new QHBoxLayout;
    labelRow->addWidget(kindLabel);
    labelRow->addWidget(notice, 1);
    connectionColumn->addLayout(labelRow);
    connectionColumn->addLayout(kindRow);
    connectionColumn->addWidget(counters);
    row->addLayout(connectionColumn);

    saveButton = new QPushButton(QString::fromStdU16String(std::u16string(kSaveCaption)), this);
    saveButton->setObjectName(QStringLiteral("Command立刻保存"));
    saveButton->setMinimumSize(64, 60);
    saveButton->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Expanding);
    connect(saveButton, &QPushButton::clicked, this, [this] { saveNow(); });
    row->addWidget(saveButton);
    saveTimer = new QTimer(this);
    saveTimer->setObjectName(QStringLiteral("Timer保存颜色显示"));
    saveTimer->setSingleShot(true);
    saveTimer->setInterval(kSaveColourRestoreMs);
    connect(saveTimer, &QTimer::timeout, this, [this] { restoreSaveButton(); });

    relays = new RelayDebugPanel(debugRelays, this);
    row->addWidget(relays);

    monitorButton = new QPushButton(tr("监视"), this);
    monitorButton->setObjectName(QStringLiteral("Command监视"));
    monitorButton->setToolTip(tr("在屏幕上查看当前输出：512个DMX通道按灯具分组、继电器和调光，以及每个灯具的颜色和方向；"
                                 "不接控制器也能预览"));
    monitorButton->setMinimumSize(56, 60);
    monitorButton->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Expanding);
    connect(monitorButton, &QPushButton::clicked, this, [this] {
        if (toggleMonitor)
            toggleMonitor();
    });
    row->addWidget(monitorButton);
    row->addStretch(1);

    developmentButton = new QPushButton(tr("开发模式"), this);
    developmentButton->setObjectName(QStringLiteral("Command开发模式"));
    developmentButton->setMinimumSize(84, 30);
    developmentButton->hide();
    connect(developmentButton, &QPushButton::clicked, this, [this] {
        if (openDevelopmentWindow)
            openDevelopmentWindow();
    });
    row->addWidget(developmentButton);
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
    debugRelays.load();
    colourFunctionButtons();
}

void TitleBar::applyPersonalLook()
{
    if (!scheme.on())
        return;
    applyToForm(this, scheme, {kindList->objectName(), connectButton->objectName(), relays->objectName()});
    if (const QPixmap bg = pictureStartingWith(scheme.folder(), QStringLiteral("P01")); !bg.isNull()) {
        QPalette pal = palette();
        pal.setBrush(QPalette::Window, bg.scaled(QSize(geometry::titleBarWidth, geometry::titleBarHeight),
                                                 Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
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
    const int selected = navigation.selectedButton();
    for (auto [k, b] : functionButtons) {
        setButtonColours(b, k == selected ? on : off, text);
        b->setProperty("selected", k == selected);
        if (personal && scheme.noButtonLineBreaks())
            b->setText(QString::fromStdU16String(withoutLineBreaks(b->text().toStdU16String())));
    }
}

void TitleBar::clickFunctionButton(int k)
{
    navigation.clickFunctionButton(k);
}

void TitleBar::showScenePageMode(ScenePageMode mode)
{
    if (QPushButton* b = functionButton(Navigation::kSceneButton))
        b->setText(tr(sceneCaption(mode)));
}

void TitleBar::saveNow()
{
    setButtonColours(saveButton, saveSaving, 0xFFFFFF);
    saveButton->setText(QString::fromStdU16String(std::u16string(kSavingCaption)));
    // Paint the caption now, before the save holds the event loop; no events run here.
    saveButton->repaint();
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
    buttonLook = look;
    connectButton->setText(translatedCoreText(look.caption));
    setButtonColours(connectButton, look.backColour, connectText);
}

void TitleBar::showHandshakeNotice(const std::u16string& text)
{
    const QString shown = translatedCoreText(text);
    connectButton->setToolTip(shown);
    notice->setToolTip(shown);
    notice->setText(shown.isEmpty() ? QString() : tr("无应答"));
    if (shown.isEmpty())
        return;
    flashesLeft = 6;
    flashTimer->start();
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
        navigation.open(PageId::Upgrade);
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace rz::ui
