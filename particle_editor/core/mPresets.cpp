#include "core/mPresets.h"

#include "core/cInifile.h"

#include <platform/Interaction.h>
#include <platform/Profile.h>
#include <platform/RuntimeError.h>
#include <platform/TextRules.h>

#include <QFileInfo>

#include <functional>

namespace emberly {

namespace {

QString floatText(double value)
{
    return platform::singleText(float(value));
}

QString intText(qint64 value)
{
    return QString::number(value);
}

// A stored value as a number: the whole text must be one, or it is a type
// mismatch (a missing key reads "").
double storedNumber(const QString& text)
{
    bool ok = false;
    const double value = text.trimmed().toDouble(&ok);
    if (!ok)
        throw platform::RuntimeError(platform::err::TypeMismatch);
    return value;
}

void logStep(PresetWindow& window, const QString& procedure, const std::function<void()>& step)
{
    platform::runCaught(step, [&](const platform::RuntimeError& e) {
        window.log(QStringLiteral("Error : ") + procedure + QStringLiteral(" : #") + QString::number(e.number) +
                   QStringLiteral(" : ") + e.description);
    });
}

const QString kCustomTextureQuestion =
    QStringLiteral("The Preset you are loading has a Custom Texture.\r\n\r\nDo you wish to load it now?");

} // namespace

QStringList presetKeyWords()
{
    return {"Size",     "TextureID",     "Life",          "VelocityX",   "VelocityY", "VelocityZ",
            "ColorRed", "ColorGreen",    "ColorBlue",     "ColorRnd",    "ParticleSpeed", "ParticleTotal",
            "Enabled",  "Gravity",       "Bounce",        "Power",       "EmittorSpeed",  "MotionSpeed",
            "Style",    "Motion",        "DistanceX",     "DistanceY",   "DistanceZ"};
}

QStringList presetValues(const EmitterRecords& records, int index, bool enabled)
{
    checkEmitterIndex(index);
    const ParticleSettings& p = records.particles[std::size_t(index)];
    const EmitterSettings& e = records.emitters[std::size_t(index)];
    return {intText(p.Size),
            intText(p.TextureID),
            floatText(p.Life * 100.0f),
            floatText(p.Velocity.x),
            floatText(p.Velocity.y),
            floatText(p.Velocity.z),
            floatText(p.Color.r * 255.0f),
            floatText(p.Color.g * 255.0f),
            floatText(p.Color.b * 255.0f),
            floatText(p.ColorRnd),
            floatText(p.Speed * 100.0f),
            intText(p.Total),
            enabled ? QStringLiteral("1") : QStringLiteral("0"),
            intText(e.Gravity),
            floatText(e.Bounce * 100.0f),
            floatText(e.Power * 100.0f),
            floatText(e.EmittorSpeed),
            floatText(e.MotionSpeed),
            intText(e.Style),
            intText(e.Motion),
            floatText(e.Distance.x),
            floatText(e.Distance.y),
            floatText(e.Distance.z)};
}

bool savePreset(const QString& name, const QString& file, PresetWindow& window)
{
    const QString procedure = QStringLiteral("savePreset");
    // The keys go one by one into a copy of the store, which replaces it only
    // when every key was written: a failure part-way keeps the store as it was.
    const platform::StagedProfileSave saved = platform::saveProfileThroughCopy(file, [&](const QString& copy) {
        bool allWritten = true;
        const auto write = [&](const QString& section, const QString& key, const QString& value) {
            WriteIniValue(copy, section, key, value);
            allWritten = allWritten && sharedIniFile().Success();
        };
        const QStringList words = presetKeyWords();
        for (int i = 0; i < kEmitterCount; ++i) {
            logStep(window, procedure, [&] { write(kPresetsSection, name, name); });
            QStringList values;
            logStep(window, procedure, [&] { values = presetValues(window.records(), i, window.emitterEnabled(i)); });
            for (int k = 0; k < values.size(); ++k)
                logStep(window, procedure, [&] { write(name, QString::number(i) + words[k], values[k]); });
        }
        return allWritten;
    });
    return saved.ok;
}

void loadPreset(const QString& name, const QString& file, PresetWindow& window)
{
    const QString procedure = QStringLiteral("loadPreset");
    for (int i = 0; i < kEmitterCount; ++i) {
        const auto u = std::size_t(i);
        const QString digit = QString::number(i);
        const auto number = [&](const char* word) {
            return storedNumber(ReadIniValue(file, name, digit + QString::fromLatin1(word)));
        };
        const auto step = [&](const std::function<void()>& action) { logStep(window, procedure, action); };
        ParticleSettings& p = window.records().particles[u];
        EmitterSettings& e = window.records().emitters[u];
        step([&] { p.Size = platform::cint(number("Size")); });
        step([&] {
            qint32 id = platform::clng(number("TextureID"));
            if (id == 20 && window.onlyBuiltInTextures()) {
                const int answer = platform::msgBox(
                    kCustomTextureQuestion, platform::vbYesNo | platform::vbExclamation | platform::vbDefaultButton2,
                    QStringLiteral("Emberly"));
                if (answer == platform::vbYes)
                    window.loadCustomTexture();
                else
                    id = 1;
            }
            p.TextureID = id;
        });
        step([&] { p.Life = float(number("Life") / 100.0); });
        step([&] { p.Velocity.x = platform::csng(number("VelocityX")); });
        step([&] { p.Velocity.y = platform::csng(number("VelocityY")); });
        step([&] { p.Velocity.z = platform::csng(number("VelocityZ")); });
        step([&] { p.Color.r = float(number("ColorRed") / 255.0); });
        step([&] { p.Color.g = float(number("ColorGreen") / 255.0); });
        step([&] { p.Color.b = float(number("ColorBlue") / 255.0); });
        step([&] { p.ColorRnd = platform::csng(number("ColorRnd")); });
        step([&] { p.Speed = float(number("ParticleSpeed") / 100.0); });
        step([&] { p.Total = platform::cint(number("ParticleTotal")); });
        step([&] { e.Gravity = platform::cint(platform::csng(number("Gravity"))); });
        step([&] { e.Bounce = float(number("Bounce") / 100.0); });
        step([&] { e.Power = float(number("Power") / 100.0); });
        step([&] { e.EmittorSpeed = platform::csng(number("EmittorSpeed")); });
        step([&] { e.Style = platform::cint(number("Style")); });
        step([&] { e.Motion = platform::cint(number("Motion")); });
        step([&] { e.Distance.x = platform::csng(number("DistanceX")); });
        step([&] { e.Distance.y = platform::csng(number("DistanceY")); });
        step([&] { e.Distance.z = platform::csng(number("DistanceZ")); });
        step([&] { e.MotionSpeed = platform::csng(number("MotionSpeed")); });
        step([&] {
            const qint16 value = platform::cint(platform::csng(number("Enabled")));
            if (value != 0 && value != 1)
                throw platform::RuntimeError(platform::err::InvalidPropertyValue);
            window.setEmitterEnabled(i, value == 1);
        });
    }
    const auto step = [&](const std::function<void()>& action) { logStep(window, procedure, action); };
    step([&] { window.showEmitter(0); });
    for (int i = 0; i < kEmitterCount; ++i)
        step([&] { window.applyEmitter(i); });
}

QString particleFileSection(const QString& path)
{
    return QFileInfo(path).fileName();
}

QString particleFileSavePath(const QString& chosen)
{
    const QString name = QFileInfo(chosen).fileName();
    const int dot = name.lastIndexOf(QLatin1Char('.'));
    const QString extension = dot >= 0 ? name.mid(dot) : QString();
    return extension == QLatin1String(".pkl") ? chosen : chosen + QStringLiteral(".pkl");
}

QString presetNameProblem(const QString& name)
{
    if (name.trimmed().isEmpty())
        return QStringLiteral("A preset needs a name.");
    for (const QChar c : name)
        if (c == u']' || c == u'=' || c == u'\r' || c == u'\n' || c == QChar(u'\0'))
            return QStringLiteral("The name \"%1\" cannot be used for a preset: it may not hold \"]\", \"=\" "
                                  "or a line break.")
                .arg(QString(name).replace(u'\r', u' ').replace(u'\n', u' '));
    return {};
}

QStringList presetNames(const QString& file)
{
    KeyList keys;
    EnumerateIniKeys(file, kPresetsSection, keys);
    return keys.names;
}

QString saveFailedMessage(const QString& file)
{
    return QStringLiteral("Some settings could not be written to ") + file +
           QStringLiteral(": the file was not saved completely.\r\nCheck that the folder and the file can be "
                          "written to and save again.");
}

} // namespace emberly
