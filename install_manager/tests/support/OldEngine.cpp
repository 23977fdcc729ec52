// An engine library of an older kind: it serves "Korlith3D.KLEngine" but its
// object has no "GetDLLPath" member, and it carries no version section.
#include <platform/Component.h>
#include <platform/RuntimeError.h>

namespace {

class OldEngine final : public platform::ComponentObject {
public:
    QVariant invoke(const QString& member, const QVariantList&, CallKind) override
    {
        for (const char* known : {"SetDebugFile", "Init3DWindowedMode", "DisplayFPS", "Clear", "RenderToScreen"})
            if (member.compare(QLatin1String(known), Qt::CaseInsensitive) == 0)
                return {};
        throw platform::RuntimeError(platform::err::NoSuchMember);
    }
};

} // namespace

extern "C" __attribute__((visibility("default"))) platform::ComponentObject* DllGetClassObject(const char* progId)
{
    if (QString::fromUtf8(progId).compare(QLatin1String("Korlith3D.KLEngine"), Qt::CaseInsensitive) != 0)
        return nullptr;
    return new OldEngine;
}
