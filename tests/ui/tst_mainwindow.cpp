// The main window, its page area, the splash page, the single-instance lock and the Qt side
// of the prompt, file-dialog and information-box seams.
#include "core/app/ExitSequence.h"
#include "support/Fakes.h"
#include "ui/shell/MainWindow.h"
#include "ui/shell/PageHost.h"
#include "ui/shell/QtFileChooser.h"
#include "ui/shell/QtLogBox.h"
#include "ui/shell/QtPrompt.h"
#include "ui/shell/SingleInstance.h"
#include "ui/shell/SplashPage.h"

#include <QAbstractButton>
#include <QApplication>
#include <QFileDialog>
#include <QImage>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QSysInfo>
#include <QTimer>
#include <QtTest>

#include <chrono>
#include <fstream>
#include <functional>

using namespace rz;

namespace {

// Counts what a page would show as flicker or re-parenting.
class PageEventCounter : public QObject {
public:
    explicit PageEventCounter(QWidget* page) { page->installEventFilter(this); }
    int count = 0;

protected:
    bool eventFilter(QObject*, QEvent* e) override
    {
        switch (e->type()) {
        case QEvent::ParentChange:
        case QEvent::Show:
        case QEvent::Hide:
        case QEvent::ZOrderChange:
        case QEvent::Move:
        case QEvent::Resize:
            ++count;
            break;
        default:
            break;
        }
        return false;
    }
};

// Runs `handle` on the next modal dialog once the event loop has opened it.
void onNextModal(std::function<void(QWidget*)> handle)
{
    QTimer::singleShot(0, [handle] {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal) {
            QTimer::singleShot(10, [handle] { onNextModal(handle); });
            return;
        }
        handle(modal);
    });
}

QString qs(const std::filesystem::path& p)
{
    return QString::fromStdU16String(p.u16string());
}

} // namespace

class TestMainWindow : public QObject {
    Q_OBJECT

private slots:
    void windowHasTitleStripOverPageAreaAndGrows();
    void captionFollowsTextAndPersonalization();
    void showingTheShownPageAgainDoesNothing();
    void laterPagesCoverEarlierOnesWhichStayShown();
    void dialogPageIsCentredOverTheWindow();
    void closeRequestsTheExitAndKeepsTheWindowOpen();
    void splashPageNamesAndPersonalPicture();
    void secondLockOnTheSameDataRootIsRefused();
    void staleLockOfADeadProcessIsTakenOver();
    void promptShowsTheExactTextAndReturnsTheAnswer();
    void fileChooserShowsTitleFilterAndFolderAndReturnsTheRawName();
    void logBoxAppendsAtTheEnd();
};

void TestMainWindow::windowHasTitleStripOverPageAreaAndGrows()
{
    ui::MainWindow window;
    QCOMPARE(window.objectName(), QStringLiteral("A01_MDI_Form"));
    window.open();
    QVERIFY(window.isVisible());
    QCOMPARE(window.size(), QSize(1280, 768)); // the designed size
    QVERIFY(window.minimumSize().width() <= 1280 && window.minimumSize().height() <= 720);

    auto* strip = window.findChild<QWidget*>(QStringLiteral("A02_Title"));
    QVERIFY(strip);
    QCOMPARE(strip, window.titleStrip());
    QCOMPARE(strip->geometry(), QRect(0, 0, 1280, 87));
    QCOMPARE(window.pages()->geometry(), QRect(0, 87, 1280, 768 - 87));

    // A larger screen: the page area takes the room, the strip keeps its height.
    window.resize(1920, 1080);
    QApplication::processEvents();
    QCOMPARE(strip->geometry(), QRect(0, 0, 1920, 87));
    QCOMPARE(window.pages()->geometry(), QRect(0, 87, 1920, 1080 - 87));
    window.resize(1280, 768);
    QApplication::processEvents();

    QWidget bar;
    window.embedTitleBar(&bar);
    QCOMPARE(bar.parentWidget(), strip);
    QApplication::processEvents();
    QCOMPARE(bar.geometry(), QRect(0, 0, 1280, 87));
    PageEventCounter events(&bar);
    window.embedTitleBar(&bar);
    QCOMPARE(events.count, 0);
}

void TestMainWindow::captionFollowsTextAndPersonalization()
{
    ui::MainWindow window;
    QCOMPARE(window.windowTitle(), QStringLiteral("RZ-760 A16.2    [   ]"));
    window.setCaptionText(u"SHOW");
    QCOMPARE(window.windowTitle(), QStringLiteral("RZ-760 A16.2    [ SHOW ]"));
    window.setCaptionPersonalization({true, u"星光", 1});
    QCOMPARE(window.windowTitle(), QStringLiteral("星光 A16.2    [ SHOW ]"));
}

