#include "dds/DdsFile.h"

#include <squish.h>

#include <algorithm>
#include <bit>
#include <cstdint>
#include <vector>

namespace kl::dds {
namespace {

// Container layout: "DDS " + 124-byte header (with a 32-byte pixel format inside it),
// optionally a 20-byte extension header when the FourCC is "DX10", then the surfaces.
constexpr int kMagicSize = 4;
constexpr int kHeaderSize = 124;
constexpr int kPixelFormatSize = 32;
constexpr int kExtensionSize = 20;
constexpr int kDataOffset = kMagicSize + kHeaderSize;
constexpr quint32 kMaxSide = 16384;

// Header flags.
constexpr quint32 kFlagCaps = 0x1;
constexpr quint32 kFlagHeight = 0x2;
constexpr quint32 kFlagWidth = 0x4;
constexpr quint32 kFlagPitch = 0x8;
constexpr quint32 kFlagPixelFormat = 0x1000;
constexpr quint32 kFlagMipMapCount = 0x20000;
constexpr quint32 kFlagLinearSize = 0x80000;

// Pixel format flags.
constexpr quint32 kPfAlphaPixels = 0x1;
constexpr quint32 kPfAlpha = 0x2;
constexpr quint32 kPfFourCC = 0x4;
constexpr quint32 kPfRgb = 0x40;
constexpr quint32 kPfLuminance = 0x20000;

// Capability flags.
constexpr quint32 kCapsComplex = 0x8;
constexpr quint32 kCapsTexture = 0x1000;
constexpr quint32 kCapsMipMap = 0x400000;

constexpr quint32 fourCC(char a, char b, char c, char d)
{
    return quint32(uchar(a)) | quint32(uchar(b)) << 8 | quint32(uchar(c)) << 16 | quint32(uchar(d)) << 24;
}

constexpr quint32 kMagic = fourCC('D', 'D', 'S', ' ');
constexpr quint32 kFourCCDxt1 = fourCC('D', 'X', 'T', '1');
constexpr quint32 kFourCCDxt2 = fourCC('D', 'X', 'T', '2');
constexpr quint32 kFourCCDxt3 = fourCC('D', 'X', 'T', '3');
constexpr quint32 kFourCCDxt4 = fourCC('D', 'X', 'T', '4');
constexpr quint32 kFourCCDxt5 = fourCC('D', 'X', 'T', '5');
constexpr quint32 kFourCCDx10 = fourCC('D', 'X', '1', '0');

quint32 readU32(const QByteArray& bytes, qsizetype offset)
{
    const auto* p = reinterpret_cast<const uchar*>(bytes.constData()) + offset;
    return quint32(p[0]) | quint32(p[1]) << 8 | quint32(p[2]) << 16 | quint32(p[3]) << 24;
}

void appendU32(QByteArray& out, quint32 value)
{
    for (int i = 0; i < 4; ++i)
        out.append(char((value >> (8 * i)) & 0xff));
}

QString fourCCText(quint32 code)
{
    QString text;
    for (int i = 0; i < 4; ++i) {
        const char c = char((code >> (8 * i)) & 0xff);
        text += (c >= 0x20 && c < 0x7f) ? QChar(c) : QChar('?');
    }
    return text;
}

// One colour channel stored under a bit mask, scaled to 0..255 on read.
struct Channel {
    quint32 mask = 0;
    int shift = 0;
    quint64 maxValue = 0;

