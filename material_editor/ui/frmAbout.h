// The About box.
#pragma once

#include <QDialog>

namespace glazery {

class frmAbout : public QDialog {
    Q_OBJECT
public:
    explicit frmAbout(QWidget* parent);

    // "&System Info...": starts the system information tool the registry names,
    // or says it is unavailable.
    void startSysInfo();
};

// Path of the system information tool from the registry, empty when none is
// recorded or the file is missing.
QString systemInfoToolPath();

} // namespace glazery
