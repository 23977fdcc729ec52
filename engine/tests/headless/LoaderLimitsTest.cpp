// The picture and model loaders refuse what is beyond their limits with a
// message, before decoding: the side and pixel limits of pictures, the vertex
// and index limits of models.
#include "image/ImageLoader.h"
#include "model/ModelLoader.h"

#include <gtest/gtest.h>

#include <QBuffer>
#include <QtEndian>

#include <cstring>

using namespace kl;

namespace {

// A BMP file header and info header declaring `width` x `height`, 24 bits,
// with no pixels after it.
QByteArray bmpHeader(qint32 width, qint32 height)
{
    QByteArray bytes(54, '\0');
    auto* p = reinterpret_cast<uchar*>(bytes.data());
    p[0] = 'B';
    p[1] = 'M';
    qToLittleEndian<quint32>(54, p + 10);
    qToLittleEndian<quint32>(40, p + 14);
    qToLittleEndian<qint32>(width, p + 18);
    qToLittleEndian<qint32>(height, p + 22);
    qToLittleEndian<quint16>(1, p + 26);
    qToLittleEndian<quint16>(24, p + 28);
    return bytes;
}

// A DDS header of an uncompressed 32-bit picture, with no pixels.
QByteArray ddsHeader(quint32 width, quint32 height)
{
    QByteArray bytes(128, '\0');
    auto* p = reinterpret_cast<uchar*>(bytes.data());
    std::memcpy(p, "DDS ", 4);
    qToLittleEndian<quint32>(124, p + 4);
    qToLittleEndian<quint32>(0x100F, p + 8);
    qToLittleEndian<quint32>(height, p + 12);
    qToLittleEndian<quint32>(width, p + 16);
    qToLittleEndian<quint32>(32, p + 76);
    qToLittleEndian<quint32>(0x41, p + 80);
    qToLittleEndian<quint32>(32, p + 88);
    return bytes;
}

QByteArray bmpFile(QSize size)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(qRgb(10, 20, 30));
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "BMP");
    return bytes;
}

} // namespace

TEST(LoaderLimitsTest, PicturesBeyondTheSideOrPixelLimitAreRefusedBeforeDecoding)
{
    const auto wide = image::decodeImage(bmpHeader(image::MaxImageSide + 1, 1), "wide.bmp");
    EXPECT_TRUE(wide.image.isNull());
    EXPECT_TRUE(wide.error.contains("Image too large (16385 x 1")) << wide.error.toStdString();
    EXPECT_TRUE(wide.error.contains("wide.bmp"));

    // Within the side limit, but one row more than 4096 x 4096 pixels.
    const auto vast = image::decodeImage(bmpHeader(4096, 4097), "vast.bmp");
    EXPECT_TRUE(vast.error.contains("Image too large (4096 x 4097")) << vast.error.toStdString();

    const auto tallDds = image::decodeImage(ddsHeader(4, image::MaxImageSide + 1), "tall.dds");
    EXPECT_TRUE(tallDds.error.contains("Image too large (4 x 16385")) << tallDds.error.toStdString();
    const auto vastDds = image::decodeImage(ddsHeader(4097, 4096), "vast.dds");
    EXPECT_TRUE(vastDds.error.contains("Image too large (4097 x 4096")) << vastDds.error.toStdString();

    // 28 bytes of GIF placing a frame far out on its canvas: the picture would
    // be larger than the pixel limit, so it is not made.
    const QByteArray farFrame("GIF89aI,\x00\x00(\x01\xff,.\x00\x00\x13\x00\x00\x00\x00\x00\x00\x00\x13\x00\x00", 28);
    const auto gif = image::decodeImage(farFrame, "far.gif");
    EXPECT_TRUE(gif.image.isNull()) << gif.image.width() << " x " << gif.image.height();
    EXPECT_TRUE(gif.error.contains("far.gif"));

    // A picture within the limits still decodes, pixels and all.
    const auto small = image::decodeImage(bmpFile({3, 2}), "small.bmp");
    ASSERT_FALSE(small.image.isNull()) << small.error.toStdString();
    EXPECT_EQ(small.image.size(), QSize(3, 2));
    EXPECT_EQ(small.image.pixel(2, 1), qRgb(10, 20, 30));
}

TEST(LoaderLimitsTest, ModelsBeyondTheVertexOrIndexLimitAreRefused)
{
    const QByteArray triangles = "xof 0303txt 0032\n"
                                 "Mesh Two {\n"
                                 " 4; 0.0;0.0;0.0;, 1.0;0.0;0.0;, 0.0;1.0;0.0;, 1.0;1.0;0.0;;\n"
                                 " 2; 3;0,1,2;, 3;1,3,2;;\n"
                                 "}\n";
    model::LoadOptions options;
    const auto whole = model::loadModelData(triangles, model::ModelKind::DirectX, options, "two.x");
    ASSERT_TRUE(whole.ok()) << whole.error.toStdString();
    const std::size_t vertices = whole.geometry.vertices.size();
    ASSERT_EQ(whole.geometry.indices.size(), 6u);

    options.maxVertices = vertices;
    options.maxIndices = 6;
    EXPECT_TRUE(model::loadModelData(triangles, model::ModelKind::DirectX, options, "two.x").ok());

    options.maxVertices = vertices - 1;
    const auto manyVertices = model::loadModelData(triangles, model::ModelKind::DirectX, options, "two.x");
    EXPECT_FALSE(manyVertices.ok());
    EXPECT_TRUE(manyVertices.geometry.vertices.empty());
    EXPECT_TRUE(manyVertices.error.contains("two.x: model has too many vertices")) << manyVertices.error.toStdString();

    options.maxVertices = vertices;
    options.maxIndices = 5;
    const auto manyIndices = model::loadModelData(triangles, model::ModelKind::DirectX, options, "two.x");
    EXPECT_FALSE(manyIndices.ok());
    EXPECT_TRUE(manyIndices.geometry.indices.empty());
    EXPECT_TRUE(manyIndices.error.contains("model has too many triangles (more than 5 indices)"))
        << manyIndices.error.toStdString();
}
