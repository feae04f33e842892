#pragma once
// The first page shown: the model name and the release.
#include <QPixmap>
#include <QWidget>

#include <filesystem>

class QPushButton;

namespace rz::ui {

class SplashPage : public QWidget {
    Q_OBJECT
public:
    explicit SplashPage(QWidget* parent = nullptr);

    // With personalization on, the page shows the picture "AppSet/Sys_config/PicAll/P03";
    // a missing or unreadable picture keeps the current look.
    void loadPersonalPicture(const std::filesystem::path& dataRoot);
    bool hasPicture() const { return !picture.isNull(); }

signals:
    // Command1: the controller's CB command (sent by the link once it exists).
    void command1Clicked();

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QPixmap picture;
};

} // namespace rz::ui
