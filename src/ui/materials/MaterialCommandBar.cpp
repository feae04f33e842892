#include "ui/materials/MaterialCommandBar.h"

#include <QHBoxLayout>
#include <QPushButton>

namespace rz::ui {

MaterialCommandBar::MaterialCommandBar(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("Frame素材操作"));
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    struct Item {
        const char* name;
        QString caption;
        Command command;
    };
    const Item items[] = {
        {"Command导出素材", tr("素材另存"), Command::saveAs},
        {"Command导入素材", tr("导入素材"), Command::import},
        {"Command复制素材", tr("复制素材"), Command::copy},
        {"Command粘贴素材", tr("粘贴素材"), Command::paste},
        {"Command删除素材", tr("删除"), Command::remove},
        {"Command选择标准素材", tr("标准素材"), Command::standardBuiltIns},
        {"Command个性素材", tr("个性素材"), Command::personalBuiltIns},
        {"Command素材演示", tr("演示"), Command::demo},
        {"Command跳步", tr("跳步"), Command::jump},
        {"Command跑马工具", tr("跑马工具"), Command::chaseTool},
    };
    for (const Item& item : items) {
        auto* b = new QPushButton(item.caption, this);
        b->setObjectName(QString::fromUtf8(item.name));
        b->setAccessibleName(item.caption);
        b->setMinimumHeight(28);
        connect(b, &QPushButton::clicked, this, [this, c = item.command] { emit commandClicked(c); });
        row->addWidget(b);
    }
    row->addStretch(1);
}

} // namespace rz::ui
