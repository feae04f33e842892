#include "ui/materials/TempChannelPanel.h"

#include "ui/fixtures/ControlNames.h"

#include <QGridLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace rz::ui {

namespace {

const QColor kListedColour(255, 192, 128);
const QColor kNormalColour(192, 192, 192);
constexpr int kColumns = 8;

} // namespace

TempChannelPanel::TempChannelPanel(const fixtures::ChannelDefinitions& names, QWidget* parent)
    : QFrame(parent), names(names)
{
    setObjectName(QStringLiteral("Frame临时通道"));
    setFrameShape(QFrame::StyledPanel);
    setAutoFillBackground(true);
    auto* column = new QVBoxLayout(this);
    auto* top = new QHBoxLayout;
    top->addWidget(new QLabel(tr("临时通道"), this), 1);
    auto* next = new QPushButton(tr("下一页"), this);
    next->setObjectName(QStringLiteral("Command临时通道下一页"));
    next->setAccessibleName(tr("临时通道下一页"));
    top->addWidget(next);
    auto* hide = new QPushButton(tr("隐藏"), this);
    hide->setObjectName(QStringLiteral("Command隐藏临时通道"));
    hide->setAccessibleName(tr("隐藏临时通道"));
    top->addWidget(hide);
    column->addLayout(top);
    grid = new QGridLayout;
    grid->setSpacing(3);
    column->addLayout(grid);
    column->addStretch(1);
    for (int code = 1; code < fixtures::kChannelCodeCount; ++code) {
        auto* b = new QPushButton(this);
        b->setObjectName(arrayElementName(QStringLiteral("Command临时通道"), code));
        b->setMinimumHeight(24);
        connect(b, &QPushButton::clicked, this, [this, code] { emit codeClicked(code); });
        buttons.emplace_back(code, b);
    }
    connect(next, &QPushButton::clicked, this, [this] { showPage(page + 1); });
    connect(hide, &QPushButton::clicked, this, &QWidget::hide);
    applyChannelNames();
}

QListWidget* TempChannelPanel::makeList(QWidget* listParent)
{
    list = new QListWidget(listParent);
    list->setObjectName(QStringLiteral("List临时通道"));
    list->setAccessibleName(tr("临时通道"));
    connect(list, &QListWidget::itemClicked, this, [this] {
        setVisible(isHidden());
        if (isVisible())
            raise();
    });
    return list;
}

void TempChannelPanel::applyChannelNames()
{
    for (auto& [code, b] : buttons) {
        const QString name = QString::fromStdU16String(names.name(code));
        b->setText(name);
        b->setAccessibleName(name);
    }
    showPage(0);
}

void TempChannelPanel::showPage(int p)
{
    // Only codes that have a name get a place; the pages wrap round.
    std::vector<QPushButton*> named;
    for (auto& [code, b] : buttons) {
        grid->removeWidget(b);
        b->hide();
        if (!b->text().isEmpty())
            named.push_back(b);
    }
    const int pages = std::max<int>(1, (static_cast<int>(named.size()) + kButtonsPerPage - 1) / kButtonsPerPage);
    page = p % pages;
    for (int i = 0; i < kButtonsPerPage; ++i) {
        const std::size_t at = static_cast<std::size_t>(page * kButtonsPerPage + i);
        if (at >= named.size())
            break;
        grid->addWidget(named[at], i / kColumns, i % kColumns);
        named[at]->show();
    }
}

void TempChannelPanel::showMaterial(const materials::Material& m)
{
    for (auto& [code, b] : buttons) {
        bool listed = false;
        for (int e = 1; e <= materials::kTempChannelEntries; ++e)
            listed = listed || m.tempChannels[static_cast<std::size_t>(e)] == code;
        b->setStyleSheet(buttonBackgroundStyle(listed ? kListedColour : kNormalColour));
    }
    if (!list)
        return;
    list->clear();
    for (int e = 1; e <= materials::kTempChannelEntries; ++e) {
        const int code = m.tempChannels[static_cast<std::size_t>(e)];
        if (code != 0)
            list->addItem(QStringLiteral("%1 - %2").arg(QString::fromStdU16String(names.name(code))).arg(code));
    }
}

} // namespace rz::ui
