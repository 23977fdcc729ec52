// The engine root object as a late-bound component: "Korlith3D.KLEngine"
// answers its members by name, as a tool that binds at run time calls them.
#pragma once

#include "korlith3d/KLEngine.h"

#include <platform/Component.h>

namespace kl::binding {

inline constexpr const char* EngineProgId = "Korlith3D.KLEngine";

// Members (any letter case): GetDLLPath, SetDebugFile(path),
// Init3DWindowedMode(window[, hardware]), DisplayFPS (property, or a method
// taking the value), Clear([keepDepth]), RenderToScreen. Any other member
// fails with error 438, a wrong argument count with 450, an argument of the
// wrong kind with 13, and an engine failure with the engine's number.
class EngineDispatch final : public platform::ComponentObject {
public:
    QVariant invoke(const QString& member, const QVariantList& arguments, CallKind kind) override;

private:
    QVariant call(const QString& member, const QVariantList& arguments, CallKind kind);

    KLEngine engine_;
};

} // namespace kl::binding
