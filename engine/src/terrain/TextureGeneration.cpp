#include "terrain/TextureGeneration.h"

#include <QtEndian>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <optional>
#include <thread>

namespace kl::terrain {

namespace {

// 0 below `from`, 1 above `to`, smooth (3t² - 2t³) between.
float smoothRamp(float value, float from, float to)
{
    if (!(to > from))
        return value >= from ? 1.0f : 0.0f;
    const float t = std::clamp((value - from) / (to - from), 0.0f, 1.0f);
    return t * t * (3.0f - 2.0f * t);
}

// The same from `from` over 1 / scale levels.
float smoothStep(float value, float from, float scale)
{
    const float t = std::clamp((value - from) * scale, 0.0f, 1.0f);
    return t * t * (3.0f - 2.0f * t);
}

float finiteOr(float value, float fallback)
{
    return std::isfinite(value) ? value : fallback;
}

// Where along one axis of `size` pixels a sample at `position` (in pixels,
// wrapped) falls: the two pixels and the share of the second.
struct Tap {
    int first = 0;
    int second = 0;
    float fraction = 0.0f;
    std::uint32_t weight = 0;   // the fraction in 256ths, for texels
};

Tap withWeight(Tap tap)
{
    tap.weight = std::min<std::uint32_t>(256, std::uint32_t(std::lround(tap.fraction * 256.0f)));
    return tap;
}

Tap wrappedTap(double position, int size)
{
    if (!std::isfinite(position))
        return {};
    double wrapped = std::fmod(position, double(size));
    if (wrapped < 0.0)
        wrapped += size;
    int first = int(std::floor(wrapped));
    double fraction = wrapped - first;
    if (first >= size) {   // a wrapped value that rounded up to the size
        first = 0;
        fraction = 0.0;
    }
    return withWeight({first, first + 1 == size ? 0 : first + 1, float(fraction)});
}

Tap clampedTap(double position, int size)
{
    const double limited = std::clamp(position, 0.0, double(size - 1));
    const int first = std::min(int(limited), size - 1);
    return {first, std::min(first + 1, size - 1), float(limited - first)};
}

// Texture position (in texels) of output pixel `index` along an axis: the
// output spans `scale` repeats of the texture, pixel centres sampled, so at
// `scale` x size == resolution every output pixel is one texel exactly.
double texturePosition(int index, double scale, int size, int resolution)
{
    return (index + 0.5) * (scale * size) / resolution - 0.5;
}

// Height-map position of output pixel `index`: the map's first and last pixel
// at the output's edges, pixel centres sampled.
double heightPosition(int index, int size, int resolution)
{
    return (index + 0.5) * double(size - 1) / resolution;
}

// a + (b - a) x weight / 256 on each 8-bit channel of two packed RGB values
// at once (red and blue side by side, green apart), rounded.
QRgb mixPacked(QRgb a, QRgb b, std::uint32_t weight)
{
    const std::uint32_t keep = 256 - weight;
    const std::uint32_t rb = ((a & 0xFF00FFu) * keep + (b & 0xFF00FFu) * weight + 0x800080u) >> 8;
    const std::uint32_t g = ((a & 0x00FF00u) * keep + (b & 0x00FF00u) * weight + 0x008000u) >> 8;
    return (rb & 0xFF00FFu) | (g & 0x00FF00u);
}

std::uint8_t channel(float value)
{
    return std::uint8_t(std::clamp(int(value + 0.5f), 0, 255));
}

// Everything that depends on the column only, worked out once.
struct ColumnTables {
    std::vector<Tap> height;                 // per output column
    std::vector<float> heightPosition;       // per output column, for slopes
    std::vector<std::vector<Tap>> texture;   // per layer, per output column
};

ColumnTables columnTables(const BlendInputs& in)
{
    ColumnTables tables;
    const int n = in.resolution;
    const int width = in.heights.width();
    tables.height.resize(std::size_t(n));
    tables.heightPosition.resize(std::size_t(n));
    for (int x = 0; x < n; ++x) {
        const double position = heightPosition(x, width, n);
        tables.height[std::size_t(x)] = clampedTap(position, width);
        tables.heightPosition[std::size_t(x)] = float(position);
    }
    for (const BlendLayer& layer : in.layers) {
        std::vector<Tap>& taps = tables.texture.emplace_back(std::size_t(n));
        const int size = layer.picture.width();
        for (int x = 0; x < n; ++x)
            taps[std::size_t(x)] = wrappedTap(texturePosition(x, layer.uScale, size, n), size);
    }
    return tables;
}

// The layer whose range lies closest to an altitude no layer covers (the
// first of equals).
std::size_t nearestLayer(const std::vector<BlendLayer>& layers, float altitude)
{
    std::size_t best = 0;
    float bestDistance = rangeDistance(layers[0], altitude);
    for (std::size_t l = 1; l < layers.size(); ++l) {
        const float d = rangeDistance(layers[l], altitude);
        if (d < bestDistance) {
            best = l;
            bestDistance = d;
        }
    }
    return best;
}

// The layers' shares of the colour at altitudes a 16th of a grey level apart,
// worked out once when no layer has a slope limit (the weights then depend on
// the altitude alone): per step the layers that show with their normalised
// weights, or the nearest layer alone where none does.
struct AltitudeTable {
    static constexpr int kStepsPerLevel = 16;
    static constexpr int kSteps = 255 * kStepsPerLevel + 1;
    struct Share {
        std::uint32_t layer = 0;
        float weight = 0.0f;
    };
    std::vector<std::uint32_t> first;   // per step into `shares`, and one past the last
    std::vector<Share> shares;

