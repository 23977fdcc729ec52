#pragma once

#include <QImage>

// Sky box faces. Each face is rendered by casting the direction through every pixel into a
// function of direction, so adjacent faces meet without seams.
//
// Cube convention (left-handed, +Y up, viewer inside looking along +Z):
//   Front +Z, Back -Z, Right +X, Left -X, Top +Y, Bottom -Y.
//   Side faces are upright, seen from inside. The top face's lower edge and the bottom face's
//   upper edge join the front face; on both, image right is +X.
namespace kl::media {

enum class CubeFace { Front, Back, Left, Right, Top, Bottom };

struct Direction {
    float x = 0, y = 0, z = 0;
};

// Unit direction through the pixel centre (px, py) of a face `size` pixels wide.
Direction faceDirection(CubeFace face, int size, int px, int py);

QImage mountainsFace(CubeFace face, int size); // sky, clouds, two mountain ranges, meadow
QImage gridFace(CubeFace face, int size);      // glowing grid lines on a dark gradient

} // namespace kl::media
