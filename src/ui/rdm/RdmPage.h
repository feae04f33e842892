#pragma once
// The RDM page: searches the DMX line for RDM devices, reads and sets the selected one, and
// offers the discovery-reply tools and free requests with their log. The protocol work is the
// driver's, the buttons' sequences RdmPageActions'; the page holds only what its controls show.
#include "core/rdm/RdmDriver.h"
#include "core/rdm/RdmPageActions.h"
#include "core/rdm/RdmView.h"
#include "ui/shell/Page.h"

#include <memory>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QPushButton;

namespace rz::ui {

class QtLogBox;

class RdmPage : public Page, private rdm::RdmView, private rdm::SearchControls {
    Q_OBJECT
public:
    explicit RdmPage(PageContext& context, QWidget* parent = nullptr);
    ~RdmPage() override;

    // Fun_Rdm_Close: a running search is stopped, as by its stop click; otherwise nothing.
    void closeRdm();
    // Fun_手动添加ID_读取文件.
    void loadManualUids();

    rdm::RdmDriver& driver() { return rdmDriver; }
    bool searching() const { return actions.searching(); }
    bool detailedLogging() const { return detailLogging; }

protected:
    void opened() override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildLayout();
    QGroupBox* buildSearchFrame();
    QGroupBox* buildDeviceFrame();
    QGroupBox* buildToolsFrame();
    QGroupBox* buildLogFrame();
    void connectControls();

    std::u16string selectedEntry() const;
    // The list click: the log cleared, the UID boxes filled, the device read.
    void entryChosen();
    void readDevice(const std::u16string& uidText);
    void changeAddress();
    void changePersonality();
    void decodeReply();
    void encodeReply();
    void sendTestCommand();
    void testInstructionChosen(int index);
    void appendToLog(const QString& text);

    // RdmView
    void appendDetail(const std::u16string& text) override;
    void appendLog(const std::u16string& text) override;
    void clearLog() override;
    void showBranchCount(uint32_t count) override;
    void uidFound(const std::u16string& listedText) override;
    void foundUidsCleared() override;
    // SearchControls
    void setSearchCaption(std::u16string_view caption) override;
    void setFrameCaption(const std::u16string& caption) override;
    void setDeviceControlsEnabled(bool enabled) override;
    std::size_t listEntries() override;

    rdm::RdmDriver rdmDriver;
    rdm::RdmPageActions actions;
    bool detailLogging = false;
    bool manualUidsLoaded = false;

    QGroupBox* searchFrame = nullptr;
    QListWidget* uidList = nullptr;
    QPushButton* searchButton = nullptr;
    QCheckBox* useMute = nullptr;
    QLabel* branchCount = nullptr;

    QGroupBox* deviceFrame = nullptr;
    QLabel* deviceInformation = nullptr;
    QLineEdit* selectedUid = nullptr;
    QComboBox* personalities = nullptr;
    QPushButton* setPersonality = nullptr;
    QLineEdit* addressBox = nullptr;
    QPushButton* setAddress = nullptr;
    QPushButton* identifyOff = nullptr;
    QPushButton* identifyOn = nullptr;
    QPushButton* muteOne = nullptr;
    QPushButton* unMuteAll = nullptr;
    QComboBox* manualUid = nullptr;
    QPushButton* addManualUid = nullptr;

    QLineEdit* replyBytes = nullptr;
    QLineEdit* replyResult = nullptr;
    QPushButton* decodeButton = nullptr;
    QPushButton* encodeButton = nullptr;
    QComboBox* commandClass = nullptr;
    QComboBox* commandPid = nullptr;
    QLineEdit* commandData = nullptr;
    QLineEdit* commandUid = nullptr;
    QComboBox* testInstructions = nullptr;
    QPushButton* sendButton = nullptr;

    QPlainTextEdit* log = nullptr;
    QPushButton* clearLogButton = nullptr;
    std::unique_ptr<QtLogBox> logBox;
};

} // namespace rz::ui
