#include "toolkit/EngineStartup.h"
#include "toolkit/Startup.h"

#include <korlith3d/types.h>

#include <platform/RuntimeError.h>

#include <mutex>

namespace toolkit {

void registerEngineErrors()
{
    static std::once_flag registered;
    std::call_once(registered, [] {
        platform::addErrorTranslatorFor<KLError>([](const KLError& error) {
            return platform::RuntimeError(error.Number(), error.Description());
        });
    });
}

void startLiveViewTool(const QString& applicationName)
{
    startTool(applicationName);
    registerEngineErrors();
}

} // namespace toolkit
