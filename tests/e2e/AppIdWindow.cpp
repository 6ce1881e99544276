// A small Wayland window with the app id given on the command line, for the
// end-to-end test of the monitor following the focus on sway:
//   QT_QPA_PLATFORM=wayland k4812-e2e-appid-window APP_ID
// Qt gives the window the desktop file name as its app id. It stays until it
// is killed.

#include <QGuiApplication>
#include <QPainter>
#include <QRasterWindow>

#include <cstdio>

namespace {

class PlainWindow final : public QRasterWindow {
protected:
    void paintEvent(QPaintEvent*) override { QPainter(this).fillRect(QRect(QPoint(), size()), Qt::darkGray); }
};

} // namespace

int main(int argc, char* argv[])
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: k4812-e2e-appid-window APP_ID\n");
        return 2;
    }
    QGuiApplication app(argc, argv);
    const QString appId = QString::fromLocal8Bit(argv[1]);
    QGuiApplication::setDesktopFileName(appId);
    PlainWindow window;
    window.setTitle(appId);
    window.resize(200, 100);
    window.show();
    return QGuiApplication::exec();
}
