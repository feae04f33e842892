#pragma once
// The material page's step bar: previous and next, the step list kept as long as the
// material, the step count, and adding, copying and deleting steps.
#include <QWidget>

class QComboBox;
class QLabel;

namespace rz::ui {

class MaterialStepBar : public QWidget {
    Q_OBJECT
public:
    explicit MaterialStepBar(QWidget* parent = nullptr);

    // The list holds "1".."stepCount" and shows `currentStep` (nothing for 0).
    void showSteps(int stepCount, int currentStep);

signals:
    void previousClicked();
    void nextClicked();
    void stepChosen(int step);
    void addClicked();
    void copyAddClicked();
    void deleteClicked();
    // The step copy buttons, with the copy count as typed (0 when it is not a number).
    void copyStepsClicked(int count);
    void pasteStepsClicked(int count);
    void pasteAtEndClicked(int count);

private:
    int copyCount();

    QComboBox* stepList = nullptr;
    QComboBox* copyCountBox = nullptr;
    QLabel* countLabel = nullptr;
    bool showing = false;
};

} // namespace rz::ui
