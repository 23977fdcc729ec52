#include "ui/PanelBox.h"

#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>

namespace landlume {

bool keyFilterPasses(QChar typed)
{
    return typed == QLatin1Char('-') || typed == QLatin1Char('.') || typed == QChar(8) ||
           (typed >= QLatin1Char('0') && typed <= QLatin1Char('9'));
}

PanelBox::PanelBox(QWidget* parent, const QString& array, int index, const QString& text, bool filtered)
    : QLineEdit(text, parent), filtered_(filtered)
{
    setObjectName(QStringLiteral("%1_%2").arg(array).arg(index));
}

void PanelBox::keyPressEvent(QKeyEvent* event)
{
    // Only typed characters are filtered; editing keys and shortcuts (paste
    // among them) pass as they are.
    const QString typed = event->text();
    const bool shortcut = event->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier);
    if (filtered_ && !shortcut && typed.size() == 1 && (typed[0].isPrint() || typed[0] == QChar(8)) &&
        !keyFilterPasses(typed[0])) {
        event->accept();
        return;
    }
    QLineEdit::keyPressEvent(event);
}

BoxArray boxRows(QWidget* parent, QGridLayout* grid, int firstRow, const QString& array,
                 const std::array<QString, 3>& captions, const std::array<QString, 3>& texts, bool filtered,
                 int& descriptionIndex)
{
    BoxArray boxes{};
    for (int i = 0; i < 3; ++i) {
        auto* description = new QLabel(captions[std::size_t(i)], parent);
        description->setObjectName(QStringLiteral("LblDescription_%1").arg(descriptionIndex++));
        boxes[std::size_t(i)] = new PanelBox(parent, array, i, texts[std::size_t(i)], filtered);
        grid->addWidget(description, firstRow + i, 0);
        grid->addWidget(boxes[std::size_t(i)], firstRow + i, 1);
    }
    return boxes;
}

} // namespace landlume
