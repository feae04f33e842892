#pragma once
// The demo frame: while the material plays from its start on the lights, the step and time
// being played and the 512 output values.
#include <QFrame>

class QLabel;
class QPlainTextEdit;

namespace rz::ui {

class MaterialDemoFrame : public QFrame {
    Q_OBJECT
public:
    explicit MaterialDemoFrame(QWidget* parent = nullptr);
    void showPlayback(const QString& stepText, const QString& frameText);

signals:
    // "返回" in the frame.
    void backClicked();

private:
    QLabel* stepLabel = nullptr;
    QPlainTextEdit* frameText = nullptr;
};

} // namespace rz::ui
