#pragma once
// The development-mode window: a raw terminal onto the controller link. Ready-made frames
// from a list, typed frames, frames built from command and payload, and what the controller
// sends back as hexadecimal text, one line per burst (a pause ends a line).
#include <QWidget>

#include <string>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QListWidget;
class QListWidgetItem;
class QPlainTextEdit;
class QPushButton;
class QTimer;

namespace rz::link {
class ConnectionManager;
class Link;
} // namespace rz::link

namespace rz::ui {

class DevelopmentWindow : public QWidget {
    Q_OBJECT
public:
    DevelopmentWindow(link::Link& link, link::ConnectionManager& connection, QWidget* parent = nullptr);
    ~DevelopmentWindow() override;

    // Fun_接收数据显示.
    void showReceived(const QString& hexText);
    // Fun_信息_In / Fun_信息_In_no_enter.
    void appendInformation(const QString& text, bool lineBreak);

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void entryChosen(QListWidgetItem* item);
    void directSend();
    void builtSend();
    int pauseMs() const;

    link::Link& link;
    link::ConnectionManager& connection;
    QListWidget* commandList = nullptr;
    QLineEdit* directText = nullptr;
    QLineEdit* commandText = nullptr;
    QLineEdit* dataText = nullptr;
    QPlainTextEdit* received = nullptr;
    QCheckBox* pause = nullptr;
    QComboBox* lineBreakMs = nullptr;
    QTimer* receiveGap = nullptr;
};

} // namespace rz::ui
