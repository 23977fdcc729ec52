#include "BmpWriter.h"

namespace kl::media {
namespace {

void appendU16(QByteArray& out, quint32 value)
{
    out.append(char(value & 0xff));
    out.append(char((value >> 8) & 0xff));
}

void appendU32(QByteArray& out, quint32 value)
{
    appendU16(out, value & 0xffff);
    appendU16(out, value >> 16);
}

} // namespace

QByteArray encodeBmp(const QImage& image)
{
    if (image.isNull())
        return {};
    const bool indexed = image.format() == QImage::Format_Indexed8;
    const QImage source = indexed ? image : image.convertToFormat(QImage::Format_RGB32);
    const auto width = quint32(source.width()), height = quint32(source.height());
    const quint32 bytesPerPixel = indexed ? 1 : 3;
    const quint32 rowBytes = (width * bytesPerPixel + 3) / 4 * 4;
    const quint32 paletteBytes = indexed ? 256 * 4 : 0;
    const quint32 dataOffset = 14 + 40 + paletteBytes;

    QByteArray out;
    out.reserve(qsizetype(dataOffset + rowBytes * height));
    out.append("BM", 2);
    appendU32(out, dataOffset + rowBytes * height);
    appendU32(out, 0);
    appendU32(out, dataOffset);
    appendU32(out, 40);                      // info header size
    appendU32(out, width);
    appendU32(out, height);                  // positive: rows stored bottom-up
    appendU16(out, 1);                       // planes
    appendU16(out, bytesPerPixel * 8);
    appendU32(out, 0);                       // no compression
    appendU32(out, rowBytes * height);
    appendU32(out, 2835);                    // 72 dpi
    appendU32(out, 2835);
    appendU32(out, indexed ? 256 : 0);
    appendU32(out, 0);
    if (indexed) {
        const QList<QRgb> table = source.colorTable();
        for (int i = 0; i < 256; ++i) {
            const QRgb c = i < table.size() ? table[i] : 0;
            const char entry[4] = {char(qBlue(c)), char(qGreen(c)), char(qRed(c)), 0};
            out.append(entry, 4);
        }
    }
    QByteArray row(qsizetype(rowBytes), '\0');
    for (int y = int(height) - 1; y >= 0; --y) {
        const uchar* line = source.constScanLine(y);
        if (indexed) {
            std::copy(line, line + width, row.begin());
        } else {
            const auto* pixels = reinterpret_cast<const QRgb*>(line);
            for (quint32 x = 0; x < width; ++x) {
                row[qsizetype(3 * x)] = char(qBlue(pixels[x]));
                row[qsizetype(3 * x + 1)] = char(qGreen(pixels[x]));
                row[qsizetype(3 * x + 2)] = char(qRed(pixels[x]));
            }
        }
        out.append(row);
    }
    return out;
}

} // namespace kl::media
