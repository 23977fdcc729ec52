// "Info about the author": the about window with its OK button.
#pragma once

#include <QDialog>

namespace landlume {

class FrmInfo : public QDialog {
    Q_OBJECT
public:
    explicit FrmInfo(QWidget* parent = nullptr);
};

} // namespace landlume
