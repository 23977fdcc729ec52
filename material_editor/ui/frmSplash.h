// The splash window shown while Glazery starts; a click or a key closes it.
#pragma once

#include <QWidget>

namespace glazery {

class frmSplash : public QWidget {
    Q_OBJECT
public:
    frmSplash();
    bool closedByUser() const { return closedByUser_; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void closeByUser();
    bool closedByUser_ = false;
};

} // namespace glazery
