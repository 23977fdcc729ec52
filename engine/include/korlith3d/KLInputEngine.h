// Keyboard and mouse state, read from the application's events (an event
// filter on the application object). Keys are DirectInput scan codes.
//
// Keys are polled: one KeyDown call for a scan code is one poll of that key.
// Each key keeps its live state and whether it was pressed since its last poll,
// so a key tapped (pressed and released) between two polls, for instance while
// a slow frame was drawn, still reads as down at the next poll, once, as
// buffered keyboard input reports a tap. Polling one key leaves the others alone.
#pragma once

#include "korlith3d/Export.h"

#include <QObject>

#include <memory>

// Common DirectInput scan codes.
enum KLKey : int {
    KLK_ESCAPE = 1, KLK_1 = 2, KLK_0 = 11, KLK_RETURN = 28, KLK_LCONTROL = 29,
    KLK_W = 17, KLK_A = 30, KLK_S = 31, KLK_D = 32, KLK_LSHIFT = 42, KLK_SPACE = 57,
    KLK_F1 = 59, KLK_F12 = 88, KLK_UP = 200, KLK_PRIOR = 201, KLK_LEFT = 203,
    KLK_RIGHT = 205, KLK_DOWN = 208, KLK_NEXT = 209,
};

struct KLMouseState {
    int dx = 0;              // movement since the last read, pixels
    int dy = 0;
    bool button1 = false;    // left
    bool button2 = false;    // right
    bool button3 = false;    // middle
    int wheel = 0;           // accumulated wheel position, 120 per notch
};

namespace kl::input {
class InputWatcher;
}

class KL_API KLInputEngine {
public:
    KLInputEngine();   // needs a QApplication (QCoreApplication::instance())
    ~KLInputEngine();
    KLInputEngine(const KLInputEngine&) = delete;
    KLInputEngine& operator=(const KLInputEngine&) = delete;

    // True while the key is held, and at the first poll after a press that was
    // released before it; that poll consumes the press. False for scan codes
    // outside 1..255. Auto-repeated presses of a held key are not new presses.
    bool KeyDown(int scanCode);
    // Absolute pointer position in pixels of the 3D view (the picture box the
    // engine renders into; the pointer's global position before initialisation).
    int GetMouseX() const;
    int GetMouseY() const;
    void GetMousePosition(int& x, int& y) const;
    // Movement since the previous read, buttons and wheel; resets the movement.
    KLMouseState GetMouseState();
    bool MouseButton(int button) const;   // 1 left, 2 right, 3 middle
    int GetWheel() const;

private:
    std::unique_ptr<kl::input::InputWatcher> watcher_;
};
