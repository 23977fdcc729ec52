#include "dds/DdsFile.h"

#include <gtest/gtest.h>

#include <QtEndian>

#include <cstdlib>

using kl::dds::Format;

namespace {

// A smooth colour ramp with a soft alpha ramp: compresses well and shows channel mix-ups.
QImage testPicture(int width, int height)
{
    QImage image(width, height, QImage::Format_ARGB32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.setPixel(x, y, qRgba(x * 255 / std::max(1, width - 1), y * 255 / std::max(1, height - 1),
                                       128, (x + y) * 255 / std::max(1, width + height - 2)));
    return image;
}

int maxChannelError(const QImage& a, const QImage& b, bool withAlpha)
{
    int worst = 0;
    for (int y = 0; y < a.height(); ++y) {
        for (int x = 0; x < a.width(); ++x) {
            const QRgb p = a.pixel(x, y), q = b.pixel(x, y);
            worst = std::max({worst, std::abs(qRed(p) - qRed(q)), std::abs(qGreen(p) - qGreen(q)),
                              std::abs(qBlue(p) - qBlue(q))});
            if (withAlpha)
                worst = std::max(worst, std::abs(qAlpha(p) - qAlpha(q)));
        }
    }
    return worst;
}

QImage decodeOk(const QByteArray& bytes)
{
    QString error;
    QImage image = kl::dds::decode(bytes, error);
    EXPECT_FALSE(image.isNull()) << error.toStdString();
    EXPECT_TRUE(error.isEmpty());
    return image;
}

void expectError(const QByteArray& bytes)
{
    QString error;
    const QImage image = kl::dds::decode(bytes, error);
    EXPECT_TRUE(image.isNull());
    EXPECT_FALSE(error.isEmpty());
}

quint32 u32At(const QByteArray& bytes, int offset)
{
    return qFromLittleEndian<quint32>(bytes.constData() + offset);
}

void setU32(QByteArray& bytes, int offset, quint32 value)
{
    qToLittleEndian<quint32>(value, bytes.data() + offset);
}

// Hand-made uncompressed header: bitCount bits per pixel with the given masks and flags.
QByteArray maskedHeader(int width, int height, quint32 pfFlags, quint32 bitCount, quint32 r, quint32 g, quint32 b,
                        quint32 a)
{
    QByteArray bytes(128, '\0');
    bytes.replace(0, 4, "DDS ");
    setU32(bytes, 4, 124);
    setU32(bytes, 8, 0x100f);
    setU32(bytes, 12, quint32(height));
    setU32(bytes, 16, quint32(width));
    setU32(bytes, 76, 32);
    setU32(bytes, 80, pfFlags);
    setU32(bytes, 88, bitCount);
    setU32(bytes, 92, r);
    setU32(bytes, 96, g);
    setU32(bytes, 100, b);
    setU32(bytes, 104, a);
    return bytes;
}

} // namespace

TEST(DdsFile, Rgba8RoundTripIsExactAndKeepsAlpha)
{
    const QImage source = testPicture(37, 21);
    const QImage decoded = decodeOk(kl::dds::encode(source, Format::Rgba8));
    ASSERT_EQ(decoded.size(), source.size());
    EXPECT_EQ(decoded.format(), QImage::Format_ARGB32);
    EXPECT_EQ(maxChannelError(source, decoded, true), 0);
}

TEST(DdsFile, CompressedRoundTripsStayWithinTolerance)
{
    // Opaque, so DXT1's one-bit alpha does not blank pixels.
    const QImage source = testPicture(64, 48).convertToFormat(QImage::Format_RGB32).convertToFormat(
        QImage::Format_ARGB32);
    for (Format format : {Format::Dxt1, Format::Dxt3, Format::Dxt5}) {
        SCOPED_TRACE(int(format));
        const QImage decoded = decodeOk(kl::dds::encode(source, format));
        ASSERT_EQ(decoded.size(), source.size());
        EXPECT_LE(maxChannelError(source, decoded, true), 24);
    }
}

TEST(DdsFile, CompressedAlphaIsKept)
{
    const QImage source = testPicture(32, 32);
    // DXT3 stores 4-bit alpha, DXT5 interpolated 8-bit alpha.
    EXPECT_LE(maxChannelError(source, decodeOk(kl::dds::encode(source, Format::Dxt3)), true), 24);
    EXPECT_LE(maxChannelError(source, decodeOk(kl::dds::encode(source, Format::Dxt5)), true), 24);

    // DXT1 keeps one-bit alpha: a transparent corner stays transparent, an opaque centre opaque.
    QImage cutout(16, 16, QImage::Format_ARGB32);
    cutout.fill(qRgba(0, 0, 0, 0));
    for (int y = 4; y < 12; ++y)
        for (int x = 4; x < 12; ++x)
            cutout.setPixel(x, y, qRgba(200, 40, 40, 255));
    const QImage dxt1 = decodeOk(kl::dds::encode(cutout, Format::Dxt1));
    EXPECT_EQ(qAlpha(dxt1.pixel(0, 0)), 0);
    EXPECT_EQ(qAlpha(dxt1.pixel(8, 8)), 255);
}

TEST(DdsFile, OddSizesAndFullMipChain)
{
    // 5x3 is not a whole number of 4x4 blocks; the chain is 5x3, 2x1, 1x1.
    const QImage source = testPicture(5, 3);
    const QByteArray rgba = kl::dds::encode(source, Format::Rgba8);
    EXPECT_EQ(u32At(rgba, 28), 3u); // mip count
    EXPECT_EQ(rgba.size(), 128 + (15 + 2 + 1) * 4);
    EXPECT_EQ(decodeOk(rgba).size(), QSize(5, 3));

    const QByteArray dxt5 = kl::dds::encode(source, Format::Dxt5);
    EXPECT_EQ(dxt5.size(), 128 + (2 + 1 + 1) * 16); // 2x1, 1x1, 1x1 blocks
    EXPECT_EQ(decodeOk(dxt5).size(), QSize(5, 3));

    const QByteArray square = kl::dds::encode(testPicture(128, 128), Format::Dxt1);
    EXPECT_EQ(u32At(square, 28), 8u); // 128 .. 1
}

TEST(DdsFile, MipLevelsAverageWithoutDarkeningTransparentEdges)
{
    // Left half opaque white, right half transparent black: the 1x1 level must stay white.
    QImage source(2, 2, QImage::Format_ARGB32);
    source.setPixel(0, 0, qRgba(255, 255, 255, 255));
    source.setPixel(0, 1, qRgba(255, 255, 255, 255));
    source.setPixel(1, 0, qRgba(0, 0, 0, 0));
    source.setPixel(1, 1, qRgba(0, 0, 0, 0));
    const QByteArray bytes = kl::dds::encode(source, Format::Rgba8);
    ASSERT_EQ(bytes.size(), 128 + 4 * 4 + 4);
    const QByteArray last = bytes.right(4); // B, G, R, A of the 1x1 level
    EXPECT_EQ(uchar(last[0]), 255);
    EXPECT_EQ(uchar(last[2]), 255);
    EXPECT_EQ(uchar(last[3]), 128);
}

TEST(DdsFile, DecodesOtherUncompressedLayouts)
{
    // 24-bit BGR.
    QByteArray bgr = maskedHeader(2, 1, 0x40, 24, 0xff0000, 0xff00, 0xff, 0);
    bgr.append("\x10\x20\x30\x40\x50\x60", 6);
    QImage image = decodeOk(bgr);
    ASSERT_EQ(image.size(), QSize(2, 1));
    EXPECT_EQ(image.pixel(0, 0), qRgba(0x30, 0x20, 0x10, 255));
    EXPECT_EQ(image.pixel(1, 0), qRgba(0x60, 0x50, 0x40, 255));

    // 16-bit 565: pure red and pure blue.
    QByteArray rgb565 = maskedHeader(2, 1, 0x40, 16, 0xf800, 0x07e0, 0x001f, 0);
    rgb565.append("\x00\xf8\x1f\x00", 4);
    image = decodeOk(rgb565);
    EXPECT_EQ(image.pixel(0, 0), qRgba(255, 0, 0, 255));
    EXPECT_EQ(image.pixel(1, 0), qRgba(0, 0, 255, 255));

    // 8-bit luminance.
    QByteArray grey = maskedHeader(1, 1, 0x20000, 8, 0xff, 0, 0, 0);
    grey.append(char(0x7f));
    EXPECT_EQ(decodeOk(grey).pixel(0, 0), qRgba(0x7f, 0x7f, 0x7f, 255));

    // DX10 extension header with R8G8B8A8.
    QByteArray dx10 = maskedHeader(1, 1, 0x4, 0, 0, 0, 0, 0);
    dx10.replace(84, 4, "DX10");
    QByteArray extension(20, '\0');
    setU32(extension, 0, 28);
    dx10.append(extension);
    dx10.append("\x11\x22\x33\x44", 4);
    EXPECT_EQ(decodeOk(dx10).pixel(0, 0), qRgba(0x11, 0x22, 0x33, 0x44));
}

TEST(DdsFile, MalformedInputIsReportedNotFatal)
{
    const QByteArray good = kl::dds::encode(testPicture(16, 16), Format::Dxt5);

    expectError({});
    expectError(QByteArray("DDS "));
    expectError(QByteArray(200, 'x'));                 // bad magic
    expectError(good.left(127));                       // header cut
    expectError(good.left(128 + 100));                 // pixel data cut
    expectError(kl::dds::encode(testPicture(8, 8), Format::Rgba8).left(128 + 8 * 8 * 4 - 1));

    QByteArray huge = good;
    setU32(huge, 12, 100000); // height
    expectError(huge);
    QByteArray empty = good;
    setU32(empty, 16, 0); // width
    expectError(empty);
    QByteArray absurd = good;
    setU32(absurd, 12, 0xffffffffu);
    setU32(absurd, 16, 0xffffffffu);
    expectError(absurd);

    QByteArray unknownFourCC = good;
    unknownFourCC.replace(84, 4, "ATI2");
    QString error;
    EXPECT_TRUE(kl::dds::decode(unknownFourCC, error).isNull());
    EXPECT_TRUE(error.contains("ATI2")) << error.toStdString();

    QByteArray badBitCount = maskedHeader(1, 1, 0x40, 7, 0x7f, 0, 0, 0);
    badBitCount.append(4, '\0');
    expectError(badBitCount);

    QByteArray dx10Cut = maskedHeader(1, 1, 0x4, 0, 0, 0, 0, 0);
    dx10Cut.replace(84, 4, "DX10");
    expectError(dx10Cut);

    // Deterministic junk after a valid magic must never crash.
    quint32 state = 12345;
    for (int round = 0; round < 200; ++round) {
        QByteArray junk = good.left(128);
        for (int i = 4; i < junk.size(); ++i) {
            state = state * 1664525u + 1013904223u;
            if ((state >> 28) == 0)
                junk[i] = char(state >> 16);
        }
        junk.append(QByteArray(int(state % 300), '\x5a'));
        QString message;
        const QImage image = kl::dds::decode(junk, message);
        EXPECT_EQ(image.isNull(), !message.isEmpty());
    }
}

TEST(DdsFile, EncodingIsDeterministicAndNullImageGivesNothing)
{
    const QImage source = testPicture(40, 40);
    EXPECT_EQ(kl::dds::encode(source, Format::Dxt5), kl::dds::encode(source, Format::Dxt5));
    EXPECT_TRUE(kl::dds::encode(QImage(), Format::Dxt1).isEmpty());
}
