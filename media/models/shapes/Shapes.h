#pragma once

#include "MeshData.h"

namespace kl::models {

// Preview objects of the material editor: centred on the origin, about 20
// units across.
Model makeSphere();
Model makeTeapot();
Model makeCube();
Model makeCylinder();
Model makeCone();
Model makePyramid();
Model makeTorus();
Model makeTube();
Model makeSkull();

// Scene meshes of the particle editor.
Model makePole();   // 60 units tall, top end at the origin (see Props.cpp)
Model makeFloor();  // 400 x 400, top face at y = 0

// Terrain tool: the light marker (points along its own +y) and objects to
// place, standing on y = 0.
Model makeLightMarker();
Model makeTree();
Model makeRock();
Model makeHouse();

}  // namespace kl::models
