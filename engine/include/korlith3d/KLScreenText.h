// Text over the 3D view with named fonts.
#pragma once

#include "korlith3d/Export.h"

#include "korlith3d/types.h"

#include <QString>

#include <cstdint>
#include <memory>

namespace kl::core {
class Context;
}

class KL_API KLScreenText {
public:
    KLScreenText();
    ~KLScreenText();

    // Creates (or replaces) the font `name`: face, point size and style.
    //   Landlume: CreateFont("FontT8b", "Tahoma", 8, true, false, false, false)
    void CreateFont(const QString& name, const QString& face, int size, bool bold = false,
                    bool italic = false, bool underline = false, bool strikeOut = false);
    bool HasFont(const QString& name) const;
    // Draws `text` with its top-left corner at (x, y) view pixels in the packed ARGB
    // colour. Unknown font: KLERR_UNKNOWN_ID.
    void DrawText(const QString& fontName, const QString& text, int x, int y, std::int64_t argb);

private:
    std::shared_ptr<kl::core::Context> context_;
};
