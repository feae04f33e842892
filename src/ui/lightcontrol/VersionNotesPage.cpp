#include "ui/lightcontrol/VersionNotesPage.h"

#include "core/app/Caption.h"
#include "core/app/ReleaseNotes.h"

#include <QLabel>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace rz::ui {

namespace {

QString qs(std::u16string_view text)
{
    return QString::fromStdU16String(std::u16string(text));
}

} // namespace

VersionNotesPage::VersionNotesPage(PageContext& context, QWidget* parent) : Page(context, PageId::VersionNotes, parent)
{
    setObjectName(QStringLiteral("版本说明__Form"));
    auto* title = new QLabel(qs(modelName) + QStringLiteral("  ") + qs(releaseName), this);
    title->setObjectName(QStringLiteral("Label版本"));
    QFont big = title->font();
    big.setPointSize(big.pointSize() + 6);
    big.setBold(true);
    title->setFont(big);

    auto* notes = new QPlainTextEdit(notesText(), this);
    notes->setObjectName(QStringLiteral("Text版本说明"));
    notes->setAccessibleName(QStringLiteral("版本说明"));
    notes->setReadOnly(true);

    auto* back = new QPushButton(QStringLiteral("返回灯控"), this);
    back->setObjectName(QStringLiteral("Command版本说明_返回"));
    back->setMinimumHeight(30);
    connect(back, &QPushButton::clicked, this, [this] { this->context.navigation.open(PageId::LightControl); });

    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(16, 12, 16, 12);
    column->addWidget(title);
    column->addWidget(notes, 1);
    column->addWidget(back, 0, Qt::AlignRight);
}

QString VersionNotesPage::notesText()
{
    QString text;
    for (const ReleaseNote& note : kReleaseNotes) {
        text += qs(note.release) + QStringLiteral("    ") + qs(note.date) + QLatin1Char('\n');
        for (const QString& line : qs(note.changes).split(QLatin1Char('\n')))
            text += QStringLiteral("  · ") + line + QLatin1Char('\n');
        text += QLatin1Char('\n');
    }
    return text.trimmed();
}

PicturePage::PicturePage(PageContext& context, QWidget* parent) : Page(context, PageId::Picture, parent)
{
    setObjectName(QStringLiteral("图片__Form"));
    auto* model = new QLabel(qs(modelName), this);
    model->setObjectName(QStringLiteral("LabelPictureModel"));
    QFont big = model->font();
    big.setPointSize(40);
    big.setBold(true);
    model->setFont(big);
    model->setAlignment(Qt::AlignCenter);
    auto* release = new QLabel(qs(releaseName), this);
    release->setObjectName(QStringLiteral("LabelPictureRelease"));
    release->setAlignment(Qt::AlignCenter);
    auto* column = new QVBoxLayout(this);
    column->addStretch(1);
    column->addWidget(model);
    column->addWidget(release);
    column->addStretch(1);
}

void PicturePage::opened()
{
    // The same product picture the start-up page shows when one is installed.
    const auto file = context.dataRoot / "AppSet" / "Sys_config" / "PicAll" / "P03";
    QPixmap loaded;
    if (loaded.load(QString::fromStdU16String(file.u16string())))
        picture = loaded;
    for (QLabel* label : findChildren<QLabel*>())
        label->setVisible(picture.isNull());
    update();
}

void PicturePage::paintEvent(QPaintEvent* event)
{
    Page::paintEvent(event);
    if (picture.isNull())
        return;
    QPainter painter(this);
    const QPixmap scaled = picture.scaled(size(), Qt::KeepAspectRatio, Qt::SmoothTransformation);
    painter.drawPixmap((width() - scaled.width()) / 2, (height() - scaled.height()) / 2, scaled);
}

} // namespace rz::ui