    int step(float altitude) const
    {
        return std::clamp(int(altitude * float(kStepsPerLevel) + 0.5f), 0, kSteps - 1);
    }
};

AltitudeTable altitudeTable(const std::vector<BlendLayer>& layers)
{
    AltitudeTable table;
    table.first.reserve(AltitudeTable::kSteps + 1);
    for (int k = 0; k < AltitudeTable::kSteps; ++k) {
        const float altitude = float(k) / float(AltitudeTable::kStepsPerLevel);
        const std::size_t begin = table.shares.size();
        table.first.push_back(std::uint32_t(begin));
        float total = 0.0f;
        for (std::size_t l = 0; l < layers.size(); ++l)
            if (const float w = altitudeWeight(layers[l], altitude); w > 0.0f) {
                table.shares.push_back({std::uint32_t(l), w});
                total += w;
            }
        if (total <= 0.0f)
            table.shares.push_back({std::uint32_t(nearestLayer(layers, altitude)), 1.0f});
        else
            for (std::size_t i = begin; i < table.shares.size(); ++i)
                table.shares[i].weight /= total;
    }
    table.first.push_back(std::uint32_t(table.shares.size()));
    return table;
}

bool usesSlope(const std::vector<BlendLayer>& layers)
{
    return std::any_of(layers.begin(), layers.end(), [](const BlendLayer& l) { return l.slopeLimit != 0.0f; });
}

// Blends rows [firstRow, endRow) into the BMP rows.
class RowBlender {
public:
    // `table`: the altitude table, or nullptr when a layer has a slope limit.
    RowBlender(const BlendInputs& in, const ColumnTables& columns, const AltitudeTable* table, std::uint8_t* out)
        : in_(in), columns_(columns), table_(table), out_(out), weights_(in.layers.size()), rows_(in.layers.size()),
          mixedRows_(in.layers.size()), heightRow_(std::size_t(in.heights.width())), usesSlope_(usesSlope(in.layers))
    {
        for (std::size_t l = 0; l < in.layers.size(); ++l)
            if (const int width = in.layers[l].picture.width(); width <= 2 * in.resolution)
                mixedRows_[l].resize(std::size_t(width));
    }

    void blendRows(int firstRow, int endRow)
    {
        for (int y = firstRow; y < endRow; ++y)
            blendRow(y);
    }

private:
    struct LayerRow {
        const QRgb* first = nullptr;
        const QRgb* second = nullptr;
        std::uint32_t weight = 0;
        bool mixed = false;   // mixedRows_ holds this row
    };

