// The lightmap filters: the picture is copied into a 32-bit pixel buffer
// (blue, green, red, spare byte per pixel, rows top-down), the chosen filter
// runs on the buffer, and the result is written back. Built: 1 sharpen,
// 5 smooth, 14 brightness; any other number writes the picture back as it was.
#pragma once

#include <QImage>

#include <cstdint>
#include <functional>
#include <vector>

namespace landlume {

inline constexpr int kFilterSharpen = 1;
inline constexpr int kFilterSmooth = 5;
inline constexpr int kFilterBrightness = 14;

// A pixel buffer addressed (channel, x, y) with channel 1 blue, 2 green,
// 3 red, 4 spare and x, y from 1; channels vary fastest, then x, then y.
class PixelBuffer {
public:
    PixelBuffer() = default;
    PixelBuffer(int width, int height) : width_(width), height_(height), bytes_(std::size_t(width) * height * 4) {}
    // The picture's pixels (any format, read as 32-bit B, G, R, spare).
    static PixelBuffer fromImage(const QImage& image);
    // Writes the buffer into a picture of the same size.
    void toImage(QImage& image) const;

    int width() const { return width_; }
    int height() const { return height_; }
    std::uint8_t& at(int channel, int x, int y)
    {
        return bytes_[(std::size_t(y - 1) * std::size_t(width_) + std::size_t(x - 1)) * 4 + std::size_t(channel - 1)];
    }
    std::uint8_t at(int channel, int x, int y) const
    {
        return bytes_[(std::size_t(y - 1) * std::size_t(width_) + std::size_t(x - 1)) * 4 + std::size_t(channel - 1)];
    }

private:
    int width_ = 0;
    int height_ = 0;
    std::vector<std::uint8_t> bytes_;
};

// Progress after each finished row (row x 100 / height) and 100 at the end,
// each followed by a turn of the window's events.
struct FilterProgress {
    int* value = nullptr;
    std::function<void()> pumpEvents;
};

void sharpen(PixelBuffer& work, int strength, const FilterProgress& progress);
void smooth(PixelBuffer& work, const FilterProgress& progress);
void brightness(const PixelBuffer& source, PixelBuffer& work, int strength, const FilterProgress& progress);

// The filter module: one filter at a time.
class MdFilter {
public:
    // Runs filter `number` on the picture in place. A call made while a filter
    // runs (through the events the running one lets through) is dropped and
    // returns false. A picture replaced or resized meanwhile is left as it is.
    bool ApplyFilter(int number, QImage& bitmap, int strength, int& progress,
                     const std::function<void()>& pumpEvents);
    bool busy() const { return busy_; }

private:
    bool busy_ = false;
};

} // namespace landlume
