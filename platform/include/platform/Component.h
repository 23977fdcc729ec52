#pragma once
// Component objects created by name and called by member name, standing in
// for COM registration and late binding (CreateObject, calls by name).
//
// The component registry is the registry key
//   HKEY_CURRENT_USER\Software\Classes\<ProgID>\InprocServer32
// whose default value is the path of the library serving the class. The
// library exports (extern "C")
//   platform::ComponentObject* DllGetClassObject(const char* progIdUtf8);
// returning a new object for a class it serves, or nullptr.

#include <QString>
#include <QVariant>
#include <QVariantList>

#include <memory>

class QLibrary;

namespace platform {

// What an object of a component library implements.
class ComponentObject {
public:
    enum class CallKind { Method, PropertyGet, PropertyPut };
    virtual ~ComponentObject() = default;
    // Calls `member` (a method, or a property read / write; a write takes the
    // value as its one argument). Throws RuntimeError 438 for a member the
    // object does not have.
    virtual QVariant invoke(const QString& member, const QVariantList& arguments, CallKind kind) = 0;
};

using ClassFactoryFunction = ComponentObject* (*)(const char* progIdUtf8);
inline constexpr const char* ClassFactoryExport = "DllGetClassObject";

// A late-bound object: holds the object and keeps its library loaded.
class DispatchObject {
public:
    DispatchObject(std::shared_ptr<QLibrary> library, std::unique_ptr<ComponentObject> object);
    ~DispatchObject();
    DispatchObject(DispatchObject&&) noexcept;
    DispatchObject& operator=(DispatchObject&&) noexcept;

    QVariant invoke(const QString& member, const QVariantList& arguments = {});
    QVariant get(const QString& property);
    void set(const QString& property, const QVariant& value);

private:
    std::shared_ptr<QLibrary> library_;
    std::unique_ptr<ComponentObject> object_;
};

// CreateObject: the registered library of `progId`, loaded, asked for the
// object. Throws RuntimeError 429 when the class is not registered, its
// library cannot be loaded or does not serve the class, 430 when the library
// has no class factory export.
DispatchObject createObject(const QString& progId);

// The library path registered for `progId`; empty when none.
QString registeredLibrary(const QString& progId);
// Writes / removes the registration (what DllRegisterServer and
// DllUnregisterServer of a library do). False when the registry cannot be written.
bool registerComponent(const QString& progId, const QString& libraryPath);
bool unregisterComponent(const QString& progId);

} // namespace platform
