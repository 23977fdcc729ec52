#include "Content.h"

#include "BmpWriter.h"
#include "GifWriter.h"
#include "Logo.h"
#include "SkyBox.h"
#include "Sprites.h"
#include "SurfaceTextures.h"
#include "Terrain.h"

#include "dds/DdsFile.h"

#include <QBuffer>
#include <QDir>
#include <QFileInfo>
#include <QImageWriter>
#include <QSaveFile>

#include <stdexcept>

namespace kl::media {
namespace {

QByteArray encodeWithQt(const QImage& image, const char* format, int quality = -1)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, format);
    if (quality >= 0)
        writer.setQuality(quality);
    if (!writer.write(image))
        throw std::runtime_error(QStringLiteral("cannot encode %1: %2")
                                     .arg(QString::fromLatin1(format), writer.errorString())
                                     .toStdString());
    return bytes;
}

QByteArray jpeg(const QImage& image) { return encodeWithQt(image, "jpg", 90); }
QByteArray png(const QImage& image) { return encodeWithQt(image, "png"); }
QByteArray bmp(const QImage& image) { return encodeBmp(image); }

struct SkyFace {
    CubeFace face;
    const char* mountainsFile;
    const char* gridFile;
};

// The grid box's file names follow another naming of the sides: Emberly loads
// sky_gridrt as its front face, sky_gridft as back, sky_gridbk as left, sky_gridlf as right.
constexpr SkyFace kSkyFaces[] = {
    {CubeFace::Front, "front.jpg", "sky_gridrt.jpg"}, {CubeFace::Back, "back.jpg", "sky_gridft.jpg"},
    {CubeFace::Left, "left.jpg", "sky_gridbk.jpg"},   {CubeFace::Right, "right.jpg", "sky_gridlf.jpg"},
    {CubeFace::Top, "top.jpg", "sky_gridup.jpg"},     {CubeFace::Bottom, "bottom.jpg", "sky_griddn.jpg"},
};

void addGlazery(std::vector<ContentFile>& files)
{
    files.push_back({"Glazery/Data/textures/Fabrics004.jpg", jpeg(wovenFabric(512))});
    files.push_back({"Glazery/Data/textures/Floors017.jpg", jpeg(floorTiles(512))});
}

void addEmberly(std::vector<ContentFile>& files)
{
    constexpr int kSprite = 128;
    files.push_back({"Emberly/media/pFlake.dds", dds::encode(snowFlakeSprite(kSprite), dds::Format::Dxt5)});
    files.push_back({"Emberly/media/pSmoke.dds", dds::encode(smokeSprite(kSprite), dds::Format::Dxt5)});
    // The flare's smooth bright gradient would band in block compression.
    files.push_back({"Emberly/media/pFlare.dds", dds::encode(flareSprite(kSprite), dds::Format::Rgba8)});
    files.push_back({"Emberly/media/pBubble.dds", dds::encode(bubbleSprite(kSprite), dds::Format::Dxt5)});
    files.push_back({"Emberly/media/detail.jpg", jpeg(cobbleFloor(512))});
    files.push_back({"Emberly/media/silver.jpg", jpeg(brushedMetal(256))});
    constexpr int kSkyFace = 512;
    for (const SkyFace& face : kSkyFaces)
        files.push_back({QStringLiteral("Emberly/media/") + face.mountainsFile, jpeg(mountainsFace(face.face, kSkyFace))});
    for (const SkyFace& face : kSkyFaces)
        files.push_back({QStringLiteral("Emberly/media/") + face.gridFile, jpeg(gridFace(face.face, kSkyFace))});
}

void addLandlume(std::vector<ContentFile>& files)
{
    const HeightField field = makeHeightField(kLandHeightMapSize, 1201);
    files.push_back({"Landlume/Textures/Landscape/heightmap.bmp", bmp(greyHeightMap(field))});
    files.push_back({"Landlume/Textures/Landscape/colormap.bmp",
                     bmp(terrainColourMap(field, kLandColourMapSize, kLandWorldSize, kLandHeightRange))});
    files.push_back({"Landlume/Textures/Landscape/detailmap.bmp", bmp(detailNoise(256))});
}

void addLayerloom(std::vector<ContentFile>& files)
{
    constexpr int kLayer = 256;
    files.push_back({"Layerloom/samples/sand.bmp", bmp(sand(kLayer))});
    files.push_back({"Layerloom/samples/grass.jpg", jpeg(grass(kLayer))});
    files.push_back({"Layerloom/samples/rock.png", png(rock(kLayer))});
    files.push_back({"Layerloom/samples/snow.gif", encodeGif(snow(kLayer))});
    files.push_back({"Layerloom/samples/heightmap.bmp", bmp(greyHeightMap(makeHeightField(257, 1301)))});
}

void addStewardex(std::vector<ContentFile>& files)
{
    files.push_back({"Stewardex/logo.png", png(stewardexLogo(320, 96))});
}

} // namespace

std::vector<ContentFile> generateContent()
{
    std::vector<ContentFile> files;
    addGlazery(files);
    addEmberly(files);
    addLandlume(files);
    addLayerloom(files);
    addStewardex(files);
    return files;
}

QStringList contentFolders()
{
    return {"Glazery/Data/textures", "Glazery/Data/models", "Emberly/media",    "Emberly/mesh",
            "Landlume/Textures/Landscape", "Landlume/Models",  "Landlume/Maps", "Landlume/Screenshots",
            "Landlume/Debug",    "Layerloom/samples",   "Stewardex"};
}

bool writeContent(const QString& root, QString& error)
{
    const QDir base(root);
    for (const QString& folder : contentFolders()) {
        if (!base.mkpath(folder)) {
            error = QStringLiteral("Cannot create folder %1").arg(base.filePath(folder));
            return false;
        }
    }
    std::vector<ContentFile> files;
    try {
        files = generateContent();
    } catch (const std::exception& e) {
        error = QString::fromStdString(e.what());
        return false;
    }
    for (const ContentFile& file : files) {
        const QString path = base.filePath(file.relativePath);
        QSaveFile out(path);
        if (!out.open(QIODevice::WriteOnly) || out.write(file.bytes) != file.bytes.size() || !out.commit()) {
            error = QStringLiteral("Cannot write %1: %2").arg(path, out.errorString());
            return false;
        }
    }
    return true;
}

} // namespace kl::media
