#include "ui/effects/BarSettingsPanel.h"

#include "core/effects/EffectEditor.h"
#include "ui/effects/EffectLook.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace rz::ui {

namespace {

constexpr int kMaxRepeat = 36;
constexpr int kDwellChoices[] = {10, 20, 30, 40, 80, 160, 240};

QPushButton* commandButton(QWidget* parent, const QString& name, const QString& caption)
{
    auto* b = new QPushButton(caption, parent);
    b->setObjectName(name);
    b->setAccessibleName(caption);
    b->setMinimumHeight(28);
    return b;
}

} // namespace

BarSettingsPanel::BarSettingsPanel(QWidget* parent) : QGroupBox(parent)
{
    setObjectName(QStringLiteral("Frame小节设置"));
    auto* grid = new QGridLayout(this);
    bassHold = new QCheckBox(QStringLiteral("低音保持"), this);
    bassHold->setObjectName(QStringLiteral("Check低音保持"));
    repeat = new QComboBox(this);
    repeat->setObjectName(QStringLiteral("Combo小节重复次数"));
    repeat->setAccessibleName(QStringLiteral("小节重复次数"));
    repeat->setFocusPolicy(Qt::NoFocus); // list entries only: typed keys never reach it
    for (int i = 0; i <= kMaxRepeat; ++i)
        repeat->addItem(QString::number(i));
    dwell = new QComboBox(this);
    dwell->setObjectName(QStringLiteral("Combo小节停留时间"));
    dwell->setAccessibleName(QStringLiteral("拍子停留时间"));
    dwell->setEditable(true);
    dwell->setInsertPolicy(QComboBox::NoInsert);
    for (int v : kDwellChoices)
        dwell->addItem(QString::number(v));
    seconds = new QLabel(this);
    seconds->setObjectName(QStringLiteral("Label拍子停留时间"));
    grid->addWidget(bassHold, 0, 0, 1, 2);
    grid->addWidget(new QLabel(QStringLiteral("小节重复次数"), this), 1, 0);
    grid->addWidget(repeat, 1, 1);
    grid->addWidget(new QLabel(QStringLiteral("拍子停留时间"), this), 2, 0);
    grid->addWidget(dwell, 2, 1);
    grid->addWidget(seconds, 2, 2);
    auto* copy = commandButton(this, QStringLiteral("Command复制小节"), QStringLiteral("复制小节"));
    auto* paste = commandButton(this, QStringLiteral("Command粘贴小节"), QStringLiteral("粘贴小节"));
    auto* clear = commandButton(this, QStringLiteral("Command清空小节"), QStringLiteral("清空小节"));
    grid->addWidget(copy, 3, 0);
    grid->addWidget(paste, 3, 1);
    grid->addWidget(clear, 3, 2);

    connect(bassHold, &QCheckBox::toggled, this, [this](bool on) {
        if (!refreshing)
            emit bassHoldToggled(on);
    });
    connect(repeat, &QComboBox::activated, this, &BarSettingsPanel::repeatChosen);
    connect(dwell, &QComboBox::currentTextChanged, this, [this](const QString& text) {
        if (!refreshing)
            emit dwellTyped(text);
    });
    connect(copy, &QPushButton::clicked, this, &BarSettingsPanel::copyClicked);
    connect(paste, &QPushButton::clicked, this, &BarSettingsPanel::pasteClicked);
    connect(clear, &QPushButton::clicked, this, &BarSettingsPanel::clearClicked);
}

void BarSettingsPanel::refresh(const effects::EffectEditor& editor)
{
    refreshing = true;
    const effects::BarPosition& pos = editor.position();
    const effects::EffectBar& bar = editor.effect().bars[pos.mode()][pos.barNumber()];
    setTitle(QStringLiteral("%1 [%2]")
                 .arg(pos.mode() == effects::kBassMode ? QStringLiteral("低音小节") : QStringLiteral("无低音小节"))
                 .arg(pos.barNumber()));
    bassHold->setChecked(bar.bassHold != 0);
    repeat->setCurrentIndex(std::min<int>(bar.repeatCount, kMaxRepeat));
    dwell->setEditText(QString::number(bar.beatDwell));
    showDwellRefused(false);
    seconds->setText(QString::fromStdU16String(editor.beatDwellSeconds()));
    refreshing = false;
}

void BarSettingsPanel::showDwellRefused(bool refused)
{
    dwell->setStyleSheet(refused ? QStringLiteral("QComboBox{background-color:%1;}").arg(effectlook::kBadEntry.name())
                                 : QString());
}

void BarSettingsPanel::showDwellSeconds(const QString& text)
{
    seconds->setText(text);
}

} // namespace rz::ui
