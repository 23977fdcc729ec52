#include "platform/Application.h"

#include "platform/RuntimeError.h"

namespace platform {

Application::Application(int& argc, char** argv) : QApplication(argc, argv)
{
}

bool Application::notify(QObject* receiver, QEvent* event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (...) {
        endWithRuntimeError(toRuntimeError(std::current_exception()));
    }
}

} // namespace platform
