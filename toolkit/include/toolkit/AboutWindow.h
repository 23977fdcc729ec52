// An About window: title, version, description, web links and a disclaimer
// given by the tool, an OK button and the "&System Info..." button that
// starts the system information tool the registry names.
#pragma once

#include <QDialog>
#include <QStringList>

namespace toolkit {

struct AboutTexts {
    QString windowName = QStringLiteral("frmAbout");
    QString caption;
    QString title;
    QString version;
    QString description;
    QString disclaimer;
    QStringList links;   // web addresses, opened with the desktop's handler
};

inline const QString kSystemInfoUnavailable = QStringLiteral("System Information Is Unavailable At This Time");

class AboutWindow : public QDialog {
    Q_OBJECT
public:
    AboutWindow(QWidget* parent, const AboutTexts& texts);

    // "&System Info...": starts the system information tool, or says it is
    // unavailable.
    void startSysInfo();
};

// Path of the system information tool from the registry (HKLM
// "SOFTWARE\Microsoft\Shared Tools\MSINFO" value PATH, else the folder of
// "SOFTWARE\Microsoft\Shared Tools Location" value MSINFO with MSINFO32.EXE),
// empty when none is recorded or the file is missing.
QString systemInfoToolPath();

} // namespace toolkit
