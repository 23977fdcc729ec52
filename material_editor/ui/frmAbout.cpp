#include "ui/frmAbout.h"

namespace glazery {
namespace {

toolkit::AboutTexts aboutTexts()
{
    toolkit::AboutTexts texts;
    texts.caption = frmAbout::tr("About Glazery");
    texts.title = QStringLiteral("Glazery - A Material Editor for KL3D SDK 6.0");
    texts.version = frmAbout::tr("Version 1.0");
    texts.description =
        frmAbout::tr("Edit the ambient, diffuse, specular and emissive colours and the power of a "
                     "Korlith3D material on nine preview objects under a test light, save it as a "
                     "material file and get the set-up code in VB, Delphi or C#.");
    texts.disclaimer = frmAbout::tr("Warning: this program is provided as is, without warranty of any kind. "
                                    "Use it at your own risk.");
    texts.links = {QStringLiteral("https://www.korlith3d.com"), QStringLiteral("https://www.korlith3d.com/forum")};
    return texts;
}

} // namespace

frmAbout::frmAbout(QWidget* parent)
    : AboutWindow(parent, aboutTexts())
{
}

} // namespace glazery