    void blendRow(int y)
    {
        const int n = in_.resolution;
        const HeightField& heights = in_.heights;
        const double rowPosition = heightPosition(y, heights.height(), n);
        const Tap row = clampedTap(rowPosition, heights.height());
        // The map read down to this row once; across the row it is then one lerp a pixel.
        const std::size_t width = std::size_t(heights.width());
        const float* top = heights.values().data() + std::size_t(row.first) * width;
        const float* bottom = heights.values().data() + std::size_t(row.second) * width;
        for (std::size_t c = 0; c < width; ++c)
            heightRow_[c] = top[c] * (1.0f - row.fraction) + bottom[c] * row.fraction;
        for (std::size_t l = 0; l < in_.layers.size(); ++l) {
            const QImage& picture = in_.layers[l].picture;
            const Tap t = wrappedTap(texturePosition(y, in_.layers[l].vScale, picture.height(), n), picture.height());
            rows_[l] = {reinterpret_cast<const QRgb*>(picture.constScanLine(t.first)),
                        reinterpret_cast<const QRgb*>(picture.constScanLine(t.second)), t.weight, false};
        }
        // Output row y is picture row y; a BMP stores its bottom row first.
        std::uint8_t* pixel = out_ + std::size_t(n - 1 - y) * std::size_t(bmpRowBytes(n));
        for (int x = 0; x < n; ++x, pixel += 3) {
            const Tap& c = columns_.height[std::size_t(x)];
            const float altitude = heightRow_[std::size_t(c.first)] * (1.0f - c.fraction)
                                   + heightRow_[std::size_t(c.second)] * c.fraction;
            const float slope = usesSlope_ ? slopeAt(columns_.heightPosition[std::size_t(x)], float(rowPosition)) : 0.0f;
            if (table_)
                blendFromTable(x, altitude, pixel);
            else
                blendPixel(x, altitude, slope, pixel);
        }
    }

    float slopeAt(float gx, float gy) const
    {
        const HeightField& h = in_.heights;
        const float dx = (h.sampleGrid(gx + 1.0f, gy) - h.sampleGrid(gx - 1.0f, gy)) * 0.5f;
        const float dy = (h.sampleGrid(gx, gy + 1.0f) - h.sampleGrid(gx, gy - 1.0f)) * 0.5f;
        return std::sqrt(dx * dx + dy * dy);
    }

    // The layer's texel under output column x, bilinear, as packed RGB. A
    // picture no wider than twice the output has its two rows mixed once per
    // output row, on first use, and is then read along that one row.
    QRgb texel(std::size_t layer, int x)
    {
        const Tap& t = columns_.texture[layer][std::size_t(x)];
        LayerRow& r = rows_[layer];
        std::vector<QRgb>& mixed = mixedRows_[layer];
        if (mixed.empty())
            return mixPacked(mixPacked(r.first[t.first], r.first[t.second], t.weight),
                             mixPacked(r.second[t.first], r.second[t.second], t.weight), r.weight);
        if (!r.mixed) {
            for (std::size_t i = 0; i < mixed.size(); ++i)
                mixed[i] = mixPacked(r.first[i], r.second[i], r.weight);
            r.mixed = true;
        }
        return mixPacked(mixed[std::size_t(t.first)], mixed[std::size_t(t.second)], t.weight);
    }

    static void put(QRgb colour, std::uint8_t* pixel)
    {
        pixel[0] = std::uint8_t(qBlue(colour));
        pixel[1] = std::uint8_t(qGreen(colour));
        pixel[2] = std::uint8_t(qRed(colour));
    }

    void blendFromTable(int x, float altitude, std::uint8_t* pixel)
    {
        const int k = table_->step(altitude);
        const std::uint32_t begin = table_->first[std::size_t(k)], end = table_->first[std::size_t(k) + 1];
        if (end - begin == 1)   // inside one range: its texel as it is
            return put(texel(table_->shares[begin].layer, x), pixel);
        float r = 0.0f, g = 0.0f, b = 0.0f;
        for (std::uint32_t i = begin; i < end; ++i) {
            const AltitudeTable::Share& share = table_->shares[i];
            const QRgb c = texel(share.layer, x);
            r += share.weight * float(qRed(c));
            g += share.weight * float(qGreen(c));
            b += share.weight * float(qBlue(c));
        }
        pixel[0] = channel(b);
        pixel[1] = channel(g);
        pixel[2] = channel(r);
    }

