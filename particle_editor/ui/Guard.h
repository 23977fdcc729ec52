// How the window's parts run a control's handler: a failure is logged under
// the handler's procedure name and the program goes on.
#pragma once

#include <QString>

#include <functional>

namespace emberly {

using Guard = std::function<void(const QString& procedure, const std::function<void()>& action)>;

} // namespace emberly
