// What makes libkorlith3d.so a component library: the class factory, the
// self-registration entry points and the version section, all found by name
// from outside.
#include "binding/EngineDispatch.h"

#include "korlith3d/Export.h"

#include <platform/Component.h>
#include <platform/VersionInfo.h>

#include <cstdint>

// The values come from the build (engine/CMakeLists.txt).
KL_VERSION_RESOURCE("Translation=040904B0\n"
                    "040904B0\\CompanyName=" KL_ENGINE_COMPANY "\n"
                    "040904B0\\FileDescription=Korlith3D real-time 3D engine\n"
                    "040904B0\\FileVersion=" KL_ENGINE_FILE_VERSION "\n"
                    "040904B0\\InternalName=korlith3d\n"
                    "040904B0\\OriginalFileName=libkorlith3d.so\n"
                    "040904B0\\ProductName=Korlith3D\n"
                    "040904B0\\ProductVersion=" KL_ENGINE_FILE_VERSION "\n");

namespace {

// The self-registration results of the component model.
constexpr std::int32_t Succeeded = 0;
constexpr std::int32_t ClassRegistrationFailed = static_cast<std::int32_t>(0x80040201u);   // SELFREG_E_CLASS

} // namespace

extern "C" {

KL_API platform::ComponentObject* DllGetClassObject(const char* progIdUtf8)
{
    if (!progIdUtf8
        || QString::fromUtf8(progIdUtf8).compare(QLatin1String(kl::binding::EngineProgId), Qt::CaseInsensitive) != 0)
        return nullptr;
    return new kl::binding::EngineDispatch;
}

// Records this library's own path as the server of "Korlith3D.KLEngine".
KL_API std::int32_t DllRegisterServer()
{
    const QString path = KLEngine::GetDLLPath();
    if (path.isEmpty() || !platform::registerComponent(QString::fromLatin1(kl::binding::EngineProgId), path))
        return ClassRegistrationFailed;
    return Succeeded;
}

KL_API std::int32_t DllUnregisterServer()
{
    if (!platform::unregisterComponent(QString::fromLatin1(kl::binding::EngineProgId)))
        return ClassRegistrationFailed;
    return Succeeded;
}

} // extern "C"
