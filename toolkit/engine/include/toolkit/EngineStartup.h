// Start-up of the tools that link the engine: the shared start-up, and the
// engine's KLError turned into the run-time error of the same number and
// description wherever errors are handled step by step, caught or uncaught,
// so handlers and messages see 53 "file not found", 9 "unknown id", 321
// "bad format" rather than a generic error 5.
#pragma once

#include <QString>

namespace toolkit {

// Registers the KLError translation; calling it again changes nothing.
void registerEngineErrors();

void startLiveViewTool(const QString& applicationName);

} // namespace toolkit
