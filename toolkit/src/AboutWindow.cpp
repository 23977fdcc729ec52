#include "toolkit/AboutWindow.h"
#include "toolkit/Dialogs.h"

#include <QFileInfo>
#include <QLabel>
#include <QPushButton>

#include <platform/Paths.h>
#include <platform/Process.h>
#include <platform/Registry.h>

namespace toolkit {
namespace {

QLabel* label(QWidget* parent, const QString& name, const QString& text, QRect geometry)
{
    auto* l = new QLabel(text, parent);
    l->setObjectName(name);
    l->setGeometry(geometry);
    return l;
}

QLabel* link(QWidget* parent, const QString& name, const QString& url, QRect geometry)
{
    QLabel* l = label(parent, name, QStringLiteral("<a href=\"%1\">%1</a>").arg(url), geometry);
    l->setTextInteractionFlags(Qt::LinksAccessibleByMouse);
    QObject::connect(l, &QLabel::linkActivated, parent,
                     [](const QString& target) { platform::shellOpen(target); });
    return l;
}

} // namespace

AboutWindow::AboutWindow(QWidget* parent, const AboutTexts& texts)
    : QDialog(parent)
{
    setObjectName(texts.windowName);
    setWindowTitle(texts.caption);
    setFixedSize(460, 290);

    QLabel* title = label(this, "lblTitle", texts.title, QRect(16, 14, 430, 24));
    QFont bold = title->font();
    bold.setBold(true);
    bold.setPointSizeF(bold.pointSizeF() * 1.2);
    title->setFont(bold);
    label(this, "lblVersion", texts.version, QRect(16, 40, 300, 18));
    label(this, "lblDescription", texts.description, QRect(16, 66, 428, 64))->setWordWrap(true);
    for (int i = 0; i < texts.links.size(); ++i)
        link(this, QStringLiteral("lblLink%1").arg(i + 1), texts.links[i], QRect(16, 134 + i * 20, 300, 18));
    label(this, "lblDisclaimer", texts.disclaimer, QRect(16, 190, 300, 60))->setWordWrap(true);

    auto* ok = new QPushButton(tr("OK"), this);
    ok->setObjectName("cmdOK");
    ok->setGeometry(336, 200, 108, 28);
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    auto* sysInfo = new QPushButton(tr("&System Info..."), this);
    sysInfo->setObjectName("cmdSysInfo");
    sysInfo->setGeometry(336, 240, 108, 28);
    connect(sysInfo, &QPushButton::clicked, this, &AboutWindow::startSysInfo);
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

void AboutWindow::startSysInfo()
{
    const QString tool = systemInfoToolPath();
    if (!tool.isEmpty() && platform::startCommandLine(QStringLiteral("\"%1\"").arg(tool)))
        return;
    dialogs::message(kSystemInfoUnavailable, dialogs::Icon::None, windowTitle());
}

} // namespace toolkit
