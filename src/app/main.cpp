// qavsec [FILE.sec]: the splash for one second, then the main window, then the file if one
// was named.
#include <QApplication>
#include <QEventLoop>
#include <QLabel>
#include <QScreen>
#include <QTimer>

#include "app/main_window.h"
#include "app/tool_icons.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    // The settings (recent files, last folder, ...) live under this name.
    QApplication::setOrganizationName("qavsec");

    QLabel splash;
    splash.setWindowFlags(Qt::SplashScreen | Qt::FramelessWindowHint);
    splash.setPixmap(qav::splashPicture());
    splash.setFixedSize(665, 274);
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        QRect r(QPoint(0, 0), splash.size());
        r.moveCenter(screen->availableGeometry().center());
        splash.move(r.topLeft());
    }
    splash.show();
    splash.repaint();
    // The wait keeps the event loop running so the splash stays painted; the main window is
    // only created once the second has passed.
    QEventLoop wait;
    QTimer::singleShot(1000, &wait, &QEventLoop::quit);
    wait.exec();
    splash.close();

    QApplication::setApplicationName("QAV Section v1.0");
    qav::MainWindow window;
    window.show();
    const QStringList args = QApplication::arguments();
    for (qsizetype i = 1; i < args.size(); ++i) {
        if (args[i].startsWith('-')) continue;
        window.openStartupFile(args[i]);
        break;
    }
    return app.exec();
}
