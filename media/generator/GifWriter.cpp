#include "GifWriter.h"

#include <QHash>

#include <algorithm>
#include <array>
#include <cstdint>
#include <vector>

namespace kl::media {
namespace {

struct ColourCount {
    QRgb colour = 0;
    int count = 0;
};

int channel(QRgb c, int axis) { return axis == 0 ? qRed(c) : axis == 1 ? qGreen(c) : qBlue(c); }

// A box of distinct colours for the median cut, as a range into the shared colour list.
struct Box {
    std::size_t begin = 0, end = 0;
    int longestAxis = 0;
    int extent = 0;
};

Box measure(const std::vector<ColourCount>& colours, std::size_t begin, std::size_t end)
{
    Box box{begin, end, 0, 0};
    for (int axis = 0; axis < 3; ++axis) {
        int lo = 255, hi = 0;
        for (std::size_t i = begin; i < end; ++i) {
            lo = std::min(lo, channel(colours[i].colour, axis));
            hi = std::max(hi, channel(colours[i].colour, axis));
        }
        if (hi - lo > box.extent) {
            box.extent = hi - lo;
            box.longestAxis = axis;
        }
    }
    return box;
}

std::vector<QRgb> medianCutPalette(std::vector<ColourCount> colours)
{
    std::vector<Box> boxes{measure(colours, 0, colours.size())};
    while (boxes.size() < 256) {
        // Split the box with the widest colour range that still holds two colours.
        auto widest = std::max_element(boxes.begin(), boxes.end(), [](const Box& a, const Box& b) {
            const bool aSplittable = a.end - a.begin > 1, bSplittable = b.end - b.begin > 1;
            if (aSplittable != bSplittable)
                return !aSplittable;
            return a.extent < b.extent;
        });
        if (widest->end - widest->begin < 2)
            break;
        const Box box = *widest;
        const int axis = box.longestAxis;
        std::sort(colours.begin() + std::ptrdiff_t(box.begin), colours.begin() + std::ptrdiff_t(box.end),
                  [axis](const ColourCount& a, const ColourCount& b) {
                      const int ca = channel(a.colour, axis), cb = channel(b.colour, axis);
                      return ca != cb ? ca < cb : a.colour < b.colour;
                  });
        // Median by pixel count, keeping at least one colour on each side.
        long long total = 0;
        for (std::size_t i = box.begin; i < box.end; ++i)
            total += colours[i].count;
        long long running = 0;
        std::size_t split = box.begin + 1;
        for (std::size_t i = box.begin; i < box.end - 1; ++i) {
            running += colours[i].count;
            split = i + 1;
            if (running * 2 >= total)
                break;
        }
        *widest = measure(colours, box.begin, split);
        boxes.push_back(measure(colours, split, box.end));
    }

    std::vector<QRgb> palette;
    for (const Box& box : boxes) {
        long long sum[3] = {0, 0, 0}, count = 0;
        for (std::size_t i = box.begin; i < box.end; ++i) {
            for (int axis = 0; axis < 3; ++axis)
                sum[axis] += (long long)channel(colours[i].colour, axis) * colours[i].count;
            count += colours[i].count;
        }
        palette.push_back(qRgb(int((sum[0] + count / 2) / count), int((sum[1] + count / 2) / count),
                               int((sum[2] + count / 2) / count)));
    }
    return palette;
}

int nearestIndex(const std::vector<QRgb>& palette, QRgb colour)
{
    int best = 0, bestDistance = 1 << 30;
    for (std::size_t i = 0; i < palette.size(); ++i) {
        const int dr = qRed(palette[i]) - qRed(colour), dg = qGreen(palette[i]) - qGreen(colour),
                  db = qBlue(palette[i]) - qBlue(colour);
        const int distance = dr * dr + dg * dg + db * db;
        if (distance < bestDistance) {
            bestDistance = distance;
            best = int(i);
        }
    }
    return best;
}

// Packs variable-width codes least significant bit first, as GIF requires.
class BitWriter {
public:
    void write(int code, int width)
    {
        m_buffer |= std::uint32_t(code) << m_bits;
        m_bits += width;
        while (m_bits >= 8) {
            m_bytes.push_back(char(m_buffer & 0xff));
            m_buffer >>= 8;
            m_bits -= 8;
        }
    }
    QByteArray finish()
    {
        if (m_bits > 0)
            m_bytes.push_back(char(m_buffer & 0xff));
        return m_bytes;
    }

private:
    QByteArray m_bytes;
    std::uint32_t m_buffer = 0;
    int m_bits = 0;
};

QByteArray lzwCompress(const std::vector<uchar>& indices)
{
    constexpr int kMinCodeSize = 8;
    constexpr int kClear = 1 << kMinCodeSize, kEnd = kClear + 1, kMaxCodes = 4096;
    BitWriter out;
    QHash<std::uint32_t, int> table; // (prefix code << 8 | next index) -> code
    int codeSize = kMinCodeSize + 1;
    int nextCode = kEnd + 1;

    out.write(kClear, codeSize);
    int prefix = indices.empty() ? 0 : indices.front();
    for (std::size_t i = 1; i < indices.size(); ++i) {
        const uchar k = indices[i];
        const std::uint32_t key = std::uint32_t(prefix) << 8 | k;
        const auto found = table.constFind(key);
        if (found != table.constEnd()) {
            prefix = *found;
            continue;
        }
        out.write(prefix, codeSize);
        table.insert(key, nextCode++);
        if (nextCode > (1 << codeSize) && codeSize < 12)
            ++codeSize;
        if (nextCode == kMaxCodes) {
            // Table full: start afresh rather than emit codes the reader cannot add.
            out.write(kClear, codeSize);
            table.clear();
            codeSize = kMinCodeSize + 1;
            nextCode = kEnd + 1;
        }
        prefix = k;
    }
    out.write(prefix, codeSize);
    out.write(kEnd, codeSize);
    return out.finish();
}

void appendU16(QByteArray& out, int value)
{
    out.append(char(value & 0xff));
    out.append(char((value >> 8) & 0xff));
}

} // namespace

QByteArray encodeGif(const QImage& image)
{
    if (image.isNull())
        return {};
    const QImage rgb = image.convertToFormat(QImage::Format_RGB32);
    const int width = rgb.width(), height = rgb.height();

    QHash<QRgb, int> counts;
    for (int y = 0; y < height; ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(rgb.constScanLine(y));
        for (int x = 0; x < width; ++x)
            ++counts[line[x] | 0xff000000u];
    }
    std::vector<ColourCount> colours;
    colours.reserve(std::size_t(counts.size()));
    for (auto it = counts.constBegin(); it != counts.constEnd(); ++it)
        colours.push_back({it.key(), it.value()});
    // Hash order is not stable between runs; sort so the palette is.
    std::sort(colours.begin(), colours.end(), [](const ColourCount& a, const ColourCount& b) { return a.colour < b.colour; });
    const std::vector<QRgb> palette = medianCutPalette(colours);

    QHash<QRgb, uchar> indexOf;
    for (const ColourCount& c : colours)
        indexOf.insert(c.colour, uchar(nearestIndex(palette, c.colour)));
    std::vector<uchar> indices;
    indices.reserve(std::size_t(width) * std::size_t(height));
    for (int y = 0; y < height; ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(rgb.constScanLine(y));
        for (int x = 0; x < width; ++x)
            indices.push_back(indexOf.value(line[x] | 0xff000000u));
    }

    QByteArray out("GIF89a");
    appendU16(out, width);
    appendU16(out, height);
    out.append(char(0xf7)); // global colour table of 256 entries, 8-bit colour resolution
    out.append(char(0));    // background colour index
    out.append(char(0));    // square pixels
    for (int i = 0; i < 256; ++i) {
        const QRgb c = i < int(palette.size()) ? palette[std::size_t(i)] : qRgb(0, 0, 0);
        out.append(char(qRed(c)));
        out.append(char(qGreen(c)));
        out.append(char(qBlue(c)));
    }
    out.append(char(0x2c)); // image descriptor
    appendU16(out, 0);
    appendU16(out, 0);
    appendU16(out, width);
    appendU16(out, height);
    out.append(char(0));    // no local table, not interlaced
    out.append(char(8));    // LZW minimum code size
    const QByteArray data = lzwCompress(indices);
    for (qsizetype pos = 0; pos < data.size(); pos += 255) {
        const qsizetype length = std::min<qsizetype>(255, data.size() - pos);
        out.append(char(length));
        out.append(data.constData() + pos, length);
    }
    out.append(char(0));    // end of image data
    out.append(char(0x3b)); // trailer
    return out;
}

} // namespace kl::media
