#include "ui/effects/EffectBarStrip.h"

#include "core/effects/EffectEditor.h"
#include "ui/effects/EffectLook.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QLabel>

namespace rz::ui {

using effectlook::ColourButton;

namespace {

QComboBox* countBox(QWidget* parent, const QString& name, int max)
{
    auto* box = new QComboBox(parent);
    box->setObjectName(name);
    box->setAccessibleName(name);
    box->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    box->setFocusPolicy(Qt::NoFocus); // list entries only: typed keys never reach it
    box->setMinimumWidth(60);
    for (int i = 0; i <= max; ++i)
        box->addItem(QString::number(i));
    return box;
}

} // namespace

EffectBarStrip::EffectBarStrip(QWidget* parent) : QWidget(parent)
{
    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setHorizontalSpacing(3);
    grid->setVerticalSpacing(3);
    grid->addWidget(new QLabel(QStringLiteral("无低音小节"), this), 0, 0);
    grid->addWidget(new QLabel(QStringLiteral("低音小节"), this), 1, 0);
    for (int i = 1; i <= effects::kBarIndexes; ++i) {
        const int number = i > effects::kMaxBars ? i - effects::kMaxBars : i;
        auto* b = new ColourButton(arrayElementName(QStringLiteral("Command小节"), i), QString::number(number), this);
        // Fixed widths: showing more bars must not move the other controls.
        b->setFixedSize(40, 26);
        bars[i] = b;
        grid->addWidget(b, i > effects::kMaxBars ? 1 : 0, number);
        connect(b, &QPushButton::clicked, this, [this, i] { emit barClicked(i); });
    }
    const QString modeName[2] = {QStringLiteral("无低音"), QStringLiteral("低音")};
    for (int k = 0; k < 2; ++k) {
        auto* label = new QLabel(modeName[k] + QStringLiteral("小节数/拍数"), this);
        barCounts[k] = countBox(this, arrayElementName(QStringLiteral("Combo小节数"), k), effects::kMaxBars);
        beatCounts[k] = countBox(this, arrayElementName(QStringLiteral("Combo拍数"), k), effects::kMaxBeats);
        grid->addWidget(label, k, 17, Qt::AlignRight);
        grid->addWidget(barCounts[k], k, 18);
        grid->addWidget(beatCounts[k], k, 19);
        if (k == 1)
            bassLabels[1] = label;
        connect(barCounts[k], &QComboBox::activated, this, [this, k](int i) { emit barCountChosen(k, i); });
        connect(beatCounts[k], &QComboBox::activated, this, [this, k](int i) { emit beatCountChosen(k, i); });
    }
    grid->setColumnStretch(17, 1);
    independentBass = new QCheckBox(QStringLiteral("开启独立低音"), this);
    independentBass->setObjectName(QStringLiteral("Check开启独立低音"));
    grid->addWidget(independentBass, 0, 20);
    connect(independentBass, &QCheckBox::toggled, this, [this](bool on) {
        if (!refreshing)
            emit independentBassToggled(on);
    });
}

void EffectBarStrip::refresh(const effects::EffectEditor& editor)
{
    refreshing = true;
    const effects::Effect& e = editor.effect();
    const int current = editor.position().barIndex;
    for (int i = 1; i <= effects::kBarIndexes; ++i) {
        bars[i]->setVisible(editor.barVisible(i));
        bars[i]->setColour(i == current ? colours.barCurrent : colours.barOther);
    }
    const bool bass = e.independentBass != 0;
    for (int k = 0; k < 2; ++k) {
        barCounts[k]->setCurrentIndex(std::min<int>(e.barCount[k], effects::kMaxBars));
        beatCounts[k]->setCurrentIndex(std::min<int>(e.beatCount[k], effects::kMaxBeats));
    }
    barCounts[1]->setVisible(bass);
    beatCounts[1]->setVisible(bass);
    bassLabels[1]->setVisible(bass);
    independentBass->setChecked(bass);
    refreshing = false;
}

} // namespace rz::ui
