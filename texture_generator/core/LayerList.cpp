#include "core/LayerList.h"

namespace layerloom {

QString layerLine(int index, const TextureLayer& layer)
{
    return QStringLiteral("Layer #%1 (%2)").arg(index).arg(layer.TexturePath);
}

TextureLayer* LayerList::current()
{
    return selected_ >= 0 && selected_ < count() ? &layers_[selected_] : nullptr;
}

const TextureLayer* LayerList::current() const
{
    return selected_ >= 0 && selected_ < count() ? &layers_[selected_] : nullptr;
}

bool LayerList::add(const QString& path)
{
    if (count() >= kMaxLayerCount)
        return false;
    layers_.append(newLayer(path));
    selected_ = count() - 1;
    return true;
}

bool LayerList::removeLine(int line)
{
    if (line < 0 || line >= count())
        return false;
    layers_.removeAt(line);
    return true;
}

void LayerList::replace(QList<TextureLayer> layers)
{
    if (layers.size() > kMaxLayerCount)
        layers.resize(kMaxLayerCount);
    layers_ = std::move(layers);
}

QStringList LayerList::lines() const
{
    QStringList result;
    result.reserve(count());
    for (int i = 0; i < count(); ++i)
        result << layerLine(i, layers_[i]);
    return result;
}

} // namespace layerloom
