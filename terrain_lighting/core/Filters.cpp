#include "core/Filters.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>

namespace landlume {
namespace {

int clampByte(int v) { return v >= 256 ? 255 : (v < 0 ? 0 : v); }

void rowDone(const FilterProgress& progress, int row, int height)
{
    if (progress.value)
        *progress.value = row * 100 / height;
    if (progress.pumpEvents)
        progress.pumpEvents();
}

void finished(const FilterProgress& progress)
{
    if (progress.value)
        *progress.value = 100;
    if (progress.pumpEvents)
        progress.pumpEvents();
}

} // namespace

PixelBuffer PixelBuffer::fromImage(const QImage& image)
{
    const QImage pixels = image.format() == QImage::Format_RGB32 || image.format() == QImage::Format_ARGB32
                              ? image
                              : image.convertToFormat(QImage::Format_RGB32);
    PixelBuffer buffer(pixels.width(), pixels.height());
    for (int y = 0; y < pixels.height(); ++y)
        std::memcpy(&buffer.bytes_[std::size_t(y) * std::size_t(pixels.width()) * 4], pixels.constScanLine(y),
                    std::size_t(pixels.width()) * 4);
    return buffer;
}

void PixelBuffer::toImage(QImage& image) const
{
    if (image.format() != QImage::Format_RGB32 && image.format() != QImage::Format_ARGB32)
        image = image.convertToFormat(QImage::Format_RGB32);
    for (int y = 0; y < height_; ++y)
        std::memcpy(image.scanLine(y), &bytes_[std::size_t(y) * std::size_t(width_) * 4], std::size_t(width_) * 4);
}

void sharpen(PixelBuffer& work, int strength, const FilterProgress& progress)
{
    const int w = work.width();
    const int h = work.height();
    for (int y = 2; y <= h - 1; ++y) {
        for (int x = 2; x <= w - 1; ++x) {
            std::array<int, 3> result{};
            for (int c = 1; c <= 3; ++c) {
                const int v = work.at(c, x, y);
                const int s = work.at(c, x - 1, y - 1) + work.at(c, x, y - 1) + work.at(c, x + 1, y - 1) +
                              work.at(c, x - 1, y) + work.at(c, x + 1, y) + work.at(c, x - 1, y + 1) +
                              work.at(c, x, y + 1) + work.at(c, x + 1, y + 1);
                const int divisor = strength + 8;
                result[std::size_t(c - 1)] = divisor == 0 ? v : clampByte(((strength + 24) * v - 2 * s) / divisor);
            }
            for (int c = 1; c <= 3; ++c)
                work.at(c, x, y) = std::uint8_t(result[std::size_t(c - 1)]);
        }
        rowDone(progress, y, h);
    }
    finished(progress);
}

void smooth(PixelBuffer& work, const FilterProgress& progress)
{
    const int w = work.width();
    const int h = work.height();
    for (int y = 2; y <= h - 1; ++y) {
        for (int x = 2; x <= w - 1; ++x) {
            std::array<int, 3> result{};
            for (int c = 1; c <= 3; ++c)
                result[std::size_t(c - 1)] = (work.at(c, x, y) + work.at(c, x - 1, y) + work.at(c, x + 1, y) +
                                              work.at(c, x, y - 1) + work.at(c, x, y + 1)) /
                                             5;
            for (int c = 1; c <= 3; ++c)
                work.at(c, x, y) = std::uint8_t(result[std::size_t(c - 1)]);
        }
        rowDone(progress, y, h);
    }
    finished(progress);
}

void brightness(const PixelBuffer& source, PixelBuffer& work, int strength, const FilterProgress& progress)
{
    const float factor = float(100 + strength) / 100.0f;
    std::array<int, 256> table{};
    for (int i = 0; i < 256; ++i)
        table[std::size_t(i)] = clampByte(int(std::nearbyint(double(factor * float(i)))));
    const int w = work.width();
    const int h = work.height();
    for (int y = 1; y <= h; ++y) {
        for (int x = 1; x <= w; ++x)
            for (int c = 1; c <= 3; ++c)
                work.at(c, x, y) = std::uint8_t(table[source.at(c, x, y)]);
        rowDone(progress, y, h);
    }
    finished(progress);
}

bool MdFilter::ApplyFilter(int number, QImage& bitmap, int strength, int& progress,
                           const std::function<void()>& pumpEvents)
{
    if (busy_)
        return false;
    busy_ = true;
    const QSize size = bitmap.size();
    const PixelBuffer source = PixelBuffer::fromImage(bitmap);
    PixelBuffer work = source;
    const FilterProgress report{&progress, pumpEvents};
    switch (number) {
    case kFilterSharpen:
        sharpen(work, strength, report);
        break;
    case kFilterSmooth:
        smooth(work, report);
        break;
    case kFilterBrightness:
        brightness(source, work, strength, report);
        break;
    default:
        break;
    }
    // The events may have replaced the picture: the result belongs to the old one.
    if (!bitmap.isNull() && bitmap.size() == size)
        work.toImage(bitmap);
    busy_ = false;
    return true;
}

} // namespace landlume
