// The text boxes of the settings panels with the panel's key filter, and the
// control arrays of three boxes.
#pragma once

#include <QLineEdit>
#include <QString>

#include <array>

class QGridLayout;
class QWidget;

namespace landlume {

// Whether a typed character passes the panel's key filter: minus, period,
// Backspace and the digits.
bool keyFilterPasses(QChar typed);

// A text box of a control array ("<array>_<index>"). With `filtered` the key
// filter swallows every other typed character; pasted text is not filtered.
class PanelBox : public QLineEdit {
    Q_OBJECT
public:
    PanelBox(QWidget* parent, const QString& array, int index, const QString& text, bool filtered);

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    bool filtered_;
};

// Three boxes of an array in one grid, each under a description label
// ("LblDescription_<n>") on its own row starting at `firstRow`.
using BoxArray = std::array<PanelBox*, 3>;
BoxArray boxRows(QWidget* parent, QGridLayout* grid, int firstRow, const QString& array,
                 const std::array<QString, 3>& captions, const std::array<QString, 3>& texts, bool filtered,
                 int& descriptionIndex);

} // namespace landlume
