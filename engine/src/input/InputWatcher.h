// Watches the application's keyboard and mouse events and keeps the state the
// engine's input object reports.
#pragma once

#include <QObject>
#include <QPoint>

#include <array>
#include <cstdint>

namespace kl::input {

class InputWatcher : public QObject {
    Q_OBJECT
public:
    InputWatcher();
    ~InputWatcher() override;

    // Whether the key is held now.
    bool keyHeld(int scanCode) const;
    // One poll of the key: held, or pressed since the previous poll of it
    // (a tap between polls reads as down once). Clears the "pressed since" mark.
    bool pollKey(int scanCode);
    QPoint globalPosition() const { return position_; }
    bool button(int index) const;   // 1 left, 2 right, 3 middle
    int wheel() const { return wheel_; }
    // Movement since the previous call.
    QPoint takeMovement();

    // Event handling, also used directly by tests.
    void keyEvent(int qtKey, bool down);
    void mouseMoved(QPoint global);
    void buttonEvent(Qt::MouseButton button, bool down);
    void wheelTurned(int delta);
    void releaseAll();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    std::array<bool, 256> keys_{};             // held now
    std::array<bool, 256> pressedSincePoll_{};
    QPoint position_;
    bool havePosition_ = false;
    QPoint movement_;
    std::array<bool, 3> buttons_{};
    int wheel_ = 0;
};

} // namespace kl::input
