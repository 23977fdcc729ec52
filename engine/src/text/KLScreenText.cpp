#include "korlith3d/KLScreenText.h"

#include "core/Context.h"
#include "gpu/Renderer.h"

KLScreenText::KLScreenText() : context_(kl::core::Context::current()) {}
KLScreenText::~KLScreenText() = default;

void KLScreenText::CreateFont(const QString& name, const QString& face, int size, bool bold, bool italic,
                              bool underline, bool strikeOut)
{
    if (size <= 0 || size > 500)
        context_->fail(KLERR_INVALID_CALL, QStringLiteral("CreateFont \"%1\": invalid size %2").arg(name).arg(size));
    QFont font(face, size);
    font.setBold(bold);
    font.setItalic(italic);
    font.setUnderline(underline);
    font.setStrikeOut(strikeOut);
    context_->resources().fonts[name] = font;
}

bool KLScreenText::HasFont(const QString& name) const
{
    return context_->resources().fonts.count(name) > 0;
}

void KLScreenText::DrawText(const QString& fontName, const QString& text, int x, int y, std::int64_t argb)
{
    const auto font = context_->resources().fonts.find(fontName);
    if (font == context_->resources().fonts.end())
        context_->fail(KLERR_UNKNOWN_ID, QStringLiteral("DrawText: no font named \"%1\"").arg(fontName));
    kl::gpu::Renderer& renderer = context_->requireRenderer(QStringLiteral("DrawText"));
    renderer.drawText(font->second, text, x, y, static_cast<std::uint32_t>(argb));
}
