#include "core/PresetFile.h"

#include "core/LayerList.h"
#include "core/LeadingNumber.h"
#include "core/Resolutions.h"

#include <platform/Paths.h>

namespace layerloom {

namespace {

// A quoted value is one line with no quote inside: line breaks would shift
// every later line, so they become blanks.
QString quoted(QString text)
{
    text.replace(QStringLiteral("\r\n"), QStringLiteral(" "));
    text.replace(u'\r', u' ');
    text.replace(u'\n', u' ');
    return QStringLiteral("\"%1\"").arg(text);
}

// Reads the lines in order; a line past the end reads as empty.
class LineReader {
public:
    LineReader(QStringList lines, QString file, QStringList& warnings)
        : lines_(std::move(lines)), file_(std::move(file)), warnings_(warnings)
    {
    }

    QString text(const char* what)
    {
        return quotedText(next(what));
    }
    template <class T>
    T number(std::optional<T> (*convert)(const QString&), const char* what)
    {
        const int lineNumber = index_ + 1;
        const QString line = next(what);
        const std::optional<T> value = convert(line);
        if (!value) {
            warnings_ << QStringLiteral("Line %1 of \"%2\": %3 \"%4\" is out of range; 0 is used.")
                             .arg(lineNumber)
                             .arg(file_, QLatin1String(what), line);
            return T(0);
        }
        return *value;
    }
    bool ended() const { return index_ >= lines_.size(); }
    int lineCount() const { return int(lines_.size()); }

private:
    QString next(const char* what)
    {
        if (index_ >= lines_.size()) {
            if (!reportedEnd_)
                warnings_ << QStringLiteral("\"%1\" ends at line %2, before the %3; the values not read are 0 or empty.")
                                 .arg(file_)
                                 .arg(lines_.size())
                                 .arg(QLatin1String(what));
            reportedEnd_ = true;
            ++index_;
            return {};
        }
        return lines_[index_++];
    }

    QStringList lines_;
    QString file_;
    QStringList& warnings_;
    int index_ = 0;
    bool reportedEnd_ = false;
};

// A layer announced but not in the file: empty path, every number 0.
TextureLayer missingLayer()
{
    TextureLayer layer;
    layer.AltitudeMin = 0;
    layer.AltitudeMax = 0;
    layer.UScale = 0.0f;
    layer.VScale = 0.0f;
    layer.BlendPower = 0.0f;
    return layer;
}

TextureLayer readLayer(LineReader& reader)
{
    TextureLayer layer = missingLayer();
    layer.TexturePath = reader.text("layer texture path");
    layer.AltitudeMin = reader.number<qint32>(leadingInt32, "altitude minimum");
    layer.AltitudeMax = reader.number<qint32>(leadingInt32, "altitude maximum");
    layer.BlendPower = reader.number<float>(leadingFloat, "blend power");
    layer.UScale = reader.number<float>(leadingFloat, "U scale");
    layer.VScale = reader.number<float>(leadingFloat, "V scale");
    return layer;
}

} // namespace

QString quotedText(const QString& line)
{
    const QString trimmed = line.trimmed();
    if (!trimmed.startsWith(u'"'))
        return trimmed;
    const qsizetype end = trimmed.indexOf(u'"', 1);
    return end < 0 ? trimmed.mid(1) : trimmed.mid(1, end - 1);
}

QStringList presetLines(const Preset& preset)
{
    QStringList lines{quoted(preset.heightMap), quoted(preset.output), QString::number(preset.resolutionEntry),
                      QString::number(preset.layers.size())};
    for (const TextureLayer& layer : preset.layers)
        lines << quoted(layer.TexturePath) << QString::number(layer.AltitudeMin)
              << QString::number(layer.AltitudeMax) << realText(layer.BlendPower) << realText(layer.UScale)
              << realText(layer.VScale);
    return lines;
}

QByteArray presetContent(const Preset& preset)
{
    return platform::joinLinesCrLf(presetLines(preset));
}

platform::SaveResult writePresetFile(const QString& path, const Preset& preset)
{
    return platform::saveFileAtomically(path, presetContent(preset));
}

PresetReadResult parsePresetFile(const QByteArray& content, const QString& fileNameForMessages)
{
    PresetReadResult result;
    LineReader reader(platform::splitLines(platform::decodeText(content)), fileNameForMessages, result.warnings);
    Preset preset;
    preset.heightMap = reader.text("height-map path");
    preset.output = reader.text("output path");
    preset.resolutionEntry = reader.number<qint16>(leadingInt16, "resolution entry");
    if (preset.resolutionEntry < 0 || preset.resolutionEntry >= kResolutionEntryCount)
        result.warnings << QStringLiteral("\"%1\" names resolution entry %2, not 0 to %3; the selected entry is kept.")
                               .arg(fileNameForMessages)
                               .arg(preset.resolutionEntry)
                               .arg(kResolutionEntryCount - 1);
    int count = reader.number<qint16>(leadingInt16, "layer count");
    if (count < 0) {
        result.warnings << QStringLiteral("\"%1\" holds a layer count of %2; it is read as no layers.")
                               .arg(fileNameForMessages)
                               .arg(count);
        count = 0;
    }
    const int inFile = std::max(0, reader.lineCount() - kPresetHeaderLines) / kPresetLinesPerLayer;
    if (count > inFile)
        result.warnings << QStringLiteral("\"%1\" announces %2 layers and holds %3; the others are empty.")
                               .arg(fileNameForMessages)
                               .arg(count)
                               .arg(inFile);
    for (int i = 0; i < count; ++i)
        preset.layers.append(reader.ended() ? missingLayer() : readLayer(reader));
    result.preset = std::move(preset);
    return result;
}

PresetReadResult readPresetFile(const QString& path)
{
    const platform::ReadResult file = platform::readWholeFile(platform::resolvePath(path));
    if (!file.ok) {
        PresetReadResult result;
        result.error = QStringLiteral("The preset \"%1\" cannot be read: %2.").arg(path, file.error);
        return result;
    }
    return parsePresetFile(file.data, path);
}

} // namespace layerloom
