// The objects panel: the nine preview objects to choose from, sphere mapping
// and the Options button that opens the objects configuration.
#pragma once

#include "core/ObjectsList.h"

#include <QObject>

#include <array>

class QCheckBox;
class QRadioButton;
class QWidget;

namespace glazery {

class PreviewScene;

class ObjectsPanel : public QObject {
    Q_OBJECT
public:
    static constexpr int ObjectCount = kPreviewSlotCount;

    ObjectsPanel(QWidget* panel, PreviewScene& scene);

    void setCaption(int index, const QString& caption);
    QString caption(int index) const;
    void setChoosable(int index, bool on);
    // Shows object `index` (0-8; other numbers change nothing).
    void showObject(int index);
    void setSphereMapping(bool on);
    bool sphereMapping() const;

signals:
    void optionsRequested();

private:
    PreviewScene& scene_;
    std::array<QRadioButton*, ObjectCount> choices_{}; // optObjects_i
    QCheckBox* sphereMapping_ = nullptr;               // Check2
};

} // namespace glazery
