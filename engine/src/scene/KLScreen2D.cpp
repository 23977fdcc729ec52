#include "korlith3d/KLScreen2D.h"

#include "core/Context.h"
#include "gpu/Renderer.h"
#include "image/ImageLoader.h"

KLScreen2D::KLScreen2D() : context_(kl::core::Context::current()) {}
KLScreen2D::~KLScreen2D() = default;

void KLScreen2D::DrawTexturedQuad(int textureId, float x1, float y1, float x2, float y2, std::int64_t colour1,
                                  std::int64_t colour2, std::int64_t colour3, std::int64_t colour4, float u1, float v1,
                                  float u2, float v2)
{
    kl::gpu::Renderer& renderer = context_->requireRenderer(QStringLiteral("DrawTexturedQuad"));
    const kl::image::Texture* texture = nullptr;
    if (textureId != 0) {
        texture = context_->resources().textures.find(textureId);
        if (!texture)
            context_->fail(KLERR_UNKNOWN_ID, QStringLiteral("DrawTexturedQuad: unknown texture id %1").arg(textureId));
    }
    kl::gpu::Quad2D quad;
    quad.position = {glm::vec2(x1, y1), glm::vec2(x2, y1), glm::vec2(x2, y2), glm::vec2(x1, y2)};
    quad.uv = {glm::vec2(u1, v1), glm::vec2(u2, v1), glm::vec2(u2, v2), glm::vec2(u1, v2)};
    quad.argb = {static_cast<std::uint32_t>(colour1), static_cast<std::uint32_t>(colour2),
                 static_cast<std::uint32_t>(colour3), static_cast<std::uint32_t>(colour4)};
    quad.texture = texture ? &texture->data : nullptr;
    renderer.drawQuad2D(quad);
}

void KLScreen2D::SetBackgroundPicture(const QString& file, int size)
{
    kl::image::LoadedImage loaded = kl::image::loadImageFile(context_->resolve(file));
    if (loaded.image.isNull())
        context_->fail(loaded.missing ? KLERR_FILE_NOT_FOUND : KLERR_BAD_FILE_FORMAT,
                       QStringLiteral("SetBackgroundPicture \"%1\": %2").arg(file, loaded.error));
    if (size > 0 && size <= kl::image::MaxImageSide)
        loaded.image = loaded.image.scaled(size, size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    kl::gpu::TextureData& background = context_->scene().background;
    if (background.id == 0)
        background.id = context_->resources().newResourceId();
    background.image = std::move(loaded.image);
    ++background.revision;
    context_->scene().hasBackground = true;
}

void KLScreen2D::ClearBackgroundPicture()
{
    context_->scene().hasBackground = false;
}

bool KLScreen2D::HasBackgroundPicture() const
{
    return context_->scene().hasBackground;
}

void KLScreen2D::BeginDraw()
{
    context_->requireRenderer(QStringLiteral("BeginDraw"));
    drawing_ = true;
}

void KLScreen2D::DrawBackground()
{
    kl::gpu::Renderer& renderer = context_->requireRenderer(QStringLiteral("DrawBackground"));
    if (context_->scene().hasBackground)
        renderer.drawBackground(context_->scene().background);
}

void KLScreen2D::EndDraw()
{
    drawing_ = false;
}
