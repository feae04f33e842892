#include "ui/materials/VirtualFixtureStrip.h"

#include "ui/fixtures/ControlNames.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QMouseEvent>
#include <QPushButton>

namespace rz::ui {

namespace {

const QColor kFocusColour(255, 128, 128);
const QColor kLinkedColour(0, 192, 192);
const QColor kNormalColour(192, 192, 192);

} // namespace

VirtualFixtureStrip::VirtualFixtureStrip(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("Frame虚拟灯具"));
    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setSpacing(3);
    for (int i = 1; i <= kFixtures; ++i) {
        auto* b = new QPushButton(QString::number(i), this);
        b->setObjectName(arrayElementName(QStringLiteral("Command虚拟灯具"), i));
        b->setAccessibleName(tr("虚拟灯具%1").arg(i));
        b->setMinimumSize(40, 28);
        b->setStyleSheet(buttonBackgroundStyle(kNormalColour));
        b->installEventFilter(this);
        connect(b, &QPushButton::clicked, this, [this, i] { emit fixtureClicked(i); });
        grid->addWidget(b, 0, i - 1);
        buttons[i] = b;
    }
    auto addCommand = [this, grid](const char* name, const QString& caption, int column) {
        auto* b = new QPushButton(caption, this);
        b->setObjectName(QString::fromUtf8(name));
        b->setAccessibleName(caption);
        b->setMinimumHeight(28);
        grid->addWidget(b, 1, column, 1, 2);
        return b;
    };
    connect(addCommand("Command全选", tr("全选"), 0), &QPushButton::clicked, this, &VirtualFixtureStrip::allClicked);
    connect(addCommand("Command单数", tr("单数"), 2), &QPushButton::clicked, this, &VirtualFixtureStrip::oddClicked);
    connect(addCommand("Command双数", tr("双数"), 4), &QPushButton::clicked, this, &VirtualFixtureStrip::evenClicked);
    allChannels = new QCheckBox(tr("所有通道联动"), this);
    allChannels->setObjectName(QStringLiteral("Check所有通道联动"));
    allChannels->setAccessibleName(tr("所有通道联动"));
    grid->addWidget(allChannels, 1, 6, 1, 4);
    connect(allChannels, &QCheckBox::toggled, this, &VirtualFixtureStrip::allChannelsLinkToggled);
}

void VirtualFixtureStrip::showFixtures(int fixtureCount, int focus, const std::bitset<kFixtures + 1>& linked)
{
    for (int i = 1; i <= kFixtures; ++i) {
        QPushButton* b = buttons[i];
        // Hidden buttons keep their place so the strip does not jump when the count changes.
        QSizePolicy keep = b->sizePolicy();
        keep.setRetainSizeWhenHidden(true);
        b->setSizePolicy(keep);
        b->setVisible(i <= fixtureCount);
        const QColor& colour = i == focus ? kFocusColour : linked.test(static_cast<std::size_t>(i)) ? kLinkedColour
                                                                                                      : kNormalColour;
        b->setStyleSheet(buttonBackgroundStyle(colour));
    }
}

void VirtualFixtureStrip::setAllChannelsLinked(bool on)
{
    allChannels->setChecked(on);
}

bool VirtualFixtureStrip::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::MouseButtonRelease &&
        static_cast<QMouseEvent*>(event)->button() == Qt::RightButton) {
        for (int i = 1; i <= kFixtures; ++i)
            if (buttons[i] == watched) {
                emit fixtureRightClicked(i);
                return true;
            }
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace rz::ui