    // The weights worked out at the pixel, slopes and all.
    void blendPixel(int x, float altitude, float slope, std::uint8_t* pixel)
    {
        const std::size_t count = in_.layers.size();
        float total = 0.0f;
        std::size_t active = 0, last = 0;
        for (std::size_t l = 0; l < count; ++l) {
            const BlendLayer& layer = in_.layers[l];
            float w = altitudeWeight(layer, altitude);
            if (w > 0.0f && layer.slopeLimit != 0.0f)
                w *= slopeWeight(layer, slope);
            weights_[l] = w;
            if (w > 0.0f) {
                total += w;
                ++active;
                last = l;
            }
        }
        if (active == 0)
            return put(texel(nearestLayer(in_.layers, altitude), x), pixel);
        if (active == 1)   // the common case inside one range: its texel as it is
            return put(texel(last, x), pixel);
        float r = 0.0f, g = 0.0f, b = 0.0f;
        for (std::size_t l = 0; l <= last; ++l) {
            const float w = weights_[l];
            if (w <= 0.0f)
                continue;
            const QRgb c = texel(l, x);
            r += w * float(qRed(c));
            g += w * float(qGreen(c));
            b += w * float(qBlue(c));
        }
        const float scale = 1.0f / total;
        pixel[0] = channel(b * scale);
        pixel[1] = channel(g * scale);
        pixel[2] = channel(r * scale);
    }

