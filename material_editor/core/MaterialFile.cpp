#include "core/MaterialFile.h"

#include "core/NumberText.h"

#include <platform/Paths.h>
#include <platform/TextFile.h>
#include <platform/TextRules.h>

#include <QFileInfo>

namespace glazery {

namespace {

using detail::numericValue;
using detail::toInt16;

const QString kTrue = QStringLiteral("True");

// A box text is one line in the file: line breaks inside it would shift every
// later line, so they are written as blanks.
QString oneLine(QString text)
{
    text.replace(QStringLiteral("\r\n"), QStringLiteral(" "));
    text.replace(u'\r', u' ');
    text.replace(u'\n', u' ');
    return text;
}

QString displayName(const QString& path)
{
    return QStringLiteral("\"%1\"").arg(path);
}

// Reads lines 23-43 (index 22 on) into `s`.
void parseLightPart(const QStringList& lines, MaterialSettings& s, const QString& file,
                    QStringList& warnings)
{
    LightTexts& light = s.light;
    light.direction = {lines[22], lines[23], lines[24]};
    s.lightOn = lines[25] == kTrue;

    const int object = toInt16(numericValue(lines[26]));
    if (object >= 0 && object <= 8) {
        s.shownObject = object;
    } else {
        s.shownObject = 0;
        warnings << QStringLiteral("Line 27 of %1: object \"%2\" is not 0 to 8; object 0 is shown.")
                        .arg(displayName(file), lines[26]);
    }

    light.position = {lines[27], lines[28], lines[29]};
    light.ambient = {lines[30], lines[31], lines[32]};
    light.diffuse = {lines[33], lines[34], lines[35]};
    light.specular = {lines[36], lines[37], lines[38]};
    light.range = lines[39];
    light.phi = lines[40];
    light.theta = lines[41];

    const int row = toInt16(numericValue(lines[42]));
    if (row >= 0 && row < kLightTypeRowCount) {
        light.typeRow = row;
    } else {
        light.typeRow = kDirectionalRow;
        warnings << QStringLiteral(
                        "Line 43 of %1: light type \"%2\" is not 0 to 2; \"Directional\" is used.")
                        .arg(displayName(file), lines[42]);
    }
}

void parseMaterialPart(const QStringList& lines, MaterialSettings& s)
{
    MaterialTexts& m = s.material;
    m.ambient = {lines[0], lines[1], lines[2], lines[3]};
    m.diffuse = {lines[4], lines[5], lines[6], lines[7]};
    m.emissive = {lines[8], lines[9], lines[10], lines[11]};
    m.specular = {lines[12], lines[13], lines[14], lines[15]};
    m.power = lines[16];
    s.backgroundPath = lines[17];
    s.texturePath = lines[18];
    s.bumpMapPath = lines[19];
    s.bumpMappingOff = lines[20] == kTrue;
    s.sphereMapping = numericValue(lines[21]) == 1.0;
}

// The lines of a material file, or an error when there are fewer than 43.
QStringList materialLines(const QByteArray& content, const QString& file, QString& error)
{
    const QStringList lines = platform::splitLines(platform::decodeText(content));
    if (lines.size() < kMaterialFileLineCount) {
        error = QStringLiteral("The material file %1 has %2 lines; a material file has %3. "
                               "Nothing was changed.")
                    .arg(displayName(file))
                    .arg(lines.size())
                    .arg(kMaterialFileLineCount);
        return {};
    }
    return lines;
}

MaterialReadResult readFailure(const QString& path, const QString& reason)
{
    MaterialReadResult result;
    result.error = QStringLiteral("The material file %1 cannot be read: %2.")
                       .arg(displayName(path), reason);
    return result;
}

} // namespace

QStringList materialFileLines(const MaterialSettings& s)
{
    const MaterialTexts& m = s.material;
    const LightTexts& l = s.light;
    QStringList lines{
        m.ambient.red,     m.ambient.green,     m.ambient.blue,     m.ambient.alpha,
        m.diffuse.red,     m.diffuse.green,     m.diffuse.blue,     m.diffuse.alpha,
        m.emissive.red,    m.emissive.green,    m.emissive.blue,    m.emissive.alpha,
        m.specular.red,    m.specular.green,    m.specular.blue,    m.specular.alpha,
        m.power,
        s.backgroundPath,  s.texturePath,       s.bumpMapPath,
        platform::cstrBoolean(s.bumpMappingOff),
        platform::printInteger(s.sphereMapping ? 1 : 0),
        l.direction.x,     l.direction.y,       l.direction.z,
        platform::cstrBoolean(s.lightOn),
        platform::printInteger(s.shownObject),
        l.position.x,      l.position.y,        l.position.z,
        l.ambient.red,     l.ambient.green,     l.ambient.blue,
        l.diffuse.red,     l.diffuse.green,     l.diffuse.blue,
        l.specular.red,    l.specular.green,    l.specular.blue,
        l.range,           l.phi,               l.theta,
        platform::printInteger(l.typeRow),
    };
    for (QString& line : lines)
        line = oneLine(line);
    return lines;
}

QByteArray materialFileContent(const MaterialSettings& settings)
{
    return platform::joinLinesCrLf(materialFileLines(settings));
}

SaveResult writeMaterialFile(const QString& path, const MaterialSettings& settings)
{
    const platform::SaveResult saved =
        platform::saveFileAtomically(path, materialFileContent(settings));
    return {saved.ok, saved.error};
}

MaterialReadResult parseMaterialFile(const QByteArray& content, const QString& fileNameForMessages)
{
    MaterialReadResult result;
    const QStringList lines = materialLines(content, fileNameForMessages, result.error);
    if (lines.isEmpty())
        return result;
    MaterialSettings settings;
    parseMaterialPart(lines, settings);
    parseLightPart(lines, settings, fileNameForMessages, result.warnings);
    result.settings = settings;
    return result;
}

MaterialReadResult readMaterialFile(const QString& path)
{
    const platform::ReadResult file = platform::readWholeFile(platform::resolvePath(path));
    if (!file.ok)
        return readFailure(path, file.error);
    return parseMaterialFile(file.data, path);
}

MaterialReadResult readLightSettings(const QString& path)
{
    const platform::ReadResult file = platform::readWholeFile(platform::resolvePath(path));
    if (!file.ok)
        return readFailure(path, file.error);
    MaterialReadResult result;
    const QStringList lines = materialLines(file.data, path, result.error);
    if (lines.isEmpty())
        return result;
    MaterialSettings settings;
    parseLightPart(lines, settings, path, result.warnings);
    result.settings = settings;
    return result;
}

void applyLightPart(MaterialSettings& into, const MaterialSettings& from)
{
    into.light = from.light;
    into.lightOn = from.lightOn;
    into.shownObject = from.shownObject;
}

bool namesExistingFile(const QString& path, const QString& programFolder)
{
    if (path.trimmed().isEmpty() || path == kNoFileText)
        return false;
    return QFileInfo(platform::resolvePath(path, programFolder)).isFile();
}

TextureChoice chooseTexture(const QString& pathLine, const QString& defaultFile,
                            const QString& programFolder)
{
    if (namesExistingFile(pathLine, programFolder))
        return {pathLine, platform::resolvePath(pathLine, programFolder), false};
    return {kNoFileText,
            platform::resolvePath(platform::joinPath(programFolder, defaultFile)), true};
}

} // namespace glazery
