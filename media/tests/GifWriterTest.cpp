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
