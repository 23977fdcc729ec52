// A splash window shown while a tool starts: frameless, centred, on top; a
// click or a key press closes it. The tool draws its artwork in paintEvent.
#pragma once

#include <QWidget>

namespace toolkit {

class SplashWindow : public QWidget {
    Q_OBJECT
public:
    SplashWindow(const QString& windowName, const QString& caption, QSize size);
    bool closedByUser() const { return closedByUser_; }

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void closeByUser();
    bool closedByUser_ = false;
};

enum class SplashWait {
    UntilClosedOrElapsed, // a click or key ends the wait early
    FullTime,             // a click or key closes the window; the time is waited out all the same
};

// Shows the splash and processes window events until `seconds` have passed
// (a steady clock, so the wait cannot hang across midnight), then closes it.
void showSplash(SplashWindow& splash, double seconds, SplashWait wait);

} // namespace toolkit
