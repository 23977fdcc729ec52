// The colour-key window for a custom particle texture: nine choices of the
// colour that becomes transparent.
#pragma once

#include <QDialog>

#include <array>
#include <cstdint>

class QRadioButton;

namespace emberly {

// The key of each choice 0..8: none, then opaque black, blue, red, green,
// yellow, magenta, cyan, and black without alpha.
inline constexpr std::array<std::int64_t, 9> kColorKeys = {
    -1, 0xFF000000, 0xFF0000FF, 0xFFFF0000, 0xFF00FF00, 0xFFFFFF00, 0xFFFF00FF, 0xFF00FFFF, 0x00000000};

class frmKL_ColorKey : public QDialog {
    Q_OBJECT
public:
    explicit frmKL_ColorKey(QWidget* parent);
    // The key of the selected choice.
    std::int64_t colorKey() const;

private:
    std::array<QRadioButton*, 9> options_{};
};

} // namespace emberly