    explicit Channel(quint32 m) : mask(m)
    {
        if (mask != 0) {
            shift = std::countr_zero(mask);
            maxValue = quint64(mask >> shift);
        }
    }
    bool present() const { return mask != 0; }
    int read(quint32 pixel) const
    {
        if (maxValue == 0)
            return 0;
        const quint64 raw = quint64((pixel & mask) >> shift);
        return int((std::min(raw, maxValue) * 255 + maxValue / 2) / maxValue);
    }
};

// What the decoder found in the header: either a block format or a masked layout.
struct Layout {
    int squishFlags = 0;     // non-zero for DXT block data
    bool premultiplied = false;
    int bitCount = 0;        // for masked data
    quint32 rMask = 0, gMask = 0, bMask = 0, aMask = 0;
    bool luminance = false;  // grey stored in rMask
    bool alphaOnly = false;
};

bool layoutFromDxgi(quint32 dxgi, Layout& layout)
{
    switch (dxgi) {
    case 71: case 72: layout.squishFlags = squish::kDxt1; return true;  // BC1
    case 74: case 75: layout.squishFlags = squish::kDxt3; return true;  // BC2
    case 77: case 78: layout.squishFlags = squish::kDxt5; return true;  // BC3
    case 28: case 29: // R8G8B8A8
        layout.bitCount = 32;
        layout.rMask = 0x000000ff; layout.gMask = 0x0000ff00; layout.bMask = 0x00ff0000; layout.aMask = 0xff000000;
        return true;
    case 87: case 91: // B8G8R8A8
        layout.bitCount = 32;
        layout.rMask = 0x00ff0000; layout.gMask = 0x0000ff00; layout.bMask = 0x000000ff; layout.aMask = 0xff000000;
        return true;
    case 88: case 93: // B8G8R8X8
        layout.bitCount = 32;
        layout.rMask = 0x00ff0000; layout.gMask = 0x0000ff00; layout.bMask = 0x000000ff;
        return true;
    default:
        return false;
    }
}

bool layoutFromPixelFormat(const QByteArray& bytes, Layout& layout, qsizetype& dataOffset, QString& error)
{
    const qsizetype pf = kMagicSize + 72; // pixel format offset inside the file
    const quint32 flags = readU32(bytes, pf + 4);
    const quint32 code = readU32(bytes, pf + 8);
    const quint32 bitCount = readU32(bytes, pf + 12);

    if (flags & kPfFourCC) {
        switch (code) {
        case kFourCCDxt1: layout.squishFlags = squish::kDxt1; return true;
        case kFourCCDxt2: layout.premultiplied = true; [[fallthrough]];
        case kFourCCDxt3: layout.squishFlags = squish::kDxt3; return true;
        case kFourCCDxt4: layout.premultiplied = true; [[fallthrough]];
        case kFourCCDxt5: layout.squishFlags = squish::kDxt5; return true;
        case kFourCCDx10: {
            if (bytes.size() < kDataOffset + kExtensionSize) {
                error = QStringLiteral("The DDS file is truncated: its extension header is missing.");
                return false;
            }
            const quint32 dxgi = readU32(bytes, kDataOffset);
            dataOffset += kExtensionSize;
            if (!layoutFromDxgi(dxgi, layout)) {
                error = QStringLiteral("Unsupported DDS pixel format (DXGI format %1).").arg(dxgi);
                return false;
            }
            return true;
        }
        default:
            error = QStringLiteral("Unsupported DDS pixel format (FourCC '%1').").arg(fourCCText(code));
            return false;
        }
    }

    if (!(flags & (kPfRgb | kPfLuminance | kPfAlpha))) {
        error = QStringLiteral("Unsupported DDS pixel format (flags 0x%1).").arg(flags, 0, 16);
        return false;
    }
    if (bitCount != 8 && bitCount != 16 && bitCount != 24 && bitCount != 32) {
        error = QStringLiteral("Unsupported DDS bit count %1.").arg(bitCount);
        return false;
    }
    layout.bitCount = int(bitCount);
    layout.rMask = readU32(bytes, pf + 16);
    layout.gMask = readU32(bytes, pf + 20);
    layout.bMask = readU32(bytes, pf + 24);
    layout.aMask = (flags & (kPfAlphaPixels | kPfAlpha)) ? readU32(bytes, pf + 28) : 0;
    layout.luminance = (flags & kPfLuminance) != 0;
    layout.alphaOnly = !(flags & (kPfRgb | kPfLuminance));

    // Some writers leave the masks empty for plain 24/32-bit BGR(A).
    if ((flags & kPfRgb) && !layout.rMask && !layout.gMask && !layout.bMask && bitCount >= 24) {
        layout.rMask = 0x00ff0000;
        layout.gMask = 0x0000ff00;
        layout.bMask = 0x000000ff;
    }
    if (bitCount < 32) {
        const quint32 valid = (quint32(1) << bitCount) - 1;
        layout.rMask &= valid; layout.gMask &= valid; layout.bMask &= valid; layout.aMask &= valid;
    }
    return true;
}

QImage decodeBlocks(const QByteArray& bytes, qsizetype offset, int width, int height, const Layout& layout,
                    QString& error)
{
    const qint64 blocksWide = (qint64(width) + 3) / 4;
    const qint64 blocksHigh = (qint64(height) + 3) / 4;
    const qint64 blockBytes = (layout.squishFlags & squish::kDxt1) ? 8 : 16;
    const qint64 needed = blocksWide * blocksHigh * blockBytes;
    if (bytes.size() - offset < needed) {
        error = QStringLiteral("The DDS file is truncated: %1 bytes of image data expected, %2 present.")
                    .arg(needed)
                    .arg(bytes.size() - offset);
        return {};
    }
    QImage image(width, height,
                 layout.premultiplied ? QImage::Format_RGBA8888_Premultiplied : QImage::Format_RGBA8888);
    if (image.isNull()) {
        error = QStringLiteral("Not enough memory for a %1 x %2 DDS image.").arg(width).arg(height);
        return {};
    }
    squish::DecompressImage(image.bits(), width, height, int(image.bytesPerLine()), bytes.constData() + offset,
                            layout.squishFlags);
    return image.convertToFormat(QImage::Format_ARGB32);
}

QImage decodeMasked(const QByteArray& bytes, qsizetype offset, int width, int height, const Layout& layout,
                    QString& error)
{
    const int bytesPerPixel = layout.bitCount / 8;
    const qint64 rowBytes = qint64(width) * bytesPerPixel;
    const qint64 needed = rowBytes * height;
    if (bytes.size() - offset < needed) {
        error = QStringLiteral("The DDS file is truncated: %1 bytes of image data expected, %2 present.")
                    .arg(needed)
                    .arg(bytes.size() - offset);
        return {};
    }
    QImage image(width, height, QImage::Format_ARGB32);
    if (image.isNull()) {
        error = QStringLiteral("Not enough memory for a %1 x %2 DDS image.").arg(width).arg(height);
        return {};
    }
    const Channel red(layout.rMask), green(layout.gMask), blue(layout.bMask), alpha(layout.aMask);
    const auto* data = reinterpret_cast<const uchar*>(bytes.constData()) + offset;
    for (int y = 0; y < height; ++y) {
        const uchar* src = data + rowBytes * y;
        auto* dst = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < width; ++x, src += bytesPerPixel) {
            quint32 pixel = 0;
            for (int i = 0; i < bytesPerPixel; ++i)
                pixel |= quint32(src[i]) << (8 * i);
            const int a = alpha.present() ? alpha.read(pixel) : 255;
            if (layout.alphaOnly) {
                dst[x] = qRgba(255, 255, 255, a);
            } else if (layout.luminance) {
                const int l = red.read(pixel);
                dst[x] = qRgba(l, l, l, a);
            } else {
                dst[x] = qRgba(red.read(pixel), green.read(pixel), blue.read(pixel), a);
            }
        }
    }
    return image;
}

// Next mip level: a 2x2 box filter whose colour is weighted by alpha, so fully transparent
// texels do not darken the edges of sprites.
QImage halve(const QImage& source)
{
    const int w = std::max(1, source.width() / 2);
    const int h = std::max(1, source.height() / 2);
    QImage result(w, h, QImage::Format_RGBA8888);
    for (int y = 0; y < h; ++y) {
        const int y0 = std::min(2 * y, source.height() - 1);
        const int y1 = std::min(2 * y + 1, source.height() - 1);
        const uchar* rows[2] = {source.constScanLine(y0), source.constScanLine(y1)};
        uchar* dst = result.scanLine(y);
        for (int x = 0; x < w; ++x) {
            const int xs[2] = {std::min(2 * x, source.width() - 1), std::min(2 * x + 1, source.width() - 1)};
            int sumA = 0;
            int sum[3] = {0, 0, 0};
            int weighted[3] = {0, 0, 0};
            for (const uchar* row : rows) {
                for (int sx : xs) {
                    const uchar* p = row + 4 * sx;
                    sumA += p[3];
                    for (int c = 0; c < 3; ++c) {
                        sum[c] += p[c];
                        weighted[c] += p[c] * p[3];
                    }
                }
            }
            for (int c = 0; c < 3; ++c)
                dst[4 * x + c] = uchar(sumA > 0 ? (weighted[c] + sumA / 2) / sumA : (sum[c] + 2) / 4);
            dst[4 * x + 3] = uchar((sumA + 2) / 4);
        }
    }
    return result;
}

int squishFlagsFor(Format format)
{
    switch (format) {
    case Format::Dxt1: return squish::kDxt1 | squish::kColourClusterFit;
    case Format::Dxt3: return squish::kDxt3 | squish::kColourClusterFit | squish::kWeightColourByAlpha;
    case Format::Dxt5: return squish::kDxt5 | squish::kColourClusterFit | squish::kWeightColourByAlpha;
    case Format::Rgba8: break;
    }
    return 0;
}

quint32 fourCCFor(Format format)
{
    switch (format) {
    case Format::Dxt1: return kFourCCDxt1;
    case Format::Dxt3: return kFourCCDxt3;
    case Format::Dxt5: return kFourCCDxt5;
    case Format::Rgba8: break;
    }
    return 0;
}

void appendLevel(QByteArray& out, const QImage& level, Format format)
{
    if (format == Format::Rgba8) {
        for (int y = 0; y < level.height(); ++y) {
            const uchar* p = level.constScanLine(y);
            for (int x = 0; x < level.width(); ++x, p += 4) {
                const char bgra[4] = {char(p[2]), char(p[1]), char(p[0]), char(p[3])};
                out.append(bgra, 4);
            }
        }
        return;
    }
    const int flags = squishFlagsFor(format);
    const int size = squish::GetStorageRequirements(level.width(), level.height(), flags);
    std::vector<uchar> blocks(size_t(size), 0);
    if (level.bytesPerLine() == qsizetype(level.width()) * 4) {
        squish::CompressImage(level.constBits(), level.width(), level.height(), blocks.data(), flags);
    } else {
        squish::CompressImage(level.constBits(), level.width(), level.height(), int(level.bytesPerLine()),
                              blocks.data(), flags);
    }
    out.append(reinterpret_cast<const char*>(blocks.data()), size);
}

} // namespace

