#include "core/ShadowBake.h"

#include <platform/RuntimeError.h>

#include <QElapsedTimer>

#include <algorithm>
#include <cmath>
#include <thread>

namespace landlume {
namespace {

qint64 steadyMs()
{
    static QElapsedTimer clock = [] {
        QElapsedTimer c;
        c.start();
        return c;
    }();
    return clock.elapsed();
}

// Ties to even, as the run-time's conversion to an integer rounds.
qint32 roundEven(double value)
{
    return qint32(std::nearbyint(value));
}

// The pixel of one shadowed sample, darkened when it lies in the picture.
void darken(QImage& picture, qint32 column, qint32 row, QRgb grey)
{
    if (column < 0 || row < 0 || column >= picture.width() || row >= picture.height())
        return;
    reinterpret_cast<QRgb*>(picture.scanLine(row))[column] = grey;
}

// Segments of a band of consecutive samples (x-major, each column's z from 0 up).
struct Band {
    std::vector<D3DVECTOR> starts;
    std::vector<D3DVECTOR> ends;
    std::vector<std::uint8_t> hits;
};

// Fills band samples [first, first + count) of the x-major order; the second
// half on a thread of its own, as the cores would otherwise wait for it.
void buildBand(Band& band, qint64 first, qint64 count, qint64 rows, const D3DVECTOR& direction,
               const std::function<float(float, float)>& heightAt)
{
    const auto build = [&](qint64 begin, qint64 end) {
        qint64 column = (first + begin) / rows;
        qint64 row = (first + begin) % rows;
        for (qint64 i = begin; i < end; ++i, ++row) {
            if (row == rows) {
                row = 0;
                ++column;
            }
            const float fx = float(column);
            const float fz = float(row);
            bakeSegment(fx, heightAt(fx, fz), fz, direction, band.starts[std::size_t(i)], band.ends[std::size_t(i)]);
        }
    };
    if (count < 8192) {
        build(0, count);
        return;
    }
    std::jthread secondHalf(build, count / 2, count);
    build(0, count / 2);
}

} // namespace

qint32 bakeStep(float landExtent, float texExtent)
{
    const double ratio = double(landExtent / texExtent);
    if (!std::isfinite(ratio) || std::fabs(ratio) > 2.0e9)
        throw platform::RuntimeError(platform::err::Overflow);
    return roundEven(ratio);
}

int bakeCollisionType(bool landShadows, bool objectShadows)
{
    if (landShadows && objectShadows)
        return KL_COLLIDE_ALL;
    if (landShadows)
        return KL_COLLIDE_LANDSCAPE;
    if (objectShadows)
        return KL_COLLIDE_MESHES;
    return 0;
}

int shadowGrey(float alpha)
{
    const float v = 255.0f - alpha * 255.0f;
    if (!std::isfinite(v))
        return 0;
    return std::clamp(roundEven(double(v)), 0, 255);
}

void bakeSegment(float x, float y, float z, const D3DVECTOR& d, D3DVECTOR& start, D3DVECTOR& end)
{
    const D3DVECTOR towardsStart{d.x * kSegmentStart, d.y * kSegmentStart, d.z * kSegmentStart};
    const D3DVECTOR towardsEnd{d.x * kSegmentEnd, d.y * kSegmentEnd, d.z * kSegmentEnd};
    start = D3DVECTOR{x + towardsStart.x, y + towardsStart.y, z + towardsStart.z};
    end = D3DVECTOR{x + towardsEnd.x, y + towardsEnd.y, z + towardsEnd.z};
}

qint32 bakePixel(float coordinate, qint32 step)
{
    if (step == 0)
        throw platform::RuntimeError(coordinate == 0.0f ? platform::err::Overflow : platform::err::DivisionByZero);
    const float ratio = coordinate / float(step);
    if (std::fabs(ratio) > 2.0e9f)
        throw platform::RuntimeError(platform::err::Overflow);
    return roundEven(double(ratio));
}

BakeOutcome drawShadowMap(const BakeSetup& setup, const BakeServices& services, QImage& picture,
                          std::vector<D3DVECTOR>& coordinates)
{
    const auto now = services.clockMs ? services.clockMs : std::function<qint64()>(steadyMs);
    BakeOutcome outcome;
    try {
        const qint32 stepX = bakeStep(setup.landWidth, setup.texWidth);
        const qint32 stepZ = bakeStep(setup.landHeight, setup.texHeight);
        picture.fill(Qt::white);
        const int types = bakeCollisionType(setup.landShadows, setup.objectShadows);
        const int grey = shadowGrey(setup.alpha);
        const QRgb shadow = qRgb(grey, grey, grey);

        // Whole world units from 0 up to the extent, counted in 32-bit floats.
        qint64 columns = 0;
        for (float x = 0.0f; x <= setup.landWidth; x += 1.0f)
            ++columns;
        qint64 rows = 0;
        for (float z = 0.0f; z <= setup.landHeight; z += 1.0f)
            ++rows;
        if (columns == 0 || rows == 0)
            return outcome;
        if (!services.keepGoing()) {
            outcome.end = BakeEnd::Stopped;
            return outcome;
        }
        if (types == 0) {
            services.progress(0);
            outcome.end = BakeEnd::NoShadowKinds;
            return outcome;
        }

        std::size_t stored = 0;
        qint64 lastEvents = now();
        qint64 lastRepaint = lastEvents;
        bool drawnSinceRepaint = false;
        const qint64 samples = columns * rows;
        // Samples per band: grown or shrunk so one band's tests take 8 to 25 ms,
        // few enough calls to keep the batch's threads busy, short enough for
        // the events to run in time.
        qint64 bandSize = 32768;
        Band band;
        qint64 shownColumn = -1;
        for (qint64 first = 0; first < samples;) {
            const qint64 count = std::min(bandSize, samples - first);
            band.starts.resize(std::size_t(count));
            band.ends.resize(std::size_t(count));
            buildBand(band, first, count, rows, setup.direction, services.heightAt);
            const qint64 tested = now();
            band.hits.assign(band.starts.size(), 0);
            services.rayTest(band.starts, band.ends, types, band.hits);
            const qint64 took = now() - tested;
            if (took < 8 && bandSize < (qint64(1) << 20))
                bandSize *= 2;
            else if (took > 25 && bandSize > 1024)
                bandSize /= 2;

            // Column and row of each sample counted on, not divided out.
            qint64 column = first / rows;
            qint64 row = first % rows;
            for (qint64 i = 0; i < count; ++i, ++row) {
                if (row == rows) {
                    row = 0;
                    ++column;
                }
                const qint64 sample = first + i;
                if (column != shownColumn) {
                    services.progress(int(std::min<qint64>(column, 0x7fffffff)));
                    shownColumn = column;
                }
                if (band.hits[std::size_t(i)]) {
                    if (setup.keepCoordinates) {
                        if (stored == 0)
                            coordinates.clear();
                        coordinates.push_back(band.ends[std::size_t(i)]);
                    }
                    ++stored;
                    const qint32 pixelColumn = bakePixel(float(column), stepX);
                    const qint32 pixelRow = bakePixel(float(row), stepZ);
                    darken(picture, pixelColumn, pixelRow, shadow);
                    drawnSinceRepaint = true;
                }
                if ((sample & 1023) != 1023 && i + 1 != count)
                    continue;
                const qint64 t = now();
                if (drawnSinceRepaint && t - lastRepaint >= kRepaintIntervalMs) {
                    services.repaint();
                    lastRepaint = now();
                    drawnSinceRepaint = false;
                }
                if (t - lastEvents >= kEventIntervalMs) {
                    services.pumpEvents();
                    lastEvents = now();
                    if (!services.keepGoing()) {
                        outcome.end = BakeEnd::Stopped;
                        return outcome;
                    }
                }
            }
            first += count;
        }
        services.repaint();
    } catch (...) {
        const platform::RuntimeError error = platform::toRuntimeError(std::current_exception());
        outcome.end = BakeEnd::Failed;
        outcome.errorNumber = error.number;
        outcome.errorDescription = error.description;
    }
    return outcome;
}

} // namespace landlume
