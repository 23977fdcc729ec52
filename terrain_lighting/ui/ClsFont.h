// The screen text: the fonts and the frame rate in the view's corner.
#pragma once

#include <QString>
#include <QtGlobal>

#include <cstdint>
#include <memory>

class KLScreenText;

namespace landlume {

inline const QString kFpsFont = QStringLiteral("FontT8b");
inline constexpr std::int64_t kFpsColour = -13312;   // alpha 255, red 255, green 204, blue 0

class ClsFont {
public:
    ClsFont();
    ~ClsFont();
    void Init_Font();
    void Render_Font(qint32 framesPerSecond);
    void Kill_Font();
    bool alive() const { return bool(text_); }

private:
    std::unique_ptr<KLScreenText> text_;
};

} // namespace landlume
