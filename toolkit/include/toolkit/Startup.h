// The start-up every tool's main runs once its application object exists:
// the application's name, and the error translations of the libraries the
// tool links. Tools that link the engine call startLiveViewTool
// (toolkit/EngineStartup.h) instead, which adds the engine's errors.
#pragma once

#include <QString>

namespace toolkit {

void startTool(const QString& applicationName);

} // namespace toolkit
