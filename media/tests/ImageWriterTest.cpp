#include "BmpWriter.h"
#include "GifWriter.h"

#include <gtest/gtest.h>

#include <QBuffer>
#include <QImageReader>

namespace {

QImage readGif(const QByteArray& bytes)
{
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, "gif");
    QImage image = reader.read();
    EXPECT_FALSE(image.isNull()) << reader.errorString().toStdString();
    return image.convertToFormat(QImage::Format_RGB32);
}

} // namespace

TEST(GifWriter, PicturesWithFewColoursAreStoredExactly)
{
    // Few colours but long, varied runs: the LZW table fills up and is cleared several times.
    QImage image(300, 211, QImage::Format_RGB32);
    quint32 state = 7;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            state = state * 1103515245u + 12345u;
            const int c = int((state >> 16) % 200);
            image.setPixel(x, y, qRgb(c, 255 - c, (c * 7) % 256));
        }
    }
    const QImage decoded = readGif(kl::media::encodeGif(image));
    ASSERT_EQ(decoded.size(), image.size());
    EXPECT_EQ(decoded, image);

    QImage single(1, 1, QImage::Format_RGB32);
    single.fill(qRgb(10, 20, 30));
    EXPECT_EQ(readGif(kl::media::encodeGif(single)), single);
}

TEST(GifWriter, ManyColoursAreApproximatedClosely)
{
    QImage image(256, 256, QImage::Format_RGB32);
    for (int y = 0; y < 256; ++y)
        for (int x = 0; x < 256; ++x)
            image.setPixel(x, y, qRgb(x, y, (x + y) / 2));
    const QImage decoded = readGif(kl::media::encodeGif(image));
    ASSERT_EQ(decoded.size(), image.size());
    long long error = 0;
    for (int y = 0; y < 256; ++y)
        for (int x = 0; x < 256; ++x) {
            const QRgb a = image.pixel(x, y), b = decoded.pixel(x, y);
            error += std::abs(qRed(a) - qRed(b)) + std::abs(qGreen(a) - qGreen(b)) + std::abs(qBlue(a) - qBlue(b));
        }
    // 65536 colours in 256 boxes of about 16 x 16: mean error a few levels per channel.
    EXPECT_LT(double(error) / (256.0 * 256.0 * 3.0), 6.0);
    EXPECT_TRUE(kl::media::encodeGif(QImage()).isEmpty());
}

TEST(BmpWriter, IndexedAndColourPicturesReadBackWithZeroPadding)
{
    // Width 3: every 8-bit row needs one padding byte, every 24-bit row three.
    QImage grey(3, 2, QImage::Format_Indexed8);
    QList<QRgb> palette;
    for (int i = 0; i < 256; ++i)
        palette.append(qRgb(i, i, i));
    grey.setColorTable(palette);
    const uchar levels[2][3] = {{0, 128, 255}, {7, 8, 9}};
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x)
            grey.setPixel(x, y, levels[y][x]);
    const QByteArray greyFile = kl::media::encodeBmp(grey);
    ASSERT_EQ(greyFile.size(), 14 + 40 + 1024 + 2 * 4);
    EXPECT_EQ(greyFile[28], 8); // bits per pixel
    EXPECT_EQ(greyFile.right(8), QByteArray("\x07\x08\x09\x00\x00\x80\xff\x00", 8)); // bottom row first
    const QImage greyBack = QImage::fromData(greyFile, "bmp");
    ASSERT_EQ(greyBack.size(), grey.size());
    EXPECT_EQ(qRed(greyBack.pixel(1, 0)), 128);
    EXPECT_EQ(qRed(greyBack.pixel(2, 1)), 9);

    QImage colour(3, 1, QImage::Format_RGB32);
    colour.setPixel(0, 0, qRgb(255, 0, 0));
    colour.setPixel(1, 0, qRgb(0, 255, 0));
    colour.setPixel(2, 0, qRgb(1, 2, 3));
    const QByteArray colourFile = kl::media::encodeBmp(colour);
    ASSERT_EQ(colourFile.size(), 14 + 40 + 12);
    EXPECT_EQ(colourFile[28], 24);
    EXPECT_EQ(colourFile.right(3), QByteArray(3, '\0'));
    EXPECT_EQ(QImage::fromData(colourFile, "bmp").convertToFormat(QImage::Format_RGB32), colour);
    EXPECT_TRUE(kl::media::encodeBmp(QImage()).isEmpty());
}
