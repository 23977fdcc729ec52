#pragma once
// The application object of a tool. An error that escapes an event handler
// (a click, a menu action) ends the program with the system's "Run-time
// error" message, as an uncaught error does in the original tools, instead
// of unwinding through Qt's event dispatch.

#include <QApplication>

namespace platform {

class Application : public QApplication {
    Q_OBJECT
public:
    Application(int& argc, char** argv);
    bool notify(QObject* receiver, QEvent* event) override;
};

} // namespace platform
