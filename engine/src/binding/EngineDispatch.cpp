#include "binding/EngineDispatch.h"

#include "korlith3d/types.h"

#include <platform/RuntimeError.h>

namespace kl::binding {

namespace {

constexpr int WrongArgumentCount = 450;

bool is(const QString& member, const char* name)
{
    return member.compare(QLatin1String(name), Qt::CaseInsensitive) == 0;
}

void expectArguments(const QVariantList& arguments, qsizetype least, qsizetype most)
{
    if (arguments.size() < least || arguments.size() > most)
        throw platform::RuntimeError(WrongArgumentCount,
                                     QStringLiteral("Wrong number of arguments or invalid property assignment"));
}

// Late-bound arguments arrive as variants: numbers, texts or booleans.
bool toBool(const QVariant& value)
{
    if (value.canConvert<bool>())
        return value.toBool();
    throw platform::RuntimeError(platform::err::TypeMismatch);
}

std::uintptr_t toWindow(const QVariant& value)
{
    bool ok = false;
    const qulonglong window = value.toULongLong(&ok);
    if (!ok)
        throw platform::RuntimeError(platform::err::TypeMismatch);
    return static_cast<std::uintptr_t>(window);
}

QString toText(const QVariant& value)
{
    if (!value.canConvert<QString>())
        throw platform::RuntimeError(platform::err::TypeMismatch);
    return value.toString();
}

} // namespace

QVariant EngineDispatch::invoke(const QString& member, const QVariantList& arguments, CallKind kind)
{
    // Engine failures leave the library as the platform's run-time error, so
    // the caller's error handling sees a number whatever type it knows.
    try {
        return call(member, arguments, kind);
    } catch (const KLError& error) {
        throw platform::RuntimeError(error.Number(), error.Description());
    }
}

QVariant EngineDispatch::call(const QString& member, const QVariantList& arguments, CallKind kind)
{
    if (is(member, "DisplayFPS")) {
        if (kind == CallKind::PropertyGet && arguments.isEmpty())
            return engine_.GetDisplayFPS();
        expectArguments(arguments, 1, 1);
        engine_.DisplayFPS(toBool(arguments.front()));
        return {};
    }
    if (kind != CallKind::Method)
        throw platform::RuntimeError(platform::err::NoSuchMember);
    if (is(member, "GetDLLPath")) {
        expectArguments(arguments, 0, 0);
        return KLEngine::GetDLLPath();
    }
    if (is(member, "SetDebugFile")) {
        expectArguments(arguments, 1, 1);
        engine_.SetDebugFile(toText(arguments.front()));
        return {};
    }
    if (is(member, "Init3DWindowedMode")) {
        expectArguments(arguments, 1, 2);
        const bool hardware = arguments.size() < 2 || toBool(arguments.at(1));
        return engine_.Init3DWindowedMode(toWindow(arguments.front()), hardware);
    }
    if (is(member, "Clear")) {
        expectArguments(arguments, 0, 1);
        engine_.Clear(!arguments.isEmpty() && toBool(arguments.front()));
        return {};
    }
    if (is(member, "RenderToScreen")) {
        expectArguments(arguments, 0, 0);
        engine_.RenderToScreen();
        return {};
    }
    throw platform::RuntimeError(platform::err::NoSuchMember);
}

} // namespace kl::binding
