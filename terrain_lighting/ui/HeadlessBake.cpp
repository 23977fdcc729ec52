#include "ui/HeadlessBake.h"

#include "core/LightmapFile.h"
#include "core/MapFile.h"
#include "core/NumberInput.h"
#include "core/ShadowCoordinates.h"
#include "ui/ClsPreRendering.h"
#include "ui/MDIMain.h"
#include "ui/MdEngine.h"

#include <platform/CommandLine.h>
#include <platform/RuntimeError.h>

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>

namespace landlume {
namespace {

// The map's steps on the engine alone: what the window's map load does to
// the engine, without its panels and pictures.
class EngineOnlyMapTarget : public MapTarget {
public:
    explicit EngineOnlyMapTarget(MdEngine& engine) : engine_(engine) {}

    void buildLandscape(const QString& heightmap, qint32 width, qint32 height, float factorY) override
    {
        engine_.buildLandscape(heightmap, width, height, factorY);
    }
    void setLightmapSize(const QString& lightmap, float texWidth, float texHeight, float alpha) override
    {
        // The window warns and keeps its picture; without one the bake has no
        // size to fall back on.
        if (!legalLightmapSize(texWidth, texHeight))
            throw platform::RuntimeError(platform::err::InvalidPropertyValue,
                                         QStringLiteral("%1 x %2: %3")
                                             .arg(double(texWidth))
                                             .arg(double(texHeight))
                                             .arg(kIllegalLightmapSize));
        SceneSettings& s = engine_.settings();
        s.lightmap = lightmap;
        s.alpha = alpha;
        s.texWidth = texWidth;
        s.texHeight = texHeight;
    }
    void applyLightmap(const QString& lightmap) override { engine_.loadLightmapTexture(lightmap); }
    void placeObject(const QString& fileType, const PlacedObject& object) override
    {
        engine_.placeObject(fileType, object);
    }
    void setLight(const D3DVECTOR& direction) override { engine_.changeLight(direction); }
    void setShadowFlags(bool landShadows, bool objectShadows) override
    {
        engine_.setShadowFlags(landShadows, objectShadows);
    }
    void showSettings() override {}

private:
    MdEngine& engine_;
};

QString fromWorkingFolder(const QString& path) { return QDir::cleanPath(QFileInfo(path).absoluteFilePath()); }

// Empty when `path` can be read as a file, else why not.
QString unreadable(const QString& path)
{
    const QFileInfo info(path);
    if (!info.exists())
        return QStringLiteral("no such file");
    if (info.isDir())
        return QStringLiteral("it is a folder");
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return file.errorString();
    return {};
}

// Empty when the folder `path` is to be written in exists.
QString missingFolder(const QString& path)
{
    const QFileInfo folder(QFileInfo(path).absolutePath());
    if (!folder.isDir())
        return QStringLiteral("the folder %1 does not exist").arg(QDir::toNativeSeparators(folder.filePath()));
    return {};
}

// Progress in tenths of the columns, one line each.
class ProgressLines {
public:
    ProgressLines(QTextStream& log, qint64 columns) : log_(log), columns_(std::max<qint64>(1, columns)) {}
    void show(int column)
    {
        const int tenth = int(std::min<qint64>(10, (qint64(column) + 1) * 10 / columns_));
        if (tenth <= shown_)
            return;
        shown_ = tenth;
        log_ << "landlume: baking " << tenth * 10 << "%\n";
        log_.flush();
    }

private:
    QTextStream& log_;
    qint64 columns_;
    int shown_ = 0;
};

} // namespace

int runHeadlessBake(const BakeRequest& request, const QString& programFolder, QTextStream& log)
{
    const auto fail = [&log](const QString& what) {
        log << "landlume: " << what << '\n';
        log.flush();
        return platform::kExitFailed;
    };
    const QString map = fromWorkingFolder(request.map);
    const QString lightmap = fromWorkingFolder(request.lightmap);
    const QString coordinates = request.coordinates.isEmpty() ? QString() : fromWorkingFolder(request.coordinates);
    if (const QString why = unreadable(map); !why.isEmpty())
        return fail(QStringLiteral("cannot read the map %1: %2").arg(request.map, why));
    for (const QString& output : {lightmap, coordinates})
        if (const QString why = output.isEmpty() ? QString() : missingFolder(output); !why.isEmpty())
            return fail(QStringLiteral("cannot write %1: %2").arg(QDir::toNativeSeparators(output), why));

    MdEngine engine(programFolder, EngineHooks{});
    StartError startError;
    if (!engine.startWithoutView(startError))
        return fail(startError.message);

    log << "landlume: loading " << request.map << '\n';
    log.flush();
    EngineOnlyMapTarget target(engine);
    const MapLoadResult loaded = loadMap(map, target);
    if (!loaded.ok)
        return fail(QStringLiteral("%1: %2").arg(request.map, loaded.message()));
    engine.settleAlignedObjects();

    SceneSettings& s = engine.settings();
    QImage picture(int(s.texWidth), int(s.texHeight), QImage::Format_RGB32);
    picture.fill(Qt::white);
    ProgressLines progress(log, qint64(s.landWidth) + 1);
    ClsPreRendering::Display display;
    display.progress = [&progress](int column) { progress.show(column); };
    display.repaint = [] {};
    display.pumpEvents = [] {};
    display.keepCoordinates = !coordinates.isEmpty();
    s.generating = true;
    QElapsedTimer clock;
    clock.start();
    const BakeOutcome outcome =
        ClsPreRendering().Draw_ShadowMap(engine, picture, display, s.landWidth, s.landHeight, s.texWidth, s.texHeight);
    s.generating = false;
    if (outcome.end == BakeEnd::Finished)
        log << "landlume: baked in " << QString::number(double(clock.nsecsElapsed()) / 1e9, 'f', 3) << " s\n";
    if (outcome.end == BakeEnd::Failed)
        return fail(QStringLiteral("the bake failed: %1").arg(outcome.errorDescription));
    if (outcome.end == BakeEnd::NoShadowKinds)
        log << "landlume: the map asks for neither land nor object shadows: the lightmap is white\n";

    if (const platform::SaveResult saved = saveLightmapPicture(picture, lightmap); !saved)
        return fail(QStringLiteral("the lightmap could not be saved to %1: %2")
                        .arg(QDir::toNativeSeparators(lightmap), saved.error));
    log << "landlume: lightmap written to " << QDir::toNativeSeparators(lightmap) << '\n';
    if (!coordinates.isEmpty()) {
        switch (saveShadowCoordinates(s.shadowCoordinates, coordinates)) {
        case CoordinatesSaved::Saved:
            log << "landlume: " << s.shadowCoordinates.size() << " shadowed points written to "
                << QDir::toNativeSeparators(coordinates) << '\n';
            break;
        case CoordinatesSaved::Nothing:
            log << "landlume: no shadowed points: " << QDir::toNativeSeparators(coordinates) << " not written\n";
            break;
        case CoordinatesSaved::Failed:
            return fail(
                QStringLiteral("the shadow coordinates could not be saved to %1").arg(QDir::toNativeSeparators(coordinates)));
        }
    }
    log.flush();
    return platform::kExitDone;
}

} // namespace landlume
