// The shared toolkit's widgets and helpers under Glazery's own names.
#pragma once

#include <toolkit/Controls.h>
#include <toolkit/Dialogs.h>
#include <toolkit/Icons.h>
#include <toolkit/Units.h>

namespace glazery {

using toolkit::DragTracker;
using toolkit::MouseLabel;
using toolkit::NumberBox;
using toolkit::PictureBox;
using toolkit::Swatch;
using toolkit::TextBox;
using toolkit::TwipsPerPixel;
using toolkit::toPixels;
using toolkit::toTwips;
namespace dialogs = toolkit::dialogs;
namespace icons = toolkit::icons;

} // namespace glazery
