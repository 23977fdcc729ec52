#include "ui/EmitterSelector.h"

#include <QCheckBox>
#include <QRadioButton>

namespace emberly {

EmitterSelector::EmitterSelector(QWidget* parent, Guard guard, std::function<void(int)> selected)
    : QGroupBox(QStringLiteral("Emittors"), parent), guard_(std::move(guard)), selected_(std::move(selected))
{
    setObjectName(QStringLiteral("fraEmittors"));
    setGeometry(6, 2, 240, 88);
    for (int i = 0; i < kEmitterCount; ++i) {
        const auto u = std::size_t(i);
        enableBoxes_[u] = new QCheckBox(this);
        enableBoxes_[u]->setObjectName(QStringLiteral("chkPause_%1").arg(i));
        enableBoxes_[u]->setToolTip(QStringLiteral("Enables/Disables Emittor"));
        enableBoxes_[u]->setGeometry(14, 20 + i * 22, 20, 20);
        enableBoxes_[u]->setChecked(i == 0);
        options_[u] = new QRadioButton(QStringLiteral("Emittor %1").arg(i + 1), this);
        options_[u]->setObjectName(QStringLiteral("optTotEmit_%1").arg(i));
        options_[u]->setToolTip(QStringLiteral("Click here to switch Emittors"));
        options_[u]->setGeometry(40, 20 + i * 22, 120, 20);
        options_[u]->setChecked(i == 0);
        options_[u]->setEnabled(i == 0);
        connect(enableBoxes_[u], &QCheckBox::clicked, this,
                [this, i] { guard_(QStringLiteral("chkPause_Click"), [this, i] { enableClicked(i); }); });
        connect(options_[u], &QRadioButton::clicked, this,
                [this, i] { guard_(QStringLiteral("optTotEmit_Click"), [this, i] { select(i); }); });
    }
}

bool EmitterSelector::emitterEnabled(int index) const
{
    checkEmitterIndex(index);
    return enableBoxes_[std::size_t(index)]->isChecked();
}

void EmitterSelector::setEmitterEnabled(int index, bool on)
{
    checkEmitterIndex(index);
    enableBoxes_[std::size_t(index)]->setChecked(on);
    enableClicked(index);
}

void EmitterSelector::select(int index)
{
    markSelected(index);
    selected_(index);
}

void EmitterSelector::markSelected(int index)
{
    checkEmitterIndex(index);
    options_[std::size_t(index)]->setChecked(true);
}

void EmitterSelector::enableClicked(int index)
{
    const auto u = std::size_t(index);
    if (enableBoxes_[u]->isChecked()) {
        options_[u]->setEnabled(true);
        select(index);
        return;
    }
    options_[u]->setEnabled(false);
    // The selected emitter went off: the enabled ones are selected in turn,
    // so the highest ends up selected.
    if (options_[u]->isChecked())
        for (int j = 0; j < kEmitterCount; ++j)
            if (enableBoxes_[std::size_t(j)]->isChecked())
                select(j);
}

} // namespace emberly
