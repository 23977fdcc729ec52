#include "Presets.h"

#include <QFile>
#include <QHash>
#include <QTextStream>

namespace kldemo {
namespace {

// Keys in lower case, with their values in file order.
struct Section {
    QStringList keys;
    QHash<QString, QString> values;
    QString value(const QString& key) const { return values.value(key); }
};

std::optional<QHash<QString, Section>> readIni(const QString& file)
{
    QFile in(file);
    if (!in.open(QIODevice::ReadOnly | QIODevice::Text))
        return std::nullopt;
    QHash<QString, Section> sections;
    QString current;
    QTextStream text(&in);
    while (!text.atEnd()) {
        const QString line = text.readLine().trimmed();
        if (line.startsWith(u'[') && line.endsWith(u']')) {
            current = line.mid(1, line.size() - 2).toLower();
        } else if (const qsizetype equals = line.indexOf(u'='); equals > 0) {
            Section& section = sections[current];
            const QString key = line.left(equals).trimmed().toLower();
            if (!section.values.contains(key))
                section.keys << key;
            section.values[key] = line.mid(equals + 1).trimmed();
        }
    }
    return sections;
}

} // namespace

QStringList presetNames(const QString& file)
{
    QStringList names;
    if (const auto ini = readIni(file)) {
        const Section list = ini->value(QStringLiteral("presets"));
        for (const QString& key : list.keys)
            names << list.value(key);
    }
    return names;
}

std::optional<EmitterSet> loadPreset(const QString& file, const QString& name)
{
    const auto ini = readIni(file);
    if (!ini || !ini->contains(name.toLower()))
        return std::nullopt;
    const Section& section = ini->value(name.toLower());
    EmitterSet set;
    for (int i = 0; i < 3; ++i) {
        const auto number = [&](const char* key, float fallback) {
            bool ok = false;
            const float value = section.value(QString::number(i) + QLatin1String(key).toString().toLower()).toFloat(&ok);
            return ok ? value : fallback;
        };
        EmitterSettings& e = set[std::size_t(i)];
        e.Enabled = number("Enabled", 1) != 0;
        e.Total = int(number("ParticleTotal", 1000));
        e.Size = int(number("Size", 5));
        e.TextureID = int(number("TextureID", 1));
        e.Life = number("Life", 200) / 100;
        e.Velocity = {number("VelocityX", 0), number("VelocityY", 0), number("VelocityZ", 0)};
        e.Color = {number("ColorRed", 255) / 255, number("ColorGreen", 255) / 255, number("ColorBlue", 255) / 255, 1};
        e.ColorRnd = number("ColorRnd", 0) != 0;
        e.Speed = number("ParticleSpeed", 3) / 100;
        e.Gravity = int(std::lround(number("Gravity", 2)));
        e.Bounce = number("Bounce", 30) / 100;
        e.Power = number("Power", 100) / 100;
        e.EmittorSpeed = number("EmittorSpeed", 5);
        e.MotionSpeed = number("MotionSpeed", 0.5f);
        e.Style = int(number("Style", 1));
        e.Motion = int(number("Motion", 0));
        e.Distance = {number("DistanceX", 5), number("DistanceY", 5), number("DistanceZ", 5)};
    }
    return set;
}

} // namespace kldemo
