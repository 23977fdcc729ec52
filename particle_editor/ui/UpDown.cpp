#include "ui/UpDown.h"

#include <platform/TextRules.h>

#include <QLineEdit>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>

namespace emberly {

UpDown::UpDown(QWidget* parent, const QString& name, QLineEdit* buddy, int min, int max)
    : QWidget(parent), buddy_(buddy), min_(min), max_(max)
{
    setObjectName(name);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    for (int direction : {1, -1}) {
        auto* arrow = new QToolButton(this);
        arrow->setObjectName(name + (direction > 0 ? QStringLiteral("Up") : QStringLiteral("Down")));
        arrow->setArrowType(direction > 0 ? Qt::UpArrow : Qt::DownArrow);
        arrow->setAutoRepeat(true);
        arrow->setFixedSize(16, 10);
        arrow->setIconSize(QSize(6, 4));
        layout->addWidget(arrow);
        connect(arrow, &QToolButton::clicked, this, [this, direction] { step(direction); });
    }
}

void UpDown::step(int direction)
{
    const double value = platform::val(buddy_->text());
    const int next = std::clamp(int(value) + direction, min_, max_);
    buddy_->setText(QString::number(next));
}

} // namespace emberly
