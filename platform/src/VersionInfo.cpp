#include "platform/VersionInfo.h"

#include "platform/TextFile.h"

#include <QFile>
#include <QtEndian>

namespace platform {

namespace {

// Version sections are small; anything larger is not one of ours.
constexpr qint64 MaxSectionSize = 64 * 1024;
// Libraries can be large, but the section headers sit at the end of the
// file; reading is capped all the same.
constexpr qint64 MaxLibrarySize = 512 * 1024 * 1024;

class ElfReader {
public:
    ElfReader(const QByteArray& bytes, bool is64, bool little) : bytes_(bytes), is64_(is64), little_(little) {}

    std::optional<quint64> word(quint64 offset, int size) const
    {
        if (offset > static_cast<quint64>(bytes_.size()) || static_cast<quint64>(bytes_.size()) - offset < static_cast<quint64>(size))
            return std::nullopt;
        const auto* p = reinterpret_cast<const uchar*>(bytes_.constData()) + offset;
        switch (size) {
        case 2: return little_ ? qFromLittleEndian<quint16>(p) : qFromBigEndian<quint16>(p);
        case 4: return little_ ? qFromLittleEndian<quint32>(p) : qFromBigEndian<quint32>(p);
        default: return little_ ? qFromLittleEndian<quint64>(p) : qFromBigEndian<quint64>(p);
        }
    }
    std::optional<quint64> address(quint64 offset) const { return word(offset, is64_ ? 8 : 4); }
    bool is64() const { return is64_; }

private:
    const QByteArray& bytes_;
    bool is64_;
    bool little_;
};

struct Section {
    quint32 nameOffset = 0;
    quint32 type = 0;
    quint64 offset = 0;
    quint64 size = 0;
};

std::optional<Section> readSectionHeader(const ElfReader& elf, quint64 at)
{
    const auto name = elf.word(at, 4);
    const auto type = elf.word(at + 4, 4);
    const auto offset = elf.address(at + (elf.is64() ? 24 : 16));
    const auto size = elf.address(at + (elf.is64() ? 32 : 20));
    if (!name || !type || !offset || !size)
        return std::nullopt;
    return Section{static_cast<quint32>(*name), static_cast<quint32>(*type), *offset, *size};
}

bool inFile(const QByteArray& file, quint64 offset, quint64 size)
{
    const auto total = static_cast<quint64>(file.size());
    return offset <= total && size <= total - offset;
}

} // namespace

std::optional<QByteArray> findElfSection(const QByteArray& file, const QByteArray& name)
{
    if (file.size() < 52 || !file.startsWith("\x7F" "ELF"))
        return std::nullopt;
    const char elfClass = file.at(4);
    const char encoding = file.at(5);
    if ((elfClass != 1 && elfClass != 2) || (encoding != 1 && encoding != 2))
        return std::nullopt;
    const ElfReader elf(file, elfClass == 2, encoding == 1);
    const bool is64 = elf.is64();
    const auto sectionTable = elf.address(is64 ? 0x28 : 0x20);
    const auto entrySize = elf.word(is64 ? 0x3A : 0x2E, 2);
    const auto count = elf.word(is64 ? 0x3C : 0x30, 2);
    const auto namesIndex = elf.word(is64 ? 0x3E : 0x32, 2);
    if (!sectionTable || !entrySize || !count || !namesIndex || *count == 0 || *namesIndex >= *count
        || *entrySize < (is64 ? 64u : 40u) || !inFile(file, *sectionTable, *count * *entrySize))
        return std::nullopt;
    const auto names = readSectionHeader(elf, *sectionTable + *namesIndex * *entrySize);
    if (!names || !inFile(file, names->offset, names->size))
        return std::nullopt;
    for (quint64 i = 0; i < *count; ++i) {
        const auto section = readSectionHeader(elf, *sectionTable + i * *entrySize);
        if (!section || section->nameOffset >= names->size)
            continue;
        const QByteArray nameArea = file.mid(static_cast<qsizetype>(names->offset + section->nameOffset),
                                             static_cast<qsizetype>(names->size - section->nameOffset));
        const qsizetype end = nameArea.indexOf('\0');
        if (end < 0 || nameArea.left(end) != name)
            continue;
        constexpr quint32 noBits = 8;   // SHT_NOBITS: no bytes in the file
        if (section->type == noBits || section->size > static_cast<quint64>(MaxSectionSize)
            || !inFile(file, section->offset, section->size))
            return std::nullopt;
        return file.mid(static_cast<qsizetype>(section->offset), static_cast<qsizetype>(section->size));
    }
    return std::nullopt;
}

std::optional<VersionResource> parseVersionResource(const QByteArray& section)
{
    const qsizetype end = section.indexOf('\0');
    const QByteArray text = end < 0 ? section : section.left(end);
    if (!isValidUtf8(text))
        return std::nullopt;
    const QStringList lines = splitLines(QString::fromUtf8(text));
    if (lines.isEmpty() || lines.front() != QLatin1String("KLVERSION1"))
        return std::nullopt;
    VersionResource resource;
    for (qsizetype i = 1; i < lines.size(); ++i) {
        const qsizetype equals = lines[i].indexOf(u'=');
        if (equals <= 0)
            continue;
        const QString key = lines[i].left(equals);
        const QString value = lines[i].mid(equals + 1);
        if (key == QLatin1String("Translation")) {
            bool ok = false;
            const quint32 both = value.trimmed().toUInt(&ok, 16);
            if (ok && value.trimmed().size() == 8)
                resource.translations.emplace_back(static_cast<quint16>(both >> 16),
                                                   static_cast<quint16>(both & 0xFFFF));
            continue;
        }
        const qsizetype slash = key.indexOf(u'\\');
        if (slash > 0)
            resource.strings.insert(key.left(slash).toUpper() + u'\\' + key.mid(slash + 1).toLower(), value);
    }
    return resource;
}

std::optional<VersionResource> readVersionResource(const QString& path)
{
    // Mapped, not read: only the pages of the headers and the section are
    // touched, so a search listing many large libraries stays quick.
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || file.size() <= 0 || file.size() > MaxLibrarySize)
        return std::nullopt;
    const uchar* mapped = file.map(0, file.size());
    if (!mapped)
        return std::nullopt;
    const QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char*>(mapped),
                                                     static_cast<qsizetype>(file.size()));
    const auto section = findElfSection(bytes, QByteArrayLiteral(".klversion"));
    if (!section)
        return std::nullopt;
    return parseVersionResource(*section);
}

std::optional<QString> queryVersionValue(const VersionResource& resource, const QString& subBlock)
{
    const QStringList parts = subBlock.split(u'\\', Qt::SkipEmptyParts);
    if (parts.size() == 2 && parts[0].compare(QLatin1String("VarFileInfo"), Qt::CaseInsensitive) == 0
        && parts[1].compare(QLatin1String("Translation"), Qt::CaseInsensitive) == 0) {
        if (resource.translations.empty())
            return std::nullopt;
        const auto [language, codePage] = resource.translations.front();
        return QStringLiteral("%1%2").arg(language, 4, 16, QChar(u'0')).arg(codePage, 4, 16, QChar(u'0')).toUpper();
    }
    if (parts.size() == 3 && parts[0].compare(QLatin1String("StringFileInfo"), Qt::CaseInsensitive) == 0) {
        const auto found = resource.strings.constFind(parts[1].toUpper() + u'\\' + parts[2].toLower());
        if (found != resource.strings.constEnd())
            return *found;
    }
    return std::nullopt;
}

} // namespace platform
