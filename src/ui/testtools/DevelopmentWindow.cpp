#include "ui/testtools/DevelopmentWindow.h"

#include "core/link/ConnectionManager.h"
#include "core/link/Link.h"
#include "core/testtools/DevelopmentCommands.h"
#include "core/testtools/TestPanel.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QIntValidator>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextCursor>
#include <QTimer>
#include <QVBoxLayout>

namespace rz::ui {

namespace {

constexpr int kDefaultPauseMs = 200;

QPushButton* makeButton(const QString& caption, const QString& name, QWidget* parent)
{
    auto* b = new QPushButton(caption, parent);
    b->setObjectName(name);
    b->setAccessibleName(caption);
    return b;
}

QLineEdit* makeLine(const QString& text, const QString& name, const QString& accessible, QWidget* parent)
{
    auto* e = new QLineEdit(text, parent);
    e->setObjectName(name);
    e->setAccessibleName(accessible);
    return e;
}

} // namespace

DevelopmentWindow::DevelopmentWindow(link::Link& link, link::ConnectionManager& connection, QWidget* parent)
    : QWidget(parent, Qt::Window), link(link), connection(connection)
{
    setObjectName(QStringLiteral("U02__Form__开发模式"));
    setWindowTitle(tr("开发模式"));
    resize(900, 600);

    commandList = new QListWidget(this);
    commandList->setObjectName(QStringLiteral("List指令列表"));
    commandList->setAccessibleName(tr("指令列表"));
    for (const std::u16string& entry : testtools::developmentCommandList())
        commandList->addItem(QString::fromStdU16String(entry));
    commandList->setMinimumWidth(280);

    directText = makeLine({}, QStringLiteral("Text直接发送数据"), tr("直接发送数据"), this);
    QPushButton* directButton = makeButton(tr("发送"), QStringLiteral("Command直接发送数据"), this);
    commandText = makeLine(QStringLiteral("CE"), QStringLiteral("Text模拟指令"), tr("模拟指令"), this);
    commandText->setMaximumWidth(60);
    dataText = makeLine({}, QStringLiteral("Text模拟数据"), tr("模拟数据"), this);
    QPushButton* builtButton = makeButton(tr("模拟发送指令"), QStringLiteral("Command模拟发送指令"), this);

    received = new QPlainTextEdit(this);
    received->setObjectName(QStringLiteral("Text接收信息"));
    received->setAccessibleName(tr("接收信息"));
    received->setReadOnly(true);
    QFont mono(QStringLiteral("Monospace"));
    mono.setStyleHint(QFont::TypeWriter);
    received->setFont(mono);
    QPushButton* clearButton = makeButton(tr("清除"), QStringLiteral("Command清除"), this);
    pause = new QCheckBox(tr("暂停接收"), this);
    pause->setObjectName(QStringLiteral("Check暂停接收"));
    pause->setAccessibleName(pause->text());
    lineBreakMs = new QComboBox(this);
    lineBreakMs->setObjectName(QStringLiteral("Combo换行时间"));
    lineBreakMs->setAccessibleName(tr("换行时间"));
    lineBreakMs->setEditable(true);
    lineBreakMs->addItems({QStringLiteral("50"), QStringLiteral("100"), QStringLiteral("200"), QStringLiteral("500"),
                           QStringLiteral("1000")});
    lineBreakMs->setCurrentText(QString::number(kDefaultPauseMs));
    lineBreakMs->setValidator(new QIntValidator(1, 60000, lineBreakMs));

    receiveGap = new QTimer(this);
    receiveGap->setObjectName(QStringLiteral("Timer接收间隔"));
    receiveGap->setSingleShot(true);
    connect(receiveGap, &QTimer::timeout, this, [this] { appendInformation({}, true); });

    auto* sendGrid = new QGridLayout;
    sendGrid->addWidget(new QLabel(tr("直接发送"), this), 0, 0);
    sendGrid->addWidget(directText, 0, 1, 1, 3);
    sendGrid->addWidget(directButton, 0, 4);
    sendGrid->addWidget(new QLabel(tr("指令"), this), 1, 0);
    sendGrid->addWidget(commandText, 1, 1);
    sendGrid->addWidget(new QLabel(tr("数据"), this), 1, 2);
    sendGrid->addWidget(dataText, 1, 3);
    sendGrid->addWidget(builtButton, 1, 4);
    sendGrid->setColumnStretch(3, 1);

    auto* receiveRow = new QHBoxLayout;
    receiveRow->addWidget(pause);
    receiveRow->addWidget(new QLabel(tr("换行时间"), this));
    receiveRow->addWidget(lineBreakMs);
    receiveRow->addStretch(1);
    receiveRow->addWidget(clearButton);

    auto* right = new QVBoxLayout;
    right->addLayout(sendGrid);
    right->addWidget(received, 1);
    right->addLayout(receiveRow);

    auto* layout = new QHBoxLayout(this);
    layout->addWidget(commandList, 1);
    layout->addLayout(right, 2);

    connect(commandList, &QListWidget::itemClicked, this, &DevelopmentWindow::entryChosen);
    connect(directButton, &QPushButton::clicked, this, [this] { directSend(); });
    connect(directText, &QLineEdit::returnPressed, this, [this] { directSend(); });
    connect(builtButton, &QPushButton::clicked, this, [this] { builtSend(); });
    connect(clearButton, &QPushButton::clicked, received, &QPlainTextEdit::clear);

    connection.onReceivedLog = [this](const std::u16string& text) { showReceived(QString::fromStdU16String(text)); };
}

DevelopmentWindow::~DevelopmentWindow()
{
    connection.onReceivedLog = nullptr;
    connection.setDevelopmentWindowOpen(false);
}

void DevelopmentWindow::showEvent(QShowEvent* event)
{
    connection.setDevelopmentWindowOpen(true);
    QWidget::showEvent(event);
}

void DevelopmentWindow::closeEvent(QCloseEvent* event)
{
    connection.setDevelopmentWindowOpen(false);
    receiveGap->stop();
    QWidget::closeEvent(event);
}

int DevelopmentWindow::pauseMs() const
{
    bool ok = false;
    const int ms = lineBreakMs->currentText().toInt(&ok);
    return ok && ms > 0 ? ms : kDefaultPauseMs;
}

void DevelopmentWindow::showReceived(const QString& hexText)
{
    if (pause->isChecked())
        return;
    appendInformation(hexText, false);
    receiveGap->start(pauseMs());
}

void DevelopmentWindow::appendInformation(const QString& text, bool lineBreak)
{
    received->moveCursor(QTextCursor::End);
    received->insertPlainText(lineBreak ? text + '\n' : text);
    received->moveCursor(QTextCursor::End);
}

void DevelopmentWindow::entryChosen(QListWidgetItem* item)
{
    if (!item)
        return;
    directText->setText(QString::fromStdU16String(testtools::entryFrameText(item->text().toStdU16String())).trimmed());
    directSend();
}

void DevelopmentWindow::directSend()
{
    if (!testtools::sendFrameText(link, directText->text().toStdU16String()))
        appendInformation(QString::fromStdU16String(std::u16string(testtools::kDataError)), true);
}

void DevelopmentWindow::builtSend()
{
    const auto sent =
        testtools::sendBuiltFrame(link, commandText->text().toStdU16String(), dataText->text().toStdU16String());
    if (!sent) {
        appendInformation(QString::fromStdU16String(std::u16string(testtools::kDataError)), true);
        return;
    }
    appendInformation(QStringLiteral("->") + QString::fromStdString(*sent), true);
}

} // namespace rz::ui
