#pragma once
// The values of Glazery's editing controls, held as the texts the boxes show.
// Shared by the material file, the code generator and the editing rules.

#include <QString>

#include <array>

namespace glazery {

// Shown in a path box when no file is chosen.
inline const QString kNoFileText = QStringLiteral("<none>");

// Default textures, relative to the program folder.
inline const QString kDefaultFabricFile = QStringLiteral("\\Data\\textures\\Fabrics004.jpg");
inline const QString kDefaultBackFile = QStringLiteral("\\Data\\textures\\Floors017.jpg");

// The four boxes of one material colour group (0-255 each, kept as typed).
struct ColourTexts {
    QString red;
    QString green;
    QString blue;
    QString alpha;
    bool operator==(const ColourTexts&) const = default;
};

// The three boxes of one light colour trio.
struct RgbTexts {
    QString red;
    QString green;
    QString blue;
    bool operator==(const RgbTexts&) const = default;
};

struct XyzTexts {
    QString x;
    QString y;
    QString z;
    bool operator==(const XyzTexts&) const = default;
};

// Rows of cboTypeOfLight.
enum LightTypeRow : int { kDirectionalRow = 0, kPointRow = 1, kSpotRow = 2 };
inline constexpr int kLightTypeRowCount = 3;

// Captions of the rows, in row order.
inline const std::array<QString, kLightTypeRowCount> kLightTypeCaptions = {
    QStringLiteral("Directional"), QStringLiteral("Point"), QStringLiteral("Spot")};

// Item data of a row: the Direct3D light type (3 directional, 1 point, 2 spot).
// A row outside 0..2 answers the directional type.
int lightTypeForRow(int row);

// Material boxes Ar..Sa and Pow; the defaults are the texts shown before
// default.mkl is read.
struct MaterialTexts {
    ColourTexts ambient{"255", "0", "0", "0"};
    ColourTexts diffuse{"0", "0", "0", "255"};
    ColourTexts emissive{"0", "0", "0", "0"};
    ColourTexts specular{"0", "0", "0", "0"};
    QString power{"0"};
    bool operator==(const MaterialTexts&) const = default;
};

// Light panel boxes; defaults are the start-up texts.
struct LightTexts {
    int typeRow = kDirectionalRow;      // selected row of cboTypeOfLight
    XyzTexts position{"1", "-1", "1"};  // pX pY pZ
    XyzTexts direction{"1", "-1", "1"}; // tX tY tZ
    RgbTexts ambient{"0", "0", "0"};    // laR laG laB
    RgbTexts diffuse{"255", "255", "255"};  // ldR ldG ldB
    RgbTexts specular{"255", "255", "255"}; // lsR lsG lsB
    QString range{"1000"};              // lRange
    QString phi{"90"};                  // tPhi, degrees
    QString theta{"80"};                // tTheta, degrees
    bool operator==(const LightTexts&) const = default;
};

// Everything a material file stores. Default-constructed it is the start-up
// state: "<none>" paths, bump mapping off, sphere mapping off, light on, object 0.
struct MaterialSettings {
    MaterialTexts material;
    QString backgroundPath = kNoFileText; // txtBackGround
    QString texturePath = kNoFileText;    // txtTexture
    QString bumpMapPath = kNoFileText;    // txtBumpMap
    bool bumpMappingOff = true;           // Option3 selected
    bool sphereMapping = false;           // Check2 checked
    bool lightOn = true;                  // Option5 selected
    int shownObject = 0;                  // ShownObject, 0..8
    LightTexts light;
    bool operator==(const MaterialSettings&) const = default;
};

} // namespace glazery
