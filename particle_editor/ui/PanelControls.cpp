#include "ui/PanelControls.h"

#include <QGroupBox>
#include <QLabel>

namespace emberly::controls {

QLabel* label(QWidget* parent, const QString& name, const QString& caption, QRect at)
{
    auto* l = new QLabel(caption, parent);
    l->setObjectName(name);
    l->setGeometry(at);
    return l;
}

QGroupBox* frame(QWidget* parent, const QString& name, const QString& caption, QRect at)
{
    auto* box = new QGroupBox(caption, parent);
    box->setObjectName(name);
    box->setGeometry(at);
    return box;
}

} // namespace emberly::controls
