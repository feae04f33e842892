#include "ui/shell/SplashPage.h"

#include "core/app/Caption.h"
#include "ui/shell/ShellGeometry.h"

#include <QLabel>
#include <QPainter>
#include <QPushButton>

namespace rz::ui {

SplashPage::SplashPage(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("A03___Form__开机画面"));
    resize(geometry::visiblePageWidth, geometry::visiblePageHeight);

    auto* model = new QLabel(QString::fromStdU16String(std::u16string(modelName)), this);
    model->setObjectName(QStringLiteral("LabelModel"));
    QFont big = model->font();
    big.setPointSize(48);
    big.setBold(true);
    model->setFont(big);
    model->setAlignment(Qt::AlignCenter);
    model->setGeometry(0, geometry::visiblePageHeight / 2 - 90, geometry::visiblePageWidth, 100);

    auto* release = new QLabel(QString::fromStdU16String(std::u16string(releaseName)), this);
    release->setObjectName(QStringLiteral("LabelRelease"));
    QFont medium = release->font();
    medium.setPointSize(18);
    release->setFont(medium);
    release->setAlignment(Qt::AlignCenter);
    release->setGeometry(0, geometry::visiblePageHeight / 2 + 20, geometry::visiblePageWidth, 40);

    auto* command1 = new QPushButton(this);
    command1->setObjectName(QStringLiteral("Command1"));
    command1->setFlat(true);
    command1->setGeometry(geometry::visiblePageWidth - 40, geometry::visiblePageHeight - 40, 30, 30);
    connect(command1, &QPushButton::clicked, this, &SplashPage::command1Clicked);
}

void SplashPage::loadPersonalPicture(const std::filesystem::path& dataRoot)
{
    const auto file = dataRoot / "AppSet" / "Sys_config" / "PicAll" / "P03";
    QPixmap loaded;
    if (loaded.load(QString::fromStdU16String(file.u16string()))) {
        picture = loaded;
        update();
    }
}

void SplashPage::paintEvent(QPaintEvent* event)
{
    QWidget::paintEvent(event);
    if (picture.isNull())
        return;
    QPainter painter(this);
    painter.drawPixmap(0, 0, picture);
}

} // namespace rz::ui