void TestMainWindow::showingTheShownPageAgainDoesNothing()
{
    ui::MainWindow window;
    window.open();
    auto* host = window.pages();
    auto* page = new QWidget;
    host->preparePage(page);
    QCOMPARE(page->parentWidget(), host);
    QVERIFY(page->isHidden());
    QCOMPARE(page->geometry(), QRect(QPoint(0, 0), host->size())); // fills the page area

    host->showPage(page);
    QVERIFY(page->isVisible());
    QCOMPARE(host->currentPage(), page);

    PageEventCounter events(page);
    host->showPage(page);
    host->showPage(page);
    QCOMPARE(events.count, 0);
    QCOMPARE(page->parentWidget(), host);

    // Preparing the shown page hides it; showing it again must then work.
    host->preparePage(page);
    QVERIFY(page->isHidden());
    host->showPage(page);
    QVERIFY(page->isVisible());

    // A page nobody prepared is moved into the page area when shown.
    QWidget stray;
    host->showPage(&stray);
    QCOMPARE(stray.parentWidget(), host);
    QVERIFY(stray.isVisible());
    stray.setParent(nullptr);
}

void TestMainWindow::laterPagesCoverEarlierOnesWhichStayShown()
{
    ui::MainWindow window;
    window.open();
    auto* host = window.pages();
    auto* first = new QWidget;
    auto* second = new QWidget;
    host->preparePage(first);
    host->preparePage(second);

    auto topmost = [host] { return host->childAt(10, 10); };
    host->showPage(first);
    host->showPage(second);
    QCOMPARE(topmost(), second);
    QVERIFY(first->isVisible()); // covered, not hidden
    host->showPage(first);
    QCOMPARE(topmost(), first);

    // A caller with its own tracker (a tool page inside another page).
    QWidget container;
    QWidget inner;
    QPointer<QWidget> tracker;
    ui::showPageTracked(&container, &inner, tracker);
    QCOMPARE(inner.parentWidget(), &container);
    QCOMPARE(tracker.data(), &inner);
    QCOMPARE(host->currentPage(), first);
    inner.setParent(nullptr);
}

void TestMainWindow::dialogPageIsCentredOverTheWindow()
{
    ui::MainWindow window;
    auto* page = new QWidget;
    window.pages()->preparePage(page);
    page->resize(600, 300); // 9000 x 4500 twips
    window.centreDialogPage(page);
    // Window coordinates: left (19200 - 9000) / 2 = 5100 tw = 340 px,
    // top (11520 - 4500) / 2 - 1300 = 2210 tw = 147 px, i.e. 60 px into the page area.
    QCOMPARE(page->pos(), QPoint(340, 147 - 87));
    QVERIFY(!page->isHidden());
}

void TestMainWindow::closeRequestsTheExitAndKeepsTheWindowOpen()
{
    test::TempDir root;
    ExitSequence exit(root.path());
    ui::MainWindow window;
    connect(&window, &ui::MainWindow::closeRequested, [&] { exit.requestExit(); });
    QSignalSpy requests(&window, &ui::MainWindow::closeRequested);
    window.open();

    QVERIFY(!window.close());
    QVERIFY(window.isVisible());
    QVERIFY(exit.exitRequested());
    QCOMPARE(exit.stepCounter(), 0); // the countdown runs from the main loop, not from close

    QVERIFY(!window.close());
    QCOMPARE(requests.count(), 2);
    QVERIFY(window.isVisible());
}

void TestMainWindow::splashPageNamesAndPersonalPicture()
{
    ui::SplashPage page;
    QCOMPARE(page.objectName(), QStringLiteral("A03___Form__开机画面"));
    auto* command1 = page.findChild<QPushButton*>(QStringLiteral("Command1"));
    QVERIFY(command1);
    QSignalSpy clicks(&page, &ui::SplashPage::command1Clicked);
    command1->click();
    QCOMPARE(clicks.count(), 1);

    test::TempDir root;
    page.loadPersonalPicture(root.path()); // no picture: ignored
    QVERIFY(!page.hasPicture());

    const auto picture = root / "AppSet/Sys_config/PicAll/P03"; // no extension, as stored
    std::filesystem::create_directories(picture.parent_path());
    test::writeText(picture, "not a picture");
    page.loadPersonalPicture(root.path());
    QVERIFY(!page.hasPicture());

    QImage image(8, 8, QImage::Format_RGB32);
    image.fill(Qt::red);
    QVERIFY(image.save(qs(picture), "PNG"));
    page.loadPersonalPicture(root.path());
    QVERIFY(page.hasPicture());
}

