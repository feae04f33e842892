#include "ui/effects/BeatGridPanel.h"

#include "core/effects/EffectEditor.h"
#include "ui/effects/EffectLook.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

namespace rz::ui {

using effectlook::ColourButton;
using effects::SlotFlag;

namespace {

constexpr int kMaxLinkRepeat = 30;
constexpr int kGroupSize = 4;
const SlotFlag kFlags[3] = {SlotFlag::noBassBeats, SlotFlag::bassBeats, SlotFlag::allBeats};
const char16_t* const kFlagControls[3] = {u"Command素材_无低音拍", u"Command素材_低音拍", u"Command素材_所有拍"};
const char16_t* const kFlagCaptions[3] = {u"无低音拍", u"低音拍", u"所有拍"};

ColourButton* gridButton(QWidget* parent, const QString& name, const QString& caption)
{
    auto* b = new ColourButton(name, caption, parent);
    b->setMinimumSize(34, 24);
    b->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    b->setFocusPolicy(Qt::NoFocus);
    return b;
}

} // namespace

BeatGridPanel::BeatGridPanel(QWidget* parent) : QWidget(parent)
{
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    auto* grid = new QGridLayout;
    grid->setSpacing(2);
    outer->addLayout(grid, 1);

    // Row 0: the beat buttons above the cells and the flag captions above the flags.
    for (int t = 1; t <= kBeats; ++t) {
        auto* b = gridButton(this, arrayElementName(QStringLiteral("Command拍演示"), t), QStringLiteral("%1拍").arg(t));
        b->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
        beats[t] = b;
        grid->addWidget(b, 0, t);
        connect(b, &QPushButton::clicked, this, [this, t] { emit beatClicked(t); });
    }
    for (int f = 0; f < 3; ++f)
        grid->addWidget(new QLabel(QString::fromStdU16String(kFlagCaptions[f]), this), 0, kBeats + 1 + f,
                        Qt::AlignCenter);
    for (int s = 1; s <= kRows; ++s) {
        rowLabels[s] = new QLabel(QStringLiteral("素材%1").arg(s), this);
        grid->addWidget(rowLabels[s], s, 0);
        for (int t = 1; t <= kBeats; ++t) {
            const int index = (s - 1) * kBeats + t;
            auto* c = gridButton(this, arrayElementName(QStringLiteral("Command素材_当前拍"), index), QString());
            c->setAccessibleName(QStringLiteral("素材%1 第%2拍").arg(s).arg(t));
            cells[index] = c;
            grid->addWidget(c, s, t);
            connect(c, &QPushButton::clicked, this, [this, s, t] { emit cellClicked(s, t); });
        }
        for (int f = 0; f < 3; ++f) {
            auto* b = gridButton(this, arrayElementName(QString::fromStdU16String(kFlagControls[f]), s), QString());
            b->setAccessibleName(QStringLiteral("素材%1 %2").arg(s).arg(QString::fromStdU16String(kFlagCaptions[f])));
            // Narrow flags: hidden beats give their room to the shown beats.
            b->setMinimumWidth(60);
            b->setMaximumWidth(72);
            flags[f][s] = b;
            grid->addWidget(b, s, kBeats + 1 + f);
            const SlotFlag flag = kFlags[f];
            connect(b, &QPushButton::clicked, this, [this, flag, s] { emit flagClicked(flag, s); });
        }
    }
    // The link overlays stand where the hidden rows 2-4, 6-8, 10-12 were.
    for (int g = 0; g < 3; ++g) {
        const int first = g * kGroupSize + 1;
        auto* o = new QPushButton(QStringLiteral("4素材关联：素材%1-%2 只输出第一个有步的素材").arg(first).arg(first + 3), this);
        o->setObjectName(arrayElementName(QStringLiteral("Command素材关联提示"), first));
        o->setAccessibleName(o->text());
        o->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
        o->hide();
        linkOverlays[g] = o;
        grid->addWidget(o, first + 1, 0, 3, kBeats + 4);
        connect(o, &QPushButton::clicked, this, [this, first] { emit linkedGroupClicked(first); });
    }
    noBarsPrompt = new QFrame(this);
    noBarsPrompt->setObjectName(QStringLiteral("Frame提示未设置小节数"));
    noBarsPrompt->setFrameShape(QFrame::Box);
    noBarsPrompt->setAutoFillBackground(true);
    auto* promptLayout = new QVBoxLayout(noBarsPrompt);
    auto* promptText = new QLabel(QString::fromStdU16String(std::u16string(effects::kNoBarsPrompt)), noBarsPrompt);
    promptText->setAlignment(Qt::AlignCenter);
    QFont big = promptText->font();
    big.setPointSize(big.pointSize() + 8);
    promptText->setFont(big);
    promptLayout->addWidget(promptText);
    grid->addWidget(noBarsPrompt, 1, 0, kRows, kBeats + 4);
    noBarsPrompt->hide();

    auto* controls = new QHBoxLayout;
    nextBeat = new QPushButton(QStringLiteral("下一拍"), this);
    nextBeat->setObjectName(QStringLiteral("Command下一拍"));
    nextBeat->setMinimumHeight(30);
    link = new QCheckBox(QStringLiteral("4素材关联"), this);
    link->setObjectName(QStringLiteral("Check4素材关联"));
    linkRepeatLabel = new QLabel(QStringLiteral("单素材重复"), this);
    linkRepeat = new QComboBox(this);
    linkRepeat->setObjectName(QStringLiteral("Combo素材关联重复次数"));
    linkRepeat->setAccessibleName(QStringLiteral("单素材重复"));
    linkRepeat->setFocusPolicy(Qt::NoFocus); // list entries only: typed keys never reach it
    for (int i = 0; i <= kMaxLinkRepeat; ++i)
        linkRepeat->addItem(QString::number(i));
    controls->addWidget(nextBeat);
    controls->addStretch(1);
    controls->addWidget(link);
    controls->addWidget(linkRepeatLabel);
    controls->addWidget(linkRepeat);
    outer->addLayout(controls);
    connect(nextBeat, &QPushButton::clicked, this, &BeatGridPanel::nextBeatClicked);
    connect(link, &QCheckBox::toggled, this, [this](bool on) {
        if (!refreshing)
            emit linkToggled(on);
    });
    connect(linkRepeat, &QComboBox::activated, this, &BeatGridPanel::linkRepeatChosen);
}

void BeatGridPanel::refreshCells(const effects::EffectEditor& editor)
{
    for (int s = 1; s <= kRows; ++s)
        for (int t = 1; t <= kBeats; ++t)
            cells[(s - 1) * kBeats + t]->setColour(editor.cell(s, t) ? colours.flagSet : colours.flagClear);
}

void BeatGridPanel::refreshFlags(const effects::EffectEditor& editor)
{
    for (int f = 0; f < 3; ++f)
        for (int s = 1; s <= kRows; ++s)
            flags[f][s]->setColour(editor.slotFlag(kFlags[f], s) ? colours.flagSet : colours.flagClear);
}

void BeatGridPanel::refreshBeats(const effects::EffectEditor& editor)
{
    const int count = editor.currentBeatCount();
    const int current = editor.position().beat;
    for (int t = 1; t <= kBeats; ++t) {
        beats[t]->setVisible(t <= count);
        beats[t]->setColour(t == current ? colours.beatCurrent : colours.beatOther);
    }
}

void BeatGridPanel::refreshLayout(const effects::EffectEditor& editor)
{
    refreshing = true;
    const int count = editor.currentBeatCount();
    for (int s = 1; s <= kRows; ++s) {
        const bool row = editor.slotRowVisible(s);
        rowLabels[s]->setVisible(row);
        for (int t = 1; t <= kBeats; ++t)
            cells[(s - 1) * kBeats + t]->setVisible(row && t <= count);
        for (int f = 0; f < 3; ++f)
            flags[f][s]->setVisible(row);
    }
    const bool linked = editor.linkOn();
    for (QPushButton* o : linkOverlays)
        o->setVisible(linked);
    link->setChecked(linked);
    linkRepeat->setVisible(linked);
    linkRepeatLabel->setVisible(linked);
    const effects::Effect& e = editor.effect();
    linkRepeat->setCurrentIndex(std::min<int>(e.modules[editor.currentModule()].linkRepeatCount, kMaxLinkRepeat));
    noBarsPrompt->setVisible(!effects::hasContent(e));
    noBarsPrompt->raise();
    refreshing = false;
}

void BeatGridPanel::refreshAll(const effects::EffectEditor& editor)
{
    refreshLayout(editor);
    refreshCells(editor);
    refreshFlags(editor);
    refreshBeats(editor);
}

} // namespace rz::ui
