#include "toolkit/SplashWindow.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QScreen>
#include <QThread>

namespace toolkit {

SplashWindow::SplashWindow(const QString& windowName, const QString& caption, QSize size)
    : QWidget(nullptr, Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint)
{
    setObjectName(windowName);
    setWindowTitle(caption);
    setFixedSize(size);
    setFocusPolicy(Qt::StrongFocus);
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->geometry().center() - rect().center());
}

void SplashWindow::closeByUser()
{
    closedByUser_ = true;
    close();
}

void SplashWindow::mousePressEvent(QMouseEvent*)
{
    closeByUser();
}

void SplashWindow::keyPressEvent(QKeyEvent*)
{
    closeByUser();
}

void showSplash(SplashWindow& splash, double seconds, SplashWait wait)
{
    splash.show();
    QElapsedTimer clock;
    clock.start();
    const auto waitEnded = [&] {
        return wait == SplashWait::UntilClosedOrElapsed && splash.closedByUser();
    };
    while (clock.elapsed() < seconds * 1000 && !waitEnded()) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        if (!waitEnded())
            QThread::msleep(5);
    }
    splash.close();
}

} // namespace toolkit
