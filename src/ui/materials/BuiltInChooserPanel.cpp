#include "ui/materials/BuiltInChooserPanel.h"

#include "ui/fixtures/ControlNames.h"

#include <QGridLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace rz::ui {

namespace {

const QColor kChosenColour(255, 128, 128);
const QColor kNormalColour(192, 192, 192);
constexpr int kEntryColumns = 5;

} // namespace

BuiltInChooserPanel::BuiltInChooserPanel(QWidget* parent) : QFrame(parent)
{
    setObjectName(QStringLiteral("Frame选择内置素材"));
    setFrameShape(QFrame::StyledPanel);
    setAutoFillBackground(true);
    auto* column = new QVBoxLayout(this);
    auto* top = new QHBoxLayout;
    kindLabel = new QLabel(this);
    kindLabel->setObjectName(QStringLiteral("Label内置素材类型"));
    top->addWidget(kindLabel);
    auto* hint = new QLabel(QString::fromStdU16String(std::u16string(materials::kBuiltInHint)), this);
    hint->setObjectName(QStringLiteral("Label内置素材提示"));
    top->addWidget(hint, 1);
    auto* hide = new QPushButton(tr("隐藏"), this);
    hide->setObjectName(QStringLiteral("Command隐藏内置素材"));
    hide->setAccessibleName(tr("隐藏内置素材"));
    top->addWidget(hide);
    column->addLayout(top);

    auto* categories = new QHBoxLayout;
    for (int c = 1; c <= materials::kBuiltInCategories; ++c) {
        const QString caption = QString::fromStdU16String(std::u16string(materials::kBuiltInCategoryNames[c]));
        auto* b = new QPushButton(caption, this);
        b->setObjectName(arrayElementName(QStringLiteral("Command内置素材类型"), c));
        b->setAccessibleName(caption);
        connect(b, &QPushButton::clicked, this, [this, c] { emit categoryClicked(c); });
        categories->addWidget(b);
        categoryButtons[c] = b;
    }
    column->addLayout(categories);

    auto* body = new QHBoxLayout;
    auto* grid = new QGridLayout;
    grid->setSpacing(3);
    for (int i = 1; i <= materials::kBuiltInListSize; ++i) {
        auto* b = new QPushButton(this);
        b->setObjectName(arrayElementName(QStringLiteral("Label内置素材_ID"), i));
        b->installEventFilter(this);
        QSizePolicy keep = b->sizePolicy();
        keep.setRetainSizeWhenHidden(true);
        b->setSizePolicy(keep);
        connect(b, &QPushButton::clicked, this, [this, i] { emit entryClicked(i); });
        grid->addWidget(b, (i - 1) / kEntryColumns, (i - 1) % kEntryColumns);
        entryButtons[i] = b;
    }
    body->addLayout(grid, 3);
    description = new QPlainTextEdit(this);
    description->setObjectName(QStringLiteral("Text查看说明"));
    description->setAccessibleName(tr("查看说明"));
    description->setReadOnly(true);
    description->viewport()->installEventFilter(this);
    description->hide();
    body->addWidget(description, 1);
    column->addLayout(body, 1);
    connect(hide, &QPushButton::clicked, this, &QWidget::hide);
}

void BuiltInChooserPanel::showList(const QString& kind, const materials::BuiltInMaterials& builtIns)
{
    shownKind = kind;
    kindLabel->setText(kind);
    for (int c = 1; c <= materials::kBuiltInCategories; ++c)
        categoryButtons[c]->setStyleSheet(
            buttonBackgroundStyle(c == builtIns.category() ? kChosenColour : kNormalColour));
    const auto& entries = builtIns.entries();
    for (int i = 1; i <= materials::kBuiltInListSize; ++i) {
        QPushButton* b = entryButtons[i];
        const bool listed = i <= static_cast<int>(entries.size());
        b->setVisible(listed);
        if (listed) {
            b->setText(QString::fromStdU16String(entries[static_cast<std::size_t>(i - 1)].caption));
            b->setAccessibleName(b->text());
        }
    }
    description->hide();
}

void BuiltInChooserPanel::showDescription(const QString& text)
{
    description->setPlainText(text);
    description->show();
}

bool BuiltInChooserPanel::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == description->viewport() && event->type() == QEvent::MouseButtonPress) {
        description->hide(); // a click on the description hides it
        return true;
    }
    if (event->type() == QEvent::MouseButtonRelease &&
        static_cast<QMouseEvent*>(event)->button() == Qt::RightButton) {
        for (int i = 1; i <= materials::kBuiltInListSize; ++i)
            if (entryButtons[i] == watched) {
                emit entryRightClicked(i);
                return true;
            }
    }
    return QFrame::eventFilter(watched, event);
}

} // namespace rz::ui
