#include "korlith3d/KLTextureFactory.h"

#include "core/Context.h"
#include "image/ImageLoader.h"

namespace {

kl::image::Texture& textureOrFail(kl::core::Context& context, int id, const char* operation)
{
    kl::image::Texture* texture = context.resources().textures.find(id);
    if (!texture)
        context.fail(KLERR_UNKNOWN_ID, QStringLiteral("%1: unknown texture id %2").arg(QLatin1String(operation)).arg(id));
    return *texture;
}

// Reads the file through the search folder; throws naming the file on failure.
QImage readPicture(kl::core::Context& context, const QString& file, const char* operation)
{
    const QString path = context.resolve(file);
    kl::image::LoadedImage loaded = kl::image::loadImageFile(path);
    if (loaded.image.isNull())
        context.fail(loaded.missing ? KLERR_FILE_NOT_FOUND : KLERR_BAD_FILE_FORMAT,
                     QStringLiteral("%1 \"%2\": %3").arg(QLatin1String(operation), file, loaded.error));
    return std::move(loaded.image);
}

QImage resized(const QImage& image, int width, int height)
{
    const int w = width > 0 ? std::min(width, kl::image::MaxImageSide) : image.width();
    const int h = height > 0 ? std::min(height, kl::image::MaxImageSide) : image.height();
    if (w == image.width() && h == image.height())
        return image;
    return image.scaled(w, h, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
}

// A picture handed in from memory, checked and in the stored format.
QImage acceptedPicture(kl::core::Context& context, const QImage& picture, const char* operation)
{
    if (picture.isNull())
        context.fail(KLERR_INVALID_CALL, QStringLiteral("%1: the picture is empty").arg(QLatin1String(operation)));
    if (picture.width() > kl::image::MaxImageSide || picture.height() > kl::image::MaxImageSide)
        context.fail(KLERR_INVALID_CALL, QStringLiteral("%1: a %2 x %3 picture is larger than %4 pixels a side")
                                             .arg(QLatin1String(operation))
                                             .arg(picture.width())
                                             .arg(picture.height())
                                             .arg(kl::image::MaxImageSide));
    return picture.convertToFormat(QImage::Format_ARGB32);
}

} // namespace

KLTextureFactory::KLTextureFactory() : context_(kl::core::Context::current()) {}
KLTextureFactory::~KLTextureFactory() = default;

int KLTextureFactory::LoadTexture(const QString& file, const QString& name, int width, int height,
                                  std::int64_t colourKey)
{
    QImage image = resized(readPicture(*context_, file, "LoadTexture"), width, height);
    if (colourKey != -1)
        kl::image::applyColourKey(image, static_cast<std::uint32_t>(colourKey));
    const int id = context_->resources().textures.put(name, file, std::move(image), false, 1.0f, context_->resources().newResourceId());
    context_->log(QStringLiteral("Texture %1 \"%2\" loaded from %3").arg(id).arg(name, file));
    return id;
}

int KLTextureFactory::LoadBumpTexture(const QString& file, const QString& name, int size, float heightScale)
{
    QImage image = resized(readPicture(*context_, file, "LoadBumpTexture"), size, size);
    const int id =
        context_->resources().textures.put(name, file, std::move(image), true, heightScale, context_->resources().newResourceId());
    context_->log(QStringLiteral("Bump texture %1 \"%2\" loaded from %3").arg(id).arg(name, file));
    return id;
}

int KLTextureFactory::CreateTextureFromImage(const QImage& picture, const QString& name)
{
    QImage image = acceptedPicture(*context_, picture, "CreateTextureFromImage");
    const int id = context_->resources().textures.put(name, QString(), std::move(image), false, 1.0f,
                                                      context_->resources().newResourceId());
    context_->log(QStringLiteral("Texture %1 \"%2\" made from a %3 x %4 picture")
                      .arg(id)
                      .arg(name)
                      .arg(picture.width())
                      .arg(picture.height()));
    return id;
}

void KLTextureFactory::UpdateTexture(int id, const QImage& picture)
{
    kl::image::Texture& texture = textureOrFail(*context_, id, "UpdateTexture");
    texture.data.image = acceptedPicture(*context_, picture, "UpdateTexture");
    texture.file.clear();
    ++texture.data.revision;
}

void KLTextureFactory::DeleteTexture(int id)
{
    const kl::gpu::ResourceId resource = context_->resources().textures.remove(id);
    if (resource == 0)
        context_->fail(KLERR_UNKNOWN_ID, QStringLiteral("DeleteTexture: unknown texture id %1").arg(id));
    context_->rendering().release(resource);
}

QString KLTextureFactory::GetTextureName(int id) const
{
    return textureOrFail(*context_, id, "GetTextureName").name;
}

int KLTextureFactory::GetTextureId(const QString& name) const
{
    const int id = context_->resources().textures.idOf(name);
    if (id == 0)
        context_->fail(KLERR_UNKNOWN_ID, QStringLiteral("GetTextureId: no texture named \"%1\"").arg(name));
    return id;
}

bool KLTextureFactory::TextureExists(int id) const
{
    return context_->resources().textures.find(id) != nullptr;
}

int KLTextureFactory::GetTextureWidth(int id) const
{
    return textureOrFail(*context_, id, "GetTextureWidth").data.image.width();
}

int KLTextureFactory::GetTextureHeight(int id) const
{
    return textureOrFail(*context_, id, "GetTextureHeight").data.image.height();
}

void KLTextureFactory::SetMipMapping(bool on)
{
    context_->settings().mipMapping = on;
}
