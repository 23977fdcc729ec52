#include "platform/Registry.h"

#include "IniLines.h"
#include "platform/Profile.h"
#include "platform/TextFile.h"

#include <QByteArray>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QOffscreenSurface>
#include <QOpenGLContext>
#include <QOpenGLFunctions>
#include <QStringDecoder>

#include <vector>

#if defined(__SANITIZE_ADDRESS__)
#include <sanitizer/lsan_interface.h>
#endif

namespace platform {

namespace {

struct RegistryValue {
    QString name;
    bool isDword = false;
    QString text;
    quint32 number = 0;
};

struct RegistryKey {
    QString path;      // normalised: single backslashes, no empty parts
    QString section;   // the header's name as written, which the profile functions match
    std::vector<RegistryValue> values;
};

// A parsed hive; `damaged` when the file exists but does not follow the form.
struct HiveData {
    bool exists = false;
    bool damaged = false;
    std::vector<RegistryKey> keys;
};

bool needsEscape(QChar c, qsizetype index, qsizetype size, bool isName)
{
    if (c.unicode() < 0x20 || c == u'%' || c.unicode() == 0x7F)
        return true;
    if ((index == 0 || index == size - 1) && (c == u' ' || c == u'\t'))
        return true;
    if (isName && (c == u'=' || c == u';' || c == u'[' || c == u']' || (index == 0 && c == u'@')))
        return true;
    return false;
}

QString escape(const QString& text, bool isName)
{
    QString out;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (needsEscape(c, i, text.size(), isName)) {
            for (const char byte : QString(c).toUtf8())
                out += QStringLiteral("%%1").arg(static_cast<uchar>(byte), 2, 16, QChar(u'0')).toUpper();
        } else {
            out += c;
        }
    }
    return out;
}

std::optional<QString> unescape(const QString& text)
{
    QByteArray bytes;
    const QByteArray utf8 = text.toUtf8();
    for (qsizetype i = 0; i < utf8.size(); ++i) {
        if (utf8.at(i) != '%') {
            bytes += utf8.at(i);
            continue;
        }
        bool ok = false;
        const int value = utf8.mid(i + 1, 2).toInt(&ok, 16);
        if (!ok || i + 2 >= utf8.size())
            return std::nullopt;
        bytes += static_cast<char>(value);
        i += 2;
    }
    if (!isValidUtf8(bytes))
        return std::nullopt;
    // A leading U+FEFF is kept as the character it is (fromUtf8 would drop
    // it), so the name is the one the profile functions match on.
    QStringDecoder decoder(QStringDecoder::Utf8, QStringConverter::Flag::ConvertInitialBom);
    return QString(decoder(bytes));
}

QString normalKeyPath(const QString& key)
{
    return key.split(u'\\', Qt::SkipEmptyParts).join(u'\\');
}

bool sameName(const QString& a, const QString& b)
{
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

std::optional<RegistryValue> parseValue(const ini::ParsedLine& line)
{
    RegistryValue value;
    if (line.name == QLatin1String("@")) {
        value.name.clear();
    } else {
        const auto name = unescape(line.name);
        if (!name)
            return std::nullopt;
        value.name = *name;
    }
    const QString data = line.rawValue;
    if (data.startsWith(QLatin1String("sz:"))) {
        const auto text = unescape(data.mid(3));
        if (!text)
            return std::nullopt;
        value.text = *text;
        return value;
    }
    if (data.startsWith(QLatin1String("dword:"))) {
        const QString digits = data.mid(6).trimmed();
        bool ok = false;
        const qulonglong number = digits.toULongLong(&ok, 16);
        if (!ok || digits.size() > 8 || digits.isEmpty())
            return std::nullopt;
        value.isDword = true;
        value.number = static_cast<quint32>(number);
        return value;
    }
    return std::nullopt;
}

HiveData parseHive(const QByteArray& bytes)
{
    HiveData hive;
    hive.exists = true;
    if (!isValidUtf8(bytes)) {
        hive.damaged = true;
        return hive;
    }
    for (const ini::RawLine& raw : ini::splitRawLines(bytes)) {
        // The store is edited through the profile functions: their limits apply.
        if (raw.text.size() > MaxProfileLineLength) {
            hive.damaged = true;
            return hive;
        }
        const ini::ParsedLine line = ini::parseLine(raw.text, true);
        switch (line.kind) {
        case ini::LineKind::Blank:
        case ini::LineKind::Comment:
            break;
        case ini::LineKind::Section: {
            const auto path = unescape(line.name);
            if (!path || !line.rawValue.trimmed().isEmpty()) {
                hive.damaged = true;
                return hive;
            }
            hive.keys.push_back({normalKeyPath(*path), line.name, {}});
            break;
        }
        case ini::LineKind::Entry: {
            const auto value = parseValue(line);
            if (!value || hive.keys.empty()) {
                hive.damaged = true;
                return hive;
            }
            hive.keys.back().values.push_back(*value);
            break;
        }
        case ini::LineKind::Unparsed:
            hive.damaged = true;
            return hive;
        }
    }
    return hive;
}

HiveData loadHive(Hive which)
{
    const QString path = hiveFile(which);
    if (!QFileInfo::exists(path))
        return {};
    const ReadResult read = readWholeFile(path, MaxProfileFileSize);
    if (!read) {
        HiveData damaged;
        damaged.exists = true;
        damaged.damaged = true;
        return damaged;
    }
    return parseHive(read.data);
}

QString valueLineName(const QString& name)
{
    return name.isEmpty() ? QStringLiteral("@") : escape(name, true);
}

QString valueLineData(const RegistryValue& value)
{
    return value.isDword ? QStringLiteral("dword:%1").arg(value.number, 8, 16, QChar(u'0'))
                         : QStringLiteral("sz:") + escape(value.text, false);
}

// A new hive file starts with a line naming its hive.
bool ensureHiveFile(Hive which)
{
    const QString path = hiveFile(which);
    if (QFileInfo::exists(path))
        return true;
    if (!QDir().mkpath(registryFolder()))
        return false;
    return saveFileAtomically(path, joinLinesCrLf({QStringLiteral("; Korlith3D registry store: %1")
                                                      .arg(hiveName(which))}))
        .ok;
}

RegistryKey* findKey(HiveData& hive, const QString& key)
{
    const QString wanted = normalKeyPath(key);
    for (RegistryKey& k : hive.keys)
        if (sameName(k.path, wanted))
            return &k;
    return nullptr;
}

const RegistryValue* findValue(Hive which, const QString& key, const QString& name, HiveData& hive)
{
    hive = loadHive(which);
    if (hive.damaged)
        return nullptr;
    RegistryKey* k = findKey(hive, key);
    if (!k)
        return nullptr;
    for (const RegistryValue& v : k->values)
        if (sameName(v.name, name))
            return &v;
    return nullptr;
}

// Writes edit the file line by line (the profile functions), so every other
// line, comments included, stays as it was; they run only on a file that
// parses completely.
bool writeValue(Hive which, const QString& key, const RegistryValue& value)
{
    const QString path = normalKeyPath(key);
    if (path.isEmpty())
        return false;
    HiveData hive = loadHive(which);
    if (hive.damaged || !ensureHiveFile(which))
        return false;
    const RegistryKey* existing = findKey(hive, path);
    const QString section = existing ? existing->section : escape(path, true);
    return writeProfileString(section, valueLineName(value.name), valueLineData(value), hiveFile(which));
}

} // namespace

std::optional<Hive> hiveFromName(const QString& name)
{
    const QString upper = name.trimmed().toUpper();
    if (upper == QLatin1String("HKEY_CURRENT_USER") || upper == QLatin1String("HKCU"))
        return Hive::CurrentUser;
    if (upper == QLatin1String("HKEY_LOCAL_MACHINE") || upper == QLatin1String("HKLM"))
        return Hive::LocalMachine;
    return std::nullopt;
}

QString hiveName(Hive hive)
{
    return hive == Hive::CurrentUser ? QStringLiteral("HKEY_CURRENT_USER")
                                     : QStringLiteral("HKEY_LOCAL_MACHINE");
}

QString registryFolder()
{
    const QString overridden = qEnvironmentVariable("KORLITH3D_REGISTRY_DIR");
    if (!overridden.isEmpty())
        return overridden;
    QString config = qEnvironmentVariable("XDG_CONFIG_HOME");
    if (config.isEmpty() || QDir::isRelativePath(config))
        config = QDir::homePath() + QStringLiteral("/.config");
    return config + QStringLiteral("/korlith3d/registry");
}

QString hiveFile(Hive hive)
{
    return registryFolder() + u'/' + hiveName(hive) + QStringLiteral(".ini");
}

std::optional<QString> readRegistryString(Hive hive, const QString& key, const QString& name)
{
    HiveData data;
    const RegistryValue* value = findValue(hive, key, name, data);
    if (!value || value->isDword)
        return std::nullopt;
    return value->text;
}

std::optional<quint32> readRegistryDword(Hive hive, const QString& key, const QString& name)
{
    HiveData data;
    const RegistryValue* value = findValue(hive, key, name, data);
    if (!value || !value->isDword)
        return std::nullopt;
    return value->number;
}

bool registryKeyExists(Hive hive, const QString& key)
{
    HiveData data = loadHive(hive);
    if (data.damaged)
        return false;
    if (findKey(data, key))
        return true;
    return !registrySubkeys(hive, key).isEmpty();
}

QStringList registrySubkeys(Hive hive, const QString& key)
{
    const HiveData data = loadHive(hive);
    QStringList names;
    if (data.damaged)
        return names;
    const QString prefix = normalKeyPath(key) + u'\\';
    for (const RegistryKey& k : data.keys) {
        if (!k.path.startsWith(prefix, Qt::CaseInsensitive))
            continue;
        const QString child = k.path.mid(prefix.size()).section(u'\\', 0, 0);
        const bool known = std::any_of(names.begin(), names.end(),
                                       [&](const QString& n) { return sameName(n, child); });
        if (!known)
            names.append(child);
    }
    return names;
}

bool writeRegistryString(Hive hive, const QString& key, const QString& name, const QString& value)
{
    RegistryValue v;
    v.name = name;
    v.text = value;
    return writeValue(hive, key, v);
}

bool writeRegistryDword(Hive hive, const QString& key, const QString& name, quint32 value)
{
    RegistryValue v;
    v.name = name;
    v.isDword = true;
    v.number = value;
    return writeValue(hive, key, v);
}

bool deleteRegistryValue(Hive hive, const QString& key, const QString& name)
{
    HiveData data = loadHive(hive);
    if (data.damaged)
        return false;
    const RegistryKey* k = findKey(data, key);
    if (!k)
        return true;
    return deleteProfileKey(k->section, valueLineName(name), hiveFile(hive));
}

bool deleteRegistryKey(Hive hive, const QString& key)
{
    HiveData data = loadHive(hive);
    if (data.damaged)
        return false;
    const QString path = normalKeyPath(key);
    if (path.isEmpty())
        return false;
    for (const RegistryKey& k : data.keys) {
        const bool inside = sameName(k.path, path) || k.path.startsWith(path + u'\\', Qt::CaseInsensitive);
        if (inside && !deleteProfileSection(k.section, hiveFile(hive)))
            return false;
    }
    return true;
}

namespace {

struct GlProbe {
    bool available = false;
    QString renderer;
};

GlProbe runGlProbe()
{
#if defined(__SANITIZE_ADDRESS__)
    // The GL driver keeps allocations of its own (shader JIT) for the whole
    // process; they are not ours to free.
    __lsan::ScopedDisabler driverAllocations;
#endif
    GlProbe result;
    QSurfaceFormat format;
    format.setVersion(3, 3);
    format.setProfile(QSurfaceFormat::CoreProfile);
    QOpenGLContext context;
    context.setFormat(format);
    if (!context.create())
        return result;
    const QSurfaceFormat got = context.format();
    if (got.majorVersion() < 3 || (got.majorVersion() == 3 && got.minorVersion() < 3))
        return result;
    QOffscreenSurface surface;
    surface.setFormat(got);
    surface.create();
    if (!surface.isValid() || !context.makeCurrent(&surface))
        return result;
    const auto* name = context.functions()->glGetString(GL_RENDERER);
    result.renderer = name ? QString::fromLatin1(reinterpret_cast<const char*>(name)) : QString();
    result.available = true;
    context.doneCurrent();
    return result;
}

// The probe runs once per process; without a QGuiApplication no context can
// be made, and nothing is remembered so a later call can still probe.
GlProbe glProbe()
{
    static std::optional<GlProbe> probed;
    if (probed)
        return *probed;
    if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
        return {};
    probed = runGlProbe();
    return *probed;
}

} // namespace

std::optional<QString> directXVersion()
{
    if (auto stored = readRegistryString(Hive::LocalMachine, QStringLiteral("SOFTWARE\\Microsoft\\DirectX"),
                                         QStringLiteral("Version")))
        return stored;
    if (glProbe().available)
        return QStringLiteral("4.09.00.0904");
    return std::nullopt;
}

std::optional<QString> adapterDescription()
{
    if (!glProbe().available)
        return std::nullopt;
    return glProbe().renderer;
}

} // namespace platform
