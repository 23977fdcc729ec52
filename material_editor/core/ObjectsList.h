#pragma once
// The preview objects list "glazeryobjects.ini": three lines per object
// (model file, description, scale factor), objects in slot order. Also the
// rules of the objects configuration window's boxes.

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

namespace glazery {

inline constexpr int kPreviewSlotCount = 9; // MeshCountMinusOne + 1
inline const QString kObjectsListFileName = QStringLiteral("glazeryobjects.ini");

struct PreviewObject {
    QString fileName;    // relative to the program folder or absolute
    QString description; // option button caption and mesh name
    double scale = 1.0;  // 1 = model size as stored
    bool operator==(const PreviewObject&) const = default;
};

// The nine defaults ("Sphere" .. "Skull", data\models\<name>.X, scale 1).
QList<PreviewObject> defaultPreviewObjects();

// Result of reading the list: at most nine objects (more: the first nine;
// fewer: the remaining slots stay empty). On a missing or damaged file
// `error` names the file and the fault and `objects` is the default list.
struct ObjectsListReadResult {
    QList<PreviewObject> objects;
    QString error;
};

ObjectsListReadResult parseObjectsList(const QByteArray& content, const QString& fileNameForMessages);
ObjectsListReadResult readObjectsList(const QString& path);

// Three lines per object, CR LF; scale in the print form (" 1 ", " 1.5 ", " .5 ").
QByteArray objectsListContent(const QList<PreviewObject>& objects);

struct ObjectsListWriteResult {
    bool ok = false;
    QString error;
};
// Saves atomically: on failure the previous file stays whole.
ObjectsListWriteResult writeObjectsList(const QString& path, const QList<PreviewObject>& objects);

// Title and filter of the model dialog of the objects configuration.
inline const QString kModelDialogTitle = QStringLiteral("Open 3D file");
inline const QString kModelFileFilter =
    QStringLiteral("All Supported Types|*.3DS;*.X|DirectX Model|*.x|3D Studio (*.3ds)|*.3ds");

// The report of preview objects that could not be loaded, one failure a line.
QString objectsLoadFailureMessage(const QStringList& failures);

// Loader for a model file: a name ending in "x" or "X" is a DirectX model,
// anything else is read as 3D Studio.
enum class ModelLoader { DirectX, Studio3ds };
ModelLoader modelLoaderFor(const QString& fileName);

// The file to hand to the loader: absolute names ("/...", "\\...", "C:...")
// as they are, other names joined to the program folder; resolved with
// Windows-style separators and letter case.
QString resolveModelPath(const QString& fileName, const QString& programFolder);

// The scale box (percent) of the configuration window.
// Text after the box loses focus: a value not above 0 becomes "1"; the text is
// rewritten in the plain decimal form ("050" -> "50", "-20" -> "1").
QString scaleBoxTextAfterEdit(const QString& text);
// Scale factor of a box text: its numeric value / 100.
double scaleFromPercentText(const QString& text);
// The box text of a scale factor: the whole percentage (1.5 -> "150").
QString percentTextFromScale(double scale);

} // namespace glazery
