// The objects configuration window: the nine preview objects' model files,
// descriptions and scales, applied to the preview meshes and saved to the
// objects list.
#pragma once

#include "ui/Toolkit.h"

#include "core/ObjectsList.h"

#include <QDialog>

#include <array>

class QGroupBox;
class QLineEdit;
class QPushButton;

namespace glazery {

class Form1;
class ObjectsPanel;
class PreviewScene;

class Form3 : public QDialog {
    Q_OBJECT
public:
    static constexpr int RowCount = kPreviewSlotCount;

    // The rows start from the objects list; the main window's preview and
    // objects panel follow every change.
    explicit Form3(Form1& main);

    void browse(int index);          // "..." of row i
    void descriptionLostFocus(int index);
    void scaleLostFocus(int index);
    void ok();                       // "OK": write the list, reload every mesh, close
    void resetToDefault();           // "Reset to default": the default rows, nothing saved

private:
    void fillFromList();
    QString listPath() const;
    void reportLoadFailure(const QString& description);

    PreviewScene& scene_;
    ObjectsPanel& objects_;
    std::array<QLineEdit*, RowCount> fileName_{};
    std::array<TextBox*, RowCount> desc_{};
    std::array<TextBox*, RowCount> scale_{};
};

} // namespace glazery
