#include "core/MapFile.h"

#include "core/NumberInput.h"

#include <platform/Profile.h>
#include <platform/RuntimeError.h>
#include <platform/TextFile.h>
#include <platform/TextRules.h>

#include <QFile>
#include <QFileInfo>

#include <QStringList>

#include <cmath>

namespace landlume {
namespace {

const QString kLandscape = QStringLiteral("LANDSCAPE");
const QString kLightmap = QStringLiteral("LIGHTMAP");
const QString kObjects = QStringLiteral("OBJECTS");
const QString kLight = QStringLiteral("LIGHT");

// A failure at one key of the file.
struct KeyError {
    QString section;
    QString key;
    QString reason;
};

class Reader {
public:
    explicit Reader(QString path) : path_(std::move(path)) {}

    QString text(const QString& section, const QString& key)
    {
        at(section, key);
        return readMapKey(section, key, path_);
    }
    // Leading numeric part, 0 when none; one beyond the range of a number
    // (such as 1e620) fails at its key.
    double leadingNumber(const QString& section, const QString& key) { return leadingValue(text(section, key)); }
    // The same as a single-precision value; one beyond its range (such as
    // 1e200) fails at its key instead of turning into infinity.
    float leadingSingle(const QString& section, const QString& key)
    {
        const QString value = text(section, key);
        const double number = leadingValue(value);
        const float narrowed = float(number);
        if (std::isinf(narrowed) && !std::isinf(number))
            fail(tooLarge(value));
        return narrowed;
    }
    double number(const QString& section, const QString& key)
    {
        const QString value = text(section, key);
        const std::optional<double> n = strictNumber(value);
        if (!n)
            fail(QStringLiteral("\"%1\" is not a number").arg(value));
        return *n;
    }
    float single(const QString& value)
    {
        const std::optional<float> n = strictSingle(value);
        if (!n)
            fail(QStringLiteral("\"%1\" is not a number").arg(value));
        return *n;
    }
    D3DVECTOR vector(const QString& section, const QString& key)
    {
        const QString value = text(section, key);
        const QStringList parts = value.split(QLatin1Char(';'));
        if (parts.size() < 3)
            fail(QStringLiteral("\"%1\" holds fewer than three numbers").arg(value));
        return D3DVECTOR{single(parts[0]), single(parts[1]), single(parts[2])};
    }
    bool boolean(const QString& section, const QString& key)
    {
        const QString value = text(section, key).trimmed();
        if (value.compare(QLatin1String("True"), Qt::CaseInsensitive) == 0)
            return true;
        if (value.compare(QLatin1String("False"), Qt::CaseInsensitive) == 0)
            return false;
        const std::optional<double> n = strictNumber(value);
        if (!n)
            fail(QStringLiteral("\"%1\" is neither True nor False").arg(value));
        return *n != 0.0;
    }
    // Runs one step of the load that acts on the program, as part of the
    // current key: its failure is reported at that key.
    template <class Step>
    void act(Step&& step)
    {
        try {
            step();
        } catch (const KeyError&) {
            throw;
        } catch (...) {
            fail(platform::toRuntimeError(std::current_exception()).description);
        }
    }
    [[noreturn]] void fail(const QString& reason) { throw KeyError{section_, key_, reason}; }

private:
    static QString tooLarge(const QString& value) { return QStringLiteral("\"%1\" is too large a number").arg(value); }
    double leadingValue(const QString& value)
    {
        try {
            return platform::val(value);
        } catch (const platform::RuntimeError&) {
            fail(tooLarge(value));
        }
    }
    void at(const QString& section, const QString& key)
    {
        section_ = section;
        key_ = key;
    }
    QString path_;
    QString section_;
    QString key_;
};

qint32 wholeNumber(Reader& reader, double value)
{
    try {
        return platform::clng(value);
    } catch (const platform::RuntimeError& error) {
        reader.fail(error.description);
    }
}

} // namespace

QString mapBoolean(bool value)
{
    return platform::cstrBoolean(value);
}

QString mapVector(const D3DVECTOR& v)
{
    return platform::singleText(v.x) + QLatin1Char(';') + platform::singleText(v.y) + QLatin1Char(';') +
           platform::singleText(v.z);
}

bool writeMapKey(const QString& section, const QString& key, const QString& value, const QString& path)
{
    return platform::writeProfileString(section, key, value, path);
}

QString readMapKey(const QString& section, const QString& key, const QString& path)
{
    return platform::getProfileString(section, key, QString(), kMapValueBuffer, path);
}

MapSaveResult saveMap(const MapScene& scene, const QString& path)
{
    using platform::singleText;
    struct Entry {
        const QString& section;
        QString key;
        QString value;
    };
    std::vector<Entry> entries{
        {kLandscape, QStringLiteral("Heightmap"), scene.heightmap},
        {kLandscape, QStringLiteral("Width"), platform::cstrInteger(scene.width)},
        {kLandscape, QStringLiteral("Height"), platform::cstrInteger(scene.height)},
        {kLandscape, QStringLiteral("FactorY"), singleText(scene.factorY)},
        {kLightmap, QStringLiteral("Lightmap"), scene.lightmap},
        {kLightmap, QStringLiteral("Width"), singleText(scene.texWidth)},
        {kLightmap, QStringLiteral("Height"), singleText(scene.texHeight)},
        {kLightmap, QStringLiteral("Alpha"), singleText(scene.alpha)},
        {kObjects, QStringLiteral("Count"), singleText(float(scene.objects.size()))},
    };
    for (std::size_t i = 0; i < scene.objects.size(); ++i) {
        const PlacedObject& object = scene.objects[i];
        const QString n = platform::cstrInteger(qint64(i + 1));
        entries.push_back({kObjects, QStringLiteral("Object") + n, object.fileName});
        entries.push_back({kObjects, QStringLiteral("Position") + n, mapVector(object.meshPosition)});
        entries.push_back({kObjects, QStringLiteral("Rotation") + n, mapVector(object.meshRotation)});
        entries.push_back({kObjects, QStringLiteral("Scale") + n, mapVector(object.meshScale)});
        entries.push_back({kObjects, QStringLiteral("Aligned") + n, mapBoolean(object.aligned)});
        entries.push_back({kObjects, QStringLiteral("Positioned") + n, mapBoolean(object.onLand)});
    }
    entries.push_back({kLight, QStringLiteral("Direction"), mapVector(scene.lightDirection)});
    entries.push_back({kLight, QStringLiteral("Land shadows"), mapBoolean(scene.landShadows)});
    entries.push_back({kLight, QStringLiteral("Object shadows"), mapBoolean(scene.objectShadows)});

    // The keys are written one at a time into a copy that replaces the map
    // as a whole, so a failure part-way leaves the previous map.
    MapSaveResult result;
    const platform::StagedProfileSave saved = platform::saveProfileThroughCopy(path, [&](const QString& copy) {
        for (const Entry& entry : entries) {
            if (!writeMapKey(entry.section, entry.key, entry.value, copy)) {
                result.failedKey = entry.section + QLatin1Char('/') + entry.key;
                return false;
            }
        }
        return true;
    });
    result.ok = saved.ok;
    result.error = saved.error;
    return result;
}

QString MapLoadResult::message() const
{
    if (ok)
        return {};
    return QStringLiteral("The map was loaded up to key \"%1\" of section [%2], which failed: %3.")
        .arg(key, section, reason);
}

MapLoadResult loadMap(const QString& path, MapTarget& target)
{
    Reader read(path);
    try {
        const QString heightmap = read.text(kLandscape, QStringLiteral("Heightmap"));
        const qint32 width = wholeNumber(read, read.leadingNumber(kLandscape, QStringLiteral("Width")));
        const qint32 height = wholeNumber(read, read.leadingNumber(kLandscape, QStringLiteral("Height")));
        const float factorY = read.leadingSingle(kLandscape, QStringLiteral("FactorY"));
        read.act([&] { target.buildLandscape(heightmap, width, height, factorY); });

        const QString lightmap = read.text(kLightmap, QStringLiteral("Lightmap"));
        const float texWidth = read.leadingSingle(kLightmap, QStringLiteral("Width"));
        const float texHeight = read.leadingSingle(kLightmap, QStringLiteral("Height"));
        const float alpha = read.leadingSingle(kLightmap, QStringLiteral("Alpha"));
        read.act([&] { target.setLightmapSize(lightmap, texWidth, texHeight, alpha); });
        // A map saved without a lightmap names none: there is nothing to load.
        if (!lightmap.isEmpty()) {
            read.text(kLightmap, QStringLiteral("Lightmap"));
            read.act([&] { target.applyLightmap(lightmap); });
        }

        const double count = read.number(kObjects, QStringLiteral("Count"));
        if (count > double(kMaxMapObjects))
            read.fail(QStringLiteral("more than %1 objects").arg(kMaxMapObjects));
        const int objects = count > 0.0 ? wholeNumber(read, count) : 0;
        for (int i = 1; i <= objects; ++i) {
            const QString n = platform::cstrInteger(i);
            PlacedObject object;
            object.fileName = read.text(kObjects, QStringLiteral("Object") + n);
            object.meshPosition = read.vector(kObjects, QStringLiteral("Position") + n);
            object.meshRotation = read.vector(kObjects, QStringLiteral("Rotation") + n);
            object.meshScale = read.vector(kObjects, QStringLiteral("Scale") + n);
            object.aligned = read.boolean(kObjects, QStringLiteral("Aligned") + n);
            object.onLand = read.boolean(kObjects, QStringLiteral("Positioned") + n);
            read.text(kObjects, QStringLiteral("Object") + n);
            read.act([&] { target.placeObject(objectFileType(object.fileName), object); });
        }

        const D3DVECTOR direction = read.vector(kLight, QStringLiteral("Direction"));
        read.act([&] { target.setLight(direction); });
        const bool landShadows = read.boolean(kLight, QStringLiteral("Land shadows"));
        const bool objectShadows = read.boolean(kLight, QStringLiteral("Object shadows"));
        read.act([&] { target.setShadowFlags(landShadows, objectShadows); });
        target.showSettings();
    } catch (const KeyError& error) {
        target.showSettings();
        return MapLoadResult{false, error.section, error.key, error.reason};
    }
    return {};
}

} // namespace landlume