void TestMainWindow::secondLockOnTheSameDataRootIsRefused()
{
    test::TempDir root;
    auto first = std::make_unique<ui::SingleInstanceLock>(root.path());
    QVERIFY(first->acquire());
    QVERIFY(first->acquire()); // asking again keeps it

    ui::SingleInstanceLock second(root.path());
    QVERIFY(!second.acquire());

    // However old a live lock is, it is not taken.
    std::filesystem::last_write_time(ui::SingleInstanceLock::lockFile(root.path()),
                                     std::filesystem::file_time_type::clock::now() - std::chrono::hours(48));
    QVERIFY(!second.acquire());
    QVERIFY(first->held());

    first.reset();
    QVERIFY(second.acquire());
}

void TestMainWindow::staleLockOfADeadProcessIsTakenOver()
{
    test::TempDir root;
    {
        // What a crashed copy leaves behind: its process id, name and host.
        std::ofstream out(ui::SingleInstanceLock::lockFile(root.path()));
        out << "999999999\nrz760-tool\n" << QSysInfo::machineHostName().toStdString() << "\n";
    }
    ui::SingleInstanceLock lock(root.path());
    QVERIFY(lock.acquire());
}

void TestMainWindow::promptShowsTheExactTextAndReturnsTheAnswer()
{
    ui::QtPrompt prompt;
    QString shown;
    QMessageBox::StandardButtons buttons;
    auto answer = [&](QMessageBox::StandardButton press) {
        onNextModal([&, press](QWidget* modal) {
            auto* box = qobject_cast<QMessageBox*>(modal);
            QVERIFY(box);
            shown = box->text();
            buttons = box->standardButtons();
            box->button(press)->click();
        });
    };

    answer(QMessageBox::Ok);
    prompt.message(u"程序已经打开，不能重复开启！");
    QCOMPARE(shown, QStringLiteral("程序已经打开，不能重复开启！"));
    QCOMPARE(buttons, QMessageBox::StandardButtons(QMessageBox::Ok));

    answer(QMessageBox::Yes);
    QVERIFY(prompt.ask(u"是否保存？"));
    QCOMPARE(shown, QStringLiteral("是否保存？"));
    QCOMPARE(buttons, QMessageBox::Yes | QMessageBox::No);

    answer(QMessageBox::No);
    QVERIFY(!prompt.ask(u"是否保存？"));
}

void TestMainWindow::fileChooserShowsTitleFilterAndFolderAndReturnsTheRawName()
{
    test::TempDir root;
    ui::QtFileChooser chooser(nullptr, root.path());
    QString title;
    QStringList filters;
    QString folder;
    QFileDialog::AcceptMode mode{};
    auto respond = [&](QString typed) {
        onNextModal([&, typed](QWidget* modal) {
            auto* dialog = qobject_cast<QFileDialog*>(modal);
            QVERIFY(dialog);
            title = dialog->windowTitle();
            filters = dialog->nameFilters();
            folder = dialog->directory().absolutePath();
            mode = dialog->acceptMode();
            if (typed.isEmpty()) {
                dialog->reject();
                return;
            }
            dialog->selectFile(typed);
            static_cast<QDialog*>(dialog)->accept(); // QFileDialog::accept, as the Save button does
        });
    };

    respond(QStringLiteral("新节目"));
    const auto saved = chooser.chooseSave(u"保存节目文件", u"K_F");
    QCOMPARE(title, QStringLiteral("保存节目文件"));
    QCOMPARE(filters, QStringList{QStringLiteral("保存节目文件 (*.K_F)")});
    QCOMPARE(folder, qs(root.path()));
    QCOMPARE(mode, QFileDialog::AcceptSave);
    QVERIFY(saved.has_value());
    QCOMPARE(qs(*saved), qs(root / "新节目")); // no extension added here

    test::writeText(root / "a.K_F", "x");
    respond(QStringLiteral("a.K_F"));
    const auto opened = chooser.chooseOpen(u"打开节目文件", u"K_F");
    QCOMPARE(mode, QFileDialog::AcceptOpen);
    QVERIFY(opened.has_value());
    QCOMPARE(qs(*opened), qs(root / "a.K_F"));

    respond(QString());
    QVERIFY(!chooser.chooseOpen(u"打开节目文件", u"K_F").has_value());
}

void TestMainWindow::logBoxAppendsAtTheEnd()
{
    QPlainTextEdit edit;
    ui::QtLogBox log(&edit);
    log.append(u"->开始", false);
    log.append(u"下载", true);
    QTextCursor atStart(edit.document());
    edit.setTextCursor(atStart); // the user clicked at the top
    log.append(u"->完成", true);
    QCOMPARE(edit.toPlainText(), QStringLiteral("->开始下载\n->完成\n"));
}

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
