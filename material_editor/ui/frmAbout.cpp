#include "ui/frmAbout.h"
#include "ui/Dialogs.h"
#include "ui/Module1.h"

#include <QFileInfo>
#include <QLabel>
#include <QPushButton>

#include <platform/Paths.h>
#include <platform/Process.h>
#include <platform/Registry.h>

namespace glazery {
namespace {

QLabel* link(QWidget* parent, const char* name, const QString& url, QRect geometry)
{
    auto* label = new QLabel(QStringLiteral("<a href=\"%1\">%1</a>").arg(url), parent);
    label->setObjectName(name);
    label->setGeometry(geometry);
    label->setTextInteractionFlags(Qt::LinksAccessibleByMouse);
    QObject::connect(label, &QLabel::linkActivated, parent, [](const QString& target) { shellOpen(target); });
    return label;
}

} // namespace

frmAbout::frmAbout(QWidget* parent)
    : QDialog(parent)
{
    setObjectName("frmAbout");
    setWindowTitle(tr("About Glazery"));
    setFixedSize(460, 290);

    auto* title = new QLabel("Glazery - A Material Editor for KL3D SDK 6.0", this);
    title->setObjectName("lblTitle");
    QFont bold = title->font();
    bold.setBold(true);
    bold.setPointSizeF(bold.pointSizeF() * 1.2);
    title->setFont(bold);
    title->setGeometry(16, 14, 430, 24);
    auto* version = new QLabel(tr("Version 1.0"), this);
    version->setObjectName("lblVersion");
    version->setGeometry(16, 40, 300, 18);
    auto* description = new QLabel(
        tr("Edit the ambient, diffuse, specular and emissive colours and the power of a "
           "Korlith3D material on nine preview objects under a test light, save it as a "
           "material file and get the set-up code in VB, Delphi or C#."),
        this);
    description->setObjectName("lblDescription");
    description->setWordWrap(true);
    description->setGeometry(16, 66, 428, 64);
    link(this, "lblLink1", "https://www.korlith3d.com", QRect(16, 134, 300, 18));
    link(this, "lblLink2", "https://www.korlith3d.com/forum", QRect(16, 154, 300, 18));
    auto* disclaimer = new QLabel(
        tr("Warning: this program is provided as is, without warranty of any kind. Use it at "
           "your own risk."),
        this);
    disclaimer->setObjectName("lblDisclaimer");
    disclaimer->setWordWrap(true);
    disclaimer->setGeometry(16, 190, 300, 60);

    auto* ok = new QPushButton(tr("OK"), this);
    ok->setObjectName("cmdOK");
    ok->setGeometry(336, 200, 108, 28);
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    auto* sysInfo = new QPushButton(tr("&System Info..."), this);
    sysInfo->setObjectName("cmdSysInfo");
    sysInfo->setGeometry(336, 240, 108, 28);
    connect(sysInfo, &QPushButton::clicked, this, &frmAbout::startSysInfo);
}

QString systemInfoToolPath()
{
    using platform::Hive;
    // The tool's own path, else its folder from the shared tools location.
    QString path = platform::readRegistryString(Hive::LocalMachine,
                                                  "SOFTWARE\\Microsoft\\Shared Tools\\MSINFO", "PATH")
                       .value_or(QString());
    if (path.isEmpty() || !QFileInfo::exists(platform::resolvePath(path))) {
        const QString folder = platform::readRegistryString(
                                   Hive::LocalMachine, "SOFTWARE\\Microsoft\\Shared Tools Location", "MSINFO")
                                   .value_or(QString());
        path = folder.isEmpty() ? QString() : folder + "\\MSINFO32.EXE";
    }
    if (path.isEmpty())
        return {};
    const QString resolved = platform::resolvePath(path);
    return QFileInfo(resolved).isFile() ? resolved : QString();
}

void frmAbout::startSysInfo()
{
    const QString tool = systemInfoToolPath();
    if (!tool.isEmpty() && platform::startCommandLine(QStringLiteral("\"%1\"").arg(tool)))
        return;
    dialogs::message("System Information Is Unavailable At This Time", dialogs::Icon::None, windowTitle());
}

} // namespace glazery
