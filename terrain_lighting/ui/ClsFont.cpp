#include "ui/ClsFont.h"

#include <korlith3d/KLScreenText.h>

#include <platform/TextRules.h>

namespace landlume {

ClsFont::ClsFont() = default;
ClsFont::~ClsFont() = default;

void ClsFont::Init_Font()
{
    text_ = std::make_unique<KLScreenText>();
    text_->CreateFont(QStringLiteral("FontA8b"), QStringLiteral("Arial"), 8, true, false, false, false);
    text_->CreateFont(kFpsFont, QStringLiteral("Tahoma"), 8, true, false, false, false);
}

void ClsFont::Render_Font(qint32 framesPerSecond)
{
    text_->DrawText(kFpsFont, platform::cstrInteger(framesPerSecond) + QStringLiteral(" FPS"), 10, 10, kFpsColour);
}

void ClsFont::Kill_Font() { text_.reset(); }

} // namespace landlume
