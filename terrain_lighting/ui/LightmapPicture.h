// The picture box holding the lightmap: a 32-bit picture (B, G, R, spare),
// white where nothing is drawn. A right click pops up its effects menu.
#pragma once

#include <QImage>
#include <QWidget>

class QMenu;

namespace landlume {

class LightmapPicture : public QWidget {
    Q_OBJECT
public:
    explicit LightmapPicture(QWidget* parent);

    QImage& image() { return image_; }
    const QImage& image() const { return image_; }
    // A blank (white) picture of the size.
    void resizePicture(int width, int height);
    // Replaces the picture with a loaded one (kept in 32-bit form).
    void setPicture(const QImage& picture);
    // Removes the picture and clears it to white at its size.
    void clearPicture();
    // Shows the current picture now.
    void refresh();
    // Shows pixel columns first..last of it now (the rest as shown before).
    void refreshColumns(int first, int last);
    void setEffectsMenu(QMenu* menu) { effects_ = menu; }

signals:
    // The picture now has another size.
    void sizeChanged(QSize size);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    QImage image_;
    QMenu* effects_ = nullptr;
};

} // namespace landlume
