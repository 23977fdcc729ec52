// Placed objects: the record of one object, the file-type rule of "Load
// object", and the texts the object panel shows for a record.
#pragma once

#include <korlith3d/types.h>

#include <QString>

#include <array>

namespace landlume {

struct PlacedObject {
    QString objectName;   // "O1", "O2", ...: the engine mesh's name
    QString fileName;
    bool aligned = false;
    bool onLand = true;
    D3DVECTOR meshPosition;
    D3DVECTOR meshRotation;
    D3DVECTOR meshScale{1.0f, 1.0f, 1.0f};
};

enum class ModelKind { None, X, ThreeDS };

// The text after the last "." of the path; the whole path when it has none.
QString objectFileType(const QString& path);
// "x" and "3ds" in any case; anything else is no model the program loads.
ModelKind modelKind(const QString& fileType);

// Mesh name of the object in slot `slot`.
QString objectName(int slot);

// Position x, y, z, rotation x, y, z and scale x, y, z, each rounded to two
// decimals (halves to even) in shortest decimal form.
std::array<QString, 9> placementTexts(const PlacedObject& object);

// The whole-number float counters of the object store as slot indexes.
int slotIndex(float counter);

} // namespace landlume
