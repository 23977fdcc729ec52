#include "ui/SettingsBoxes.h"

#include "core/NumberInput.h"

#include <platform/Interaction.h>

#include <QLatin1String>
#include <QLineEdit>

namespace landlume {

void warnInvalidBox(const QString& what, const QString& problem)
{
    platform::msgBox(QStringLiteral("%1 %2 Nothing was changed.").arg(what, problem), platform::vbExclamation,
                     kInvalidSettingsTitle);
}

std::optional<float> boxNumber(const QLineEdit* box, const QString& what)
{
    const std::optional<float> value = strictSingle(box->text());
    if (!value)
        warnInvalidBox(what, QStringLiteral("\"%1\" is not a number.").arg(box->text()));
    return value;
}

std::optional<D3DVECTOR> boxVector(const BoxArray& boxes, const QString& what)
{
    static const char* const axes[] = {"X", "Y", "Z"};
    float v[3] = {};
    for (int i = 0; i < 3; ++i) {
        const std::optional<float> value =
            boxNumber(boxes[std::size_t(i)], QStringLiteral("%1 %2:").arg(what, QLatin1String(axes[i])));
        if (!value)
            return std::nullopt;
        v[i] = *value;
    }
    return D3DVECTOR{v[0], v[1], v[2]};
}

} // namespace landlume