QImage decode(const QByteArray& bytes, QString& error)
{
    error.clear();
    if (bytes.size() < kDataOffset) {
        error = QStringLiteral("The file is too short to be a DDS image (%1 bytes).").arg(bytes.size());
        return {};
    }
    if (readU32(bytes, 0) != kMagic) {
        error = QStringLiteral("Not a DDS image: the file does not start with \"DDS \".");
        return {};
    }
    const quint32 height = readU32(bytes, kMagicSize + 8);
    const quint32 width = readU32(bytes, kMagicSize + 12);
    if (width == 0 || height == 0 || width > kMaxSide || height > kMaxSide) {
        error = QStringLiteral("The DDS image size %1 x %2 is out of range (1 to %3 per side).")
                    .arg(width)
                    .arg(height)
                    .arg(kMaxSide);
        return {};
    }

    Layout layout;
    qsizetype dataOffset = kDataOffset;
    if (!layoutFromPixelFormat(bytes, layout, dataOffset, error))
        return {};
    if (layout.squishFlags != 0)
        return decodeBlocks(bytes, dataOffset, int(width), int(height), layout, error);
    return decodeMasked(bytes, dataOffset, int(width), int(height), layout, error);
}

QByteArray encode(const QImage& image, Format format)
{
    if (image.isNull())
        return {};
    std::vector<QImage> levels{image.convertToFormat(QImage::Format_RGBA8888)};
    while (levels.back().width() > 1 || levels.back().height() > 1)
        levels.push_back(halve(levels.back()));

    const bool compressed = format != Format::Rgba8;
    const auto width = quint32(image.width());
    const auto height = quint32(image.height());

    QByteArray out;
    appendU32(out, kMagic);
    appendU32(out, kHeaderSize);
    appendU32(out, kFlagCaps | kFlagHeight | kFlagWidth | kFlagPixelFormat | kFlagMipMapCount
                       | (compressed ? kFlagLinearSize : kFlagPitch));
    appendU32(out, height);
    appendU32(out, width);
    appendU32(out, compressed ? quint32(squish::GetStorageRequirements(int(width), int(height),
                                                                         squishFlagsFor(format)))
                              : width * 4);
    appendU32(out, 0);                    // depth
    appendU32(out, quint32(levels.size())); // mip count
    for (int i = 0; i < 11; ++i)
        appendU32(out, 0);                // reserved

    appendU32(out, kPixelFormatSize);
    if (compressed) {
        appendU32(out, kPfFourCC);
        appendU32(out, fourCCFor(format));
        for (int i = 0; i < 5; ++i)
            appendU32(out, 0);
    } else {
        appendU32(out, kPfRgb | kPfAlphaPixels);
        appendU32(out, 0);
        appendU32(out, 32);
        appendU32(out, 0x00ff0000);
        appendU32(out, 0x0000ff00);
        appendU32(out, 0x000000ff);
        appendU32(out, 0xff000000);
    }
    appendU32(out, kCapsTexture | (levels.size() > 1 ? kCapsComplex | kCapsMipMap : 0));
    for (int i = 0; i < 4; ++i)
        appendU32(out, 0);                // caps2..4, reserved

    for (const QImage& level : levels)
        appendLevel(out, level, format);
    return out;
}

} // namespace kl::dds