    const BlendInputs& in_;
    const ColumnTables& columns_;
    const AltitudeTable* table_;
    std::uint8_t* out_;
    std::vector<float> weights_;
    std::vector<LayerRow> rows_;
    std::vector<std::vector<QRgb>> mixedRows_;   // per layer; empty for wide pictures
    std::vector<float> heightRow_;
    bool usesSlope_;
};

} // namespace

BlendLayer blendLayer(const TextureLayerSpec& spec, QImage picture)
{
    BlendLayer layer;
    if (picture.format() != QImage::Format_ARGB32 && picture.format() != QImage::Format_RGB32)
        picture = picture.convertToFormat(QImage::Format_ARGB32);
    layer.picture = std::move(picture);
    layer.low = float(std::min(spec.altitudeMin, spec.altitudeMax));
    layer.high = float(std::max(spec.altitudeMin, spec.altitudeMax));
    const float power = finiteOr(spec.blendPower, 0.0f);
    layer.edge = power > 0.0f ? power * kEdgeLevelsPerPower : 0.0f;
    layer.edgeScale = layer.edge > 0.0f && std::isfinite(layer.edge) ? 0.5f / layer.edge : 0.0f;
    if (layer.edgeScale == 0.0f)
        layer.edge = 0.0f;
    layer.uScale = finiteOr(spec.uScale, 0.0f);
    layer.vScale = finiteOr(spec.vScale, 0.0f);
    layer.slopeLimit = finiteOr(spec.slopeLimit, 0.0f);
    return layer;
}

float altitudeWeight(const BlendLayer& layer, float altitude)
{
    if (layer.edgeScale <= 0.0f)
        return altitude >= layer.low && altitude <= layer.high ? 1.0f : 0.0f;
    if (altitude <= layer.low - layer.edge || altitude >= layer.high + layer.edge)
        return 0.0f;
    return smoothStep(altitude, layer.low - layer.edge, layer.edgeScale)
           * (1.0f - smoothStep(altitude, layer.high - layer.edge, layer.edgeScale));
}

float slopeWeight(const BlendLayer& layer, float slope)
{
    const float limit = std::abs(layer.slopeLimit);
    if (limit == 0.0f)
        return 1.0f;
    const float ramp = smoothRamp(slope, limit * (1.0f - kSlopeEdgeShare), limit * (1.0f + kSlopeEdgeShare));
    return layer.slopeLimit > 0.0f ? 1.0f - ramp : ramp;
}

float rangeDistance(const BlendLayer& layer, float altitude)
{
    if (altitude < layer.low)
        return layer.low - altitude;
    if (altitude > layer.high)
        return altitude - layer.high;
    return 0.0f;
}

int bmpRowBytes(int resolution)
{
    return (resolution * 3 + 3) / 4 * 4;
}

namespace {

constexpr int kBmpHeaderBytes = 14 + 40;

void writeBmpHeader(uchar* h, int resolution, std::uint32_t imageBytes)
{
    h[0] = 'B';
    h[1] = 'M';
    qToLittleEndian<std::uint32_t>(kBmpHeaderBytes + imageBytes, h + 2);
    qToLittleEndian<std::uint32_t>(0, h + 6);
    qToLittleEndian<std::uint32_t>(kBmpHeaderBytes, h + 10);
    qToLittleEndian<std::uint32_t>(40, h + 14);
    qToLittleEndian<std::int32_t>(resolution, h + 18);
    qToLittleEndian<std::int32_t>(resolution, h + 22);   // positive: bottom row first
    qToLittleEndian<std::uint16_t>(1, h + 26);
    qToLittleEndian<std::uint16_t>(24, h + 28);
    qToLittleEndian<std::uint32_t>(0, h + 30);          // no compression
    qToLittleEndian<std::uint32_t>(imageBytes, h + 34);
    qToLittleEndian<std::int32_t>(2835, h + 38);        // 72 dpi
    qToLittleEndian<std::int32_t>(2835, h + 42);
    qToLittleEndian<std::uint32_t>(0, h + 46);
    qToLittleEndian<std::uint32_t>(0, h + 50);
}

// Blends every row into `out` (bmpRowBytes x resolution bytes, zeroed), the
// rows split into one band per thread.
void blendInto(const BlendInputs& inputs, int threads, std::uint8_t* out)
{
    const int n = inputs.resolution;
    const ColumnTables columns = columnTables(inputs);
    const std::optional<AltitudeTable> table =
        usesSlope(inputs.layers) ? std::nullopt : std::optional(altitudeTable(inputs.layers));
    const int workers = std::clamp(threads, 1, n);
    auto band = [&](int worker) {
        RowBlender blender(inputs, columns, table ? &*table : nullptr, out);
        blender.blendRows(int(std::int64_t(n) * worker / workers), int(std::int64_t(n) * (worker + 1) / workers));
    };
    std::vector<std::jthread> pool;
    for (int worker = 1; worker < workers; ++worker)
        pool.emplace_back(band, worker);
    band(0);
}

} // namespace

std::vector<std::uint8_t> blendTextureRows(const BlendInputs& inputs, int threads)
{
    std::vector<std::uint8_t> rows(std::size_t(bmpRowBytes(inputs.resolution)) * std::size_t(inputs.resolution), 0);
    blendInto(inputs, threads, rows.data());
    return rows;
}

QByteArray bmpFile(int resolution, const std::vector<std::uint8_t>& rows)
{
    QByteArray file(kBmpHeaderBytes, '\0');
    writeBmpHeader(reinterpret_cast<uchar*>(file.data()), resolution, std::uint32_t(rows.size()));
    file.append(reinterpret_cast<const char*>(rows.data()), qsizetype(rows.size()));
    return file;
}

QByteArray blendedBmpFile(const BlendInputs& inputs, int threads)
{
    const std::size_t imageBytes = std::size_t(bmpRowBytes(inputs.resolution)) * std::size_t(inputs.resolution);
    QByteArray file(qsizetype(kBmpHeaderBytes + imageBytes), '\0');
    auto* bytes = reinterpret_cast<uchar*>(file.data());
    writeBmpHeader(bytes, inputs.resolution, std::uint32_t(imageBytes));
    blendInto(inputs, threads, bytes + kBmpHeaderBytes);
    return file;
}

int generationThreads()
{
    return std::max(1, int(std::thread::hardware_concurrency()));
}

} // namespace kl::terrain
