#include "ui/Form4.h"

namespace glazery {

Form4::Form4(QWidget* parent)
    : HelpWindow(parent, {QStringLiteral("Form4"), QStringLiteral("Help for Glazery"), QStringLiteral("Text1")})
{
}

} // namespace glazery
