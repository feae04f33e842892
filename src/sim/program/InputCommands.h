#pragma once
// What the room produces, typed as JSON lines on the simulator's standard input, so tests and
// users can drive it:
//   {"cmd":"infrared","code":"11 22 33 44"}  a remote control's code reaches the receiver
//   {"cmd":"airConLearned"}                  the air conditioner's remote pressed while learning
//   {"cmd":"autoLearn","on":false}           learn requests wait for "airConLearned"
//   {"cmd":"wallPanelScene","scene":5}       a wall panel selects scene 5 (also "vodScene")
//   {"cmd":"frame","command":"CE","payload":"19 01"}  any frame the controller sends itself
//                                            (wall-panel or VOD input, reports)
// Each line acts on every served link's controller.
#include "sim/Controller.h"

#include <QByteArray>
#include <QObject>
#include <QString>

#include <functional>
#include <optional>
#include <vector>

class QSocketNotifier;

namespace rz::sim::program {

// Applies one line; the error text when the line is not a known command.
std::optional<QString> applyInputCommand(const QByteArray& line, Controller& controller);

extern const char* const kInputCommandsHelp;

// Reads standard input without blocking and applies each complete line.
class StdinCommands : public QObject {
    Q_OBJECT
public:
    using Target = std::pair<Controller*, std::function<void()>>; // controller, then flush its output

    // `applied` hears each line's command name and, when it was refused, why.
    using Applied = std::function<void(const QString& cmd, const std::optional<QString>& error)>;

    StdinCommands(std::vector<Target> targets, Applied applied, QObject* parent = nullptr);
    ~StdinCommands() override;

    // Applies the complete lines in `bytes` (and keeps a partial last line for later).
    void feed(const QByteArray& bytes);

private:
    void readAvailable();

    std::vector<Target> targets;
    Applied applied;
    QSocketNotifier* notifier = nullptr;
    QByteArray partial;
};

} // namespace rz::sim::program
