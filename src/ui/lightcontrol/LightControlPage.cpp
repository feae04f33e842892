#include "ui/lightcontrol/LightControlPage.h"

#include "core/lightcontrol/LightControlSettings.h"
#include "core/show/Show.h"
#include "core/show/ShowCommands.h"
#include "ui/lightcontrol/IrKeyPanel.h"
#include "ui/lightcontrol/LightControlSettingsPanel.h"

#include <QGridLayout>
#include <QPushButton>
#include <QVBoxLayout>

namespace rz::ui {

namespace {

QPushButton* makeButton(QWidget* parent, const QString& name, const QString& caption)
{
    auto* b = new QPushButton(caption, parent);
    b->setObjectName(name);
    b->setMinimumHeight(30);
    return b;
}

} // namespace

LightControlPage::LightControlPage(PageContext& context, QWidget* parent)
    : Page(context, PageId::LightControl, parent)
{
    setObjectName(QStringLiteral("J01__灯控__Form"));
    settingsPanel = new LightControlSettingsPanel(context.show, this);
    irPanel = new IrKeyPanel(context, this);

    auto* commands = new QVBoxLayout;
    auto* open = makeButton(this, QStringLiteral("Command打开文件"), QStringLiteral("打开文件"));
    auto* saveAs = makeButton(this, QStringLiteral("Command文件另存为"), QStringLiteral("文件另存为"));
    auto* create = makeButton(this, QStringLiteral("Command建立新文件"), QStringLiteral("建立新文件"));
    auto* notes = makeButton(this, QStringLiteral("Command版本说明"), QStringLiteral("版本说明"));
    auto* airCon = makeButton(this, QStringLiteral("Command进入红外空调界面"), QStringLiteral("红外空调学习界面"));
    for (QPushButton* b : {open, saveAs, create, notes, airCon})
        commands->addWidget(b);
    commands->addStretch(1);
    connect(open, &QPushButton::clicked, this, [this] { runFileCommand(&show::openShow); });
    connect(saveAs, &QPushButton::clicked, this, [this] { runFileCommand(&show::saveShowAs); });
    connect(create, &QPushButton::clicked, this, [this] { runFileCommand(&show::newShow); });
    connect(notes, &QPushButton::clicked, this, [this] { this->context.navigation.open(PageId::VersionNotes); });
    connect(airCon, &QPushButton::clicked, this, &LightControlPage::enterAirConditioner);

    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(8, 8, 8, 8);
    grid->setSpacing(8);
    grid->addWidget(settingsPanel, 0, 0, 1, 2);
    grid->addWidget(irPanel, 1, 0);
    grid->addLayout(commands, 1, 1);
    grid->setRowStretch(2, 1);
    grid->setColumnStretch(0, 1);

    // Open and new read a whole show: every control shows it.
    showReplaced = context.show.replaced.subscribe([this] { refreshAll(); });
}

LightControlPage::~LightControlPage() = default;

void LightControlPage::opened()
{
    refreshAll();
}

QStringList LightControlPage::ownColouredControls() const
{
    QStringList names;
    for (int k = 1; k <= lightcontrol::kEditableIrKeys; ++k)
        names << QStringLiteral("Label效果器红外(%1)").arg(k) << QStringLiteral("Text效果器红外(%1)").arg(k);
    return names;
}

void LightControlPage::refreshAll()
{
    settingsPanel->refresh();
    irPanel->refresh();
}

void LightControlPage::runFileCommand(bool (*command)(show::ShowFile&))
{
    // The commands wait inside; a second click meanwhile must not start another.
    if (fileCommandRunning)
        return;
    fileCommandRunning = true;
    setEnabled(false);
    command(context.showFile);
    setEnabled(true);
    fileCommandRunning = false;
    refreshAll();
}

void LightControlPage::enterAirConditioner()
{
    context.navigation.setLightButtonOpensAirConditioner(true);
    context.navigation.open(PageId::AirConditioner);
}

} // namespace rz::ui
