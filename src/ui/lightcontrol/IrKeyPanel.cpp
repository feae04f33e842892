#include "ui/lightcontrol/IrKeyPanel.h"

#include "core/lightcontrol/LightControlEditing.h"
#include "core/link/ConnectionManager.h"
#include "core/link/Link.h"
#include "core/liveout/LiveSender.h"
#include "core/show/Show.h"
#include "ui/shell/PageContext.h"

#include <QEvent>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QTimer>

namespace rz::ui {

namespace {
constexpr int kKeysPerRow = 3;
// Yellow and cyan text needs a dark ground to be readable on the light page.
const char* const kLabelIdle =
    "color: rgb(255, 255, 0); background: rgb(40, 44, 52); padding: 2px 6px; border-radius: 3px;";
const char* const kLabelLearning =
    "color: rgb(0, 255, 255); background: rgb(40, 44, 52); padding: 2px 6px; border-radius: 3px;";
} // namespace

IrKeyPanel::IrKeyPanel(PageContext& context, QWidget* parent)
    : QGroupBox(QStringLiteral("效果器红外控制"), parent), context(context)
{
    setObjectName(QStringLiteral("Frame效果器红外"));
    auto* grid = new QGridLayout(this);
    grid->setHorizontalSpacing(6);
    grid->setVerticalSpacing(4);
    for (int k = 1; k <= lightcontrol::kEditableIrKeys; ++k) {
        const QString caption = QString::fromStdU16String(std::u16string(lightcontrol::kIrKeyLabels[k]));
        auto* label = new QLabel(caption, this);
        label->setObjectName(QStringLiteral("Label效果器红外(%1)").arg(k));
        label->setStyleSheet(QString::fromLatin1(kLabelIdle));
        auto* box = new QLineEdit(this);
        box->setObjectName(QStringLiteral("Text效果器红外(%1)").arg(k));
        box->setAccessibleName(caption);
        box->setMinimumWidth(110);
        box->setMaxLength(16);
        label->setBuddy(box);
        box->installEventFilter(this);
        connect(box, &QLineEdit::textEdited, this, [this, k](const QString& text) { keyTextEdited(k, text); });
        const int row = (k - 1) / kKeysPerRow;
        const int column = ((k - 1) % kKeysPerRow) * 2;
        grid->addWidget(label, row, column, Qt::AlignRight);
        grid->addWidget(box, row, column + 1);
        boxes[k] = box;
        labels[k] = label;
    }
    timer = new QTimer(this);
    timer->setObjectName(QStringLiteral("Timer效果器红外焦点"));
    connect(timer, &QTimer::timeout, this, &IrKeyPanel::pollLearning);
    context.link.setReceiver(link::Link::ReceiverSlot::LightControlInfrared,
                             [this](uint8_t command, std::span<const uint8_t> payload) { receiveFrame(command, payload); });
}

IrKeyPanel::~IrKeyPanel()
{
    context.link.setReceiver(link::Link::ReceiverSlot::LightControlInfrared, {});
}

void IrKeyPanel::refresh()
{
    for (int k = 1; k <= lightcontrol::kEditableIrKeys; ++k) {
        showKey(k);
        setBoxBackground(k, false);
    }
}

void IrKeyPanel::showKey(int key)
{
    const auto text = lightcontrol::irKeyText(context.show.lightControl.effectsUnitIr[static_cast<std::size_t>(key)]);
    boxes[key]->setText(QString::fromStdU16String(text));
}

void IrKeyPanel::keyTextEdited(int key, const QString& text)
{
    const auto result = lightcontrol::applyIrKeyText(context.show.lightControl, key, text.toStdU16String());
    setBoxBackground(key, result == lightcontrol::IrTextResult::invalid);
}

void IrKeyPanel::setBoxBackground(int key, bool invalid)
{
    QPalette palette = boxes[key]->palette();
    palette.setColor(QPalette::Base, invalid ? invalidBackground() : QPalette().color(QPalette::Base));
    boxes[key]->setPalette(palette);
    boxes[key]->setProperty("invalid", invalid);
}

void IrKeyPanel::setLabelLearning(int key, bool learning)
{
    if (key >= 1 && key <= lightcontrol::kEditableIrKeys)
        labels[key]->setStyleSheet(QString::fromLatin1(learning ? kLabelLearning : kLabelIdle));
}

bool IrKeyPanel::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::FocusIn || event->type() == QEvent::FocusOut) {
        for (int k = 1; k <= lightcontrol::kEditableIrKeys; ++k) {
            if (watched != boxes[k])
                continue;
            if (event->type() == QEvent::FocusIn) {
                setLabelLearning(learner.learningKey(), false);
                learner.focusGained(k);
                setLabelLearning(k, true);
            } else if (learner.learningKey() == k) {
                setLabelLearning(k, false);
                learner.focusLost();
            }
            restartTimer();
            break;
        }
    }
    return QGroupBox::eventFilter(watched, event);
}

void IrKeyPanel::pollLearning()
{
    const bool canSend =
        context.connection.connected() && context.live.liveOutputMode() == liveout::kModeLightControl;
    if (const auto payload = learner.tick(canSend))
        context.link.send(lightcontrol::kIrLearningCommand, *payload);
    restartTimer();
}

void IrKeyPanel::restartTimer()
{
    const uint32_t interval = learner.timerIntervalMs();
    if (interval == 0) {
        timer->stop();
        return;
    }
    if (!timer->isActive() || timer->interval() != static_cast<int>(interval))
        timer->start(static_cast<int>(interval));
}

void IrKeyPanel::receiveFrame(uint8_t command, std::span<const uint8_t> payload)
{
    const int key = learner.receive(command, payload, context.show.lightControl);
    if (key >= 1 && key <= lightcontrol::kEditableIrKeys) {
        showKey(key);
        setBoxBackground(key, false);
    }
}

} // namespace rz::ui
