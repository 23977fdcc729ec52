#include "platform/Component.h"

#include "platform/Registry.h"
#include "platform/RuntimeError.h"

#include <QLibrary>

namespace platform {

namespace {

QString classKey(const QString& progId)
{
    return QStringLiteral("Software\\Classes\\") + progId;
}

QString serverKey(const QString& progId)
{
    return classKey(progId) + QStringLiteral("\\InprocServer32");
}

} // namespace

DispatchObject::DispatchObject(std::shared_ptr<QLibrary> library, std::unique_ptr<ComponentObject> object)
    : library_(std::move(library)), object_(std::move(object))
{
}

// The object goes before its library reference; the library itself stays
// loaded for the life of the process (unloading code that registered Qt
// types or threads is not safe).
DispatchObject::~DispatchObject() = default;
DispatchObject::DispatchObject(DispatchObject&&) noexcept = default;
DispatchObject& DispatchObject::operator=(DispatchObject&&) noexcept = default;

QVariant DispatchObject::invoke(const QString& member, const QVariantList& arguments)
{
    if (!object_)
        throw RuntimeError(err::ObjectNotSet);
    return object_->invoke(member, arguments, ComponentObject::CallKind::Method);
}

QVariant DispatchObject::get(const QString& property)
{
    if (!object_)
        throw RuntimeError(err::ObjectNotSet);
    return object_->invoke(property, {}, ComponentObject::CallKind::PropertyGet);
}

void DispatchObject::set(const QString& property, const QVariant& value)
{
    if (!object_)
        throw RuntimeError(err::ObjectNotSet);
    object_->invoke(property, {value}, ComponentObject::CallKind::PropertyPut);
}

QString registeredLibrary(const QString& progId)
{
    if (progId.trimmed().isEmpty())
        return {};
    return readRegistryString(Hive::CurrentUser, serverKey(progId), {}).value_or(QString());
}

bool registerComponent(const QString& progId, const QString& libraryPath)
{
    if (progId.trimmed().isEmpty() || progId.contains(u'\\'))
        return false;
    return writeRegistryString(Hive::CurrentUser, serverKey(progId), {}, libraryPath);
}

bool unregisterComponent(const QString& progId)
{
    if (progId.trimmed().isEmpty() || progId.contains(u'\\'))
        return false;
    return deleteRegistryKey(Hive::CurrentUser, classKey(progId));
}

DispatchObject createObject(const QString& progId)
{
    const QString path = registeredLibrary(progId);
    if (path.isEmpty())
        throw RuntimeError(err::CantCreateObject);
    auto library = std::make_shared<QLibrary>(path);
    if (!library->load())
        throw RuntimeError(err::CantCreateObject);
    const auto factory = reinterpret_cast<ClassFactoryFunction>(library->resolve(ClassFactoryExport));
    if (!factory)
        throw RuntimeError(err::NoAutomationInterface);
    std::unique_ptr<ComponentObject> object;
    try {
        object.reset(factory(progId.toUtf8().constData()));
    } catch (...) {
        throw RuntimeError(err::CantCreateObject);
    }
    if (!object)
        throw RuntimeError(err::CantCreateObject);
    return DispatchObject(std::move(library), std::move(object));
}

} // namespace platform
