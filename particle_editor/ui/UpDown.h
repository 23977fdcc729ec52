// An up-down control: two arrow buttons that step the number in a buddy text
// box within a range.
#pragma once

#include <QWidget>

class QLineEdit;

namespace emberly {

class UpDown : public QWidget {
    Q_OBJECT
public:
    UpDown(QWidget* parent, const QString& name, QLineEdit* buddy, int min, int max);
    // One step up (+1) or down (-1), as a click on an arrow.
    void step(int direction);

private:
    QLineEdit* buddy_;
    int min_, max_;
};

} // namespace emberly
