#include "core/ObjectsList.h"

#include "core/NumberText.h"

#include <platform/Paths.h>
#include <platform/TextFile.h>
#include <platform/TextRules.h>

#include <QLocale>

#include <algorithm>
#include <cmath>

namespace glazery {

namespace {

constexpr int kLinesPerObject = 3;

QString oneLine(QString text)
{
    text.replace(QStringLiteral("\r\n"), QStringLiteral(" "));
    text.replace(u'\r', u' ');
    text.replace(u'\n', u' ');
    return text;
}

// A scale line must hold one number and nothing else but blanks.
bool parseScale(const QString& line, double& scale)
{
    QLocale c = QLocale::c();
    c.setNumberOptions(QLocale::RejectGroupSeparator);
    bool ok = false;
    const double value = c.toDouble(line.trimmed(), &ok);
    if (!ok || !std::isfinite(value))
        return false;
    scale = value;
    return true;
}

ObjectsListReadResult damaged(const QString& file, const QString& fault)
{
    return {defaultPreviewObjects(),
            QStringLiteral("The objects list \"%1\" %2. The default objects are used.")
                .arg(file, fault)};
}

} // namespace

QString objectsLoadFailureMessage(const QStringList& failures)
{
    return QStringLiteral("Some preview objects could not be loaded:\n\n%1").arg(failures.join('\n'));
}

QList<PreviewObject> defaultPreviewObjects()
{
    QList<PreviewObject> objects;
    for (const char* name :
         {"Sphere", "Teapot", "Cube", "Cylinder", "Cone", "Pyramid", "Torus", "Tube", "Skull"}) {
        const QString description = QString::fromLatin1(name);
        objects.append({QStringLiteral("data\\models\\%1.X").arg(description), description, 1.0});
    }
    return objects;
}

ObjectsListReadResult parseObjectsList(const QByteArray& content, const QString& fileNameForMessages)
{
    QStringList lines = platform::splitLines(platform::decodeText(content));
    // Blank lines after the last object are not a further object.
    while (!lines.isEmpty() && lines.back().trimmed().isEmpty())
        lines.removeLast();
    if (lines.isEmpty())
        return damaged(fileNameForMessages, QStringLiteral("holds no objects"));

    ObjectsListReadResult result;
    for (qsizetype first = 0; first < lines.size() && result.objects.size() < kPreviewSlotCount;
         first += kLinesPerObject) {
        const int objectNumber = int(result.objects.size()) + 1;
        if (first + kLinesPerObject > lines.size()) {
            return damaged(fileNameForMessages,
                           QStringLiteral("ends in the middle of object %1 (each object needs "
                                          "three lines: model file, description, scale)")
                               .arg(objectNumber));
        }
        PreviewObject object;
        object.fileName = lines[first];
        object.description = lines[first + 1];
        if (!parseScale(lines[first + 2], object.scale)) {
            return damaged(fileNameForMessages,
                           QStringLiteral("has \"%1\" as the scale of object %2 (line %3), which "
                                          "is not a number")
                               .arg(lines[first + 2])
                               .arg(objectNumber)
                               .arg(first + 3));
        }
        result.objects.append(object);
    }
    return result;
}

ObjectsListReadResult readObjectsList(const QString& path)
{
    const platform::ReadResult file = platform::readWholeFile(platform::resolvePath(path));
    if (!file.ok)
        return damaged(path, QStringLiteral("cannot be read (%1)").arg(file.error));
    return parseObjectsList(file.data, path);
}

QByteArray objectsListContent(const QList<PreviewObject>& objects)
{
    QStringList lines;
    for (const PreviewObject& object : objects) {
        lines << oneLine(object.fileName) << oneLine(object.description)
              << platform::printDouble(object.scale);
    }
    return platform::joinLinesCrLf(lines);
}

ObjectsListWriteResult writeObjectsList(const QString& path, const QList<PreviewObject>& objects)
{
    const platform::SaveResult saved = platform::saveFileAtomically(path, objectsListContent(objects));
    return {saved.ok, saved.error};
}

ModelLoader modelLoaderFor(const QString& fileName)
{
    if (!fileName.isEmpty() && fileName.back().toUpper() == u'X')
        return ModelLoader::DirectX;
    return ModelLoader::Studio3ds;
}

QString resolveModelPath(const QString& fileName, const QString& programFolder)
{
    const bool absolute = fileName.startsWith(u'/') || fileName.startsWith(u'\\') ||
                          (fileName.size() >= 2 && fileName[1] == u':');
    if (absolute)
        return platform::resolvePath(fileName);
    return platform::resolvePath(fileName, programFolder);
}

QString scaleBoxTextAfterEdit(const QString& text)
{
    double value = detail::numericValue(text);
    if (!(value > 0.0))
        value = 1.0;
    return platform::cstrDouble(value);
}

double scaleFromPercentText(const QString& text)
{
    return detail::numericValue(text) / 100.0;
}

QString percentTextFromScale(double scale)
{
    // The whole percentage; a scale stored as 1.15 is 115 %, not 114.99999.
    const double percent = std::clamp(scale * 100.0, -1e15, 1e15);
    const double nearest = std::round(percent);
    const double whole = std::fabs(percent - nearest) < 1e-6 * std::max(1.0, std::fabs(percent))
                             ? nearest
                             : std::trunc(percent);
    return platform::cstrInteger(static_cast<qint64>(whole));
}

} // namespace glazery
