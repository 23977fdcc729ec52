// A component library for the late-binding tests: serves "Test.Counter"
// with a method "Add", a property "Total" and a method that fails.
#include "platform/Component.h"
#include "platform/RuntimeError.h"

namespace {

class Counter final : public platform::ComponentObject {
public:
    QVariant invoke(const QString& member, const QVariantList& arguments, CallKind kind) override
    {
        if (member.compare(QLatin1String("Add"), Qt::CaseInsensitive) == 0 && kind == CallKind::Method) {
            for (const QVariant& a : arguments)
                total_ += a.toInt();
            return total_;
        }
        if (member.compare(QLatin1String("Total"), Qt::CaseInsensitive) == 0) {
            if (kind == CallKind::PropertyPut && arguments.size() == 1)
                total_ = arguments.front().toInt();
            return total_;
        }
        if (member == QLatin1String("Fail"))
            throw platform::RuntimeError(53, QStringLiteral("missing.bmp"));
        throw platform::RuntimeError(platform::err::NoSuchMember);
    }

private:
    int total_ = 0;
};

} // namespace

extern "C" __attribute__((visibility("default"))) platform::ComponentObject* DllGetClassObject(const char* progId)
{
    if (QString::fromUtf8(progId).compare(QLatin1String("Test.Counter"), Qt::CaseInsensitive) != 0)
        return nullptr;
    return new Counter;
}
