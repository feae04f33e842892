#include "ui/scenes/RelayDimmerPanel.h"

#include "ui/fixtures/ControlNames.h"
#include "ui/scenes/ComboValues.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace rz::ui {

namespace {

const QColor kRelayOn(255, 128, 128);
const QColor kRelayOff(128, 128, 128);
constexpr int kDimmerListSize = scenes::kMaxDimmerLevel + 1;

QString fromU16(const std::u16string& s)
{
    return QString::fromStdU16String(s);
}

} // namespace

RelayDimmerPanel::RelayDimmerPanel(QWidget* parent) : QWidget(parent)
{
    mains = new QCheckBox(tr("强电由Dmx512控制"), this);
    mains->setObjectName(QStringLiteral("Check强电由Dmx512控制"));
    connect(mains, &QCheckBox::clicked, this, &RelayDimmerPanel::mainsToggled);

    relayFrame = new QGroupBox(tr("继电器开关"), this);
    relayFrame->setObjectName(QStringLiteral("Frame继电器开关"));
    auto* relayGrid = new QGridLayout(relayFrame);
    relayGrid->setSpacing(3);
    for (int i = 1; i <= kShownRelays; ++i) {
        auto* b = new QPushButton(QString::number(i), relayFrame);
        b->setObjectName(arrayElementName(QStringLiteral("Command继电器通道"), i));
        b->setAccessibleName(tr("继电器 %1").arg(i));
        b->setMinimumWidth(36);
        connect(b, &QPushButton::clicked, this, [this, i] { emit relayClicked(i); });
        auto* note = new QLineEdit(relayFrame);
        note->setObjectName(arrayElementName(QStringLiteral("Text继电器通道备注"), i));
        note->setAccessibleName(tr("继电器 %1 备注").arg(i));
        note->setMaxLength(static_cast<int>(scenes::kMaxNote));
        connect(note, &QLineEdit::textEdited, this, [this, i](const QString& t) { emit relayNoteEdited(i, t); });
        const int row = (i - 1) % 6, col = (i - 1) / 6 * 2;
        relayGrid->addWidget(b, row, col);
        relayGrid->addWidget(note, row, col + 1);
        relays[static_cast<std::size_t>(i)] = b;
        relayNotes[static_cast<std::size_t>(i)] = note;
    }

    dimmingFrame = new QGroupBox(tr("可控硅调光"), this);
    dimmingFrame->setObjectName(QStringLiteral("Frame可控硅调光"));
    auto* dimGrid = new QGridLayout(dimmingFrame);
    dimGrid->setSpacing(3);
    for (int j = 1; j <= kShownDimmers; ++j) {
        auto* box = new QComboBox(dimmingFrame);
        box->setObjectName(arrayElementName(QStringLiteral("Combo可控硅"), j));
        box->setAccessibleName(tr("可控硅 %1").arg(j));
        fillNumberList(box, 0, scenes::kMaxDimmerLevel);
        connect(box, &QComboBox::activated, this, [this, j](int index) {
            if (index < kDimmerListSize)
                emit dimmerChosen(j, index);
        });
        auto* note = new QLineEdit(dimmingFrame);
        note->setObjectName(arrayElementName(QStringLiteral("Text可控硅调光备注"), j));
        note->setAccessibleName(tr("可控硅 %1 备注").arg(j));
        note->setMaxLength(static_cast<int>(scenes::kMaxNote));
        connect(note, &QLineEdit::textEdited, this, [this, j](const QString& t) { emit dimmerNoteEdited(j, t); });
        dimGrid->addWidget(box, j - 1, 0);
        dimGrid->addWidget(note, j - 1, 1);
        dimmers[static_cast<std::size_t>(j)] = box;
        dimmerNotes[static_cast<std::size_t>(j)] = note;
    }

    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->addWidget(mains);
    column->addWidget(relayFrame);
    column->addWidget(dimmingFrame);
    column->addStretch(1);
}

void RelayDimmerPanel::showScene(const scenes::Scene& scene, const scenes::ScenePanels& panels)
{
    mains->setChecked(scene.mainsByDmx != 0);
    relayFrame->setVisible(panels.relays);
    if (panels.dimming)
        dimmingFrame->setVisible(*panels.dimming);
    for (int i = 1; i <= kShownRelays; ++i) {
        const bool on = scene.relays[static_cast<std::size_t>(i)] != 0;
        const QString style = buttonBackgroundStyle(on ? kRelayOn : kRelayOff);
        QPushButton* b = relays[static_cast<std::size_t>(i)];
        if (b->styleSheet() != style)
            b->setStyleSheet(style);
    }
    for (int j = 1; j <= kShownDimmers; ++j)
        showStoredValue(dimmers[static_cast<std::size_t>(j)], scene.dimmers[static_cast<std::size_t>(j)],
                        kDimmerListSize);
}

void RelayDimmerPanel::showNotes(const scenes::SceneTable& table)
{
    for (int i = 1; i <= kShownRelays; ++i)
        relayNotes[static_cast<std::size_t>(i)]->setText(fromU16(table.relayNotes[static_cast<std::size_t>(i)]));
    for (int j = 1; j <= kShownDimmers; ++j)
        dimmerNotes[static_cast<std::size_t>(j)]->setText(fromU16(table.dimmerNotes[static_cast<std::size_t>(j)]));
}

void RelayDimmerPanel::setEditing(bool editing)
{
    relayFrame->setEnabled(editing);
    dimmingFrame->setEnabled(editing);
}

} // namespace rz::ui
