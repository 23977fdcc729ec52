// The export window: the enabled emitters as engine code in VB, Delphi or C++ —
// set-up, event code and render loop — regenerated whenever an input changes,
// each part copied to the clipboard on request.
#pragma once

#include "core/CodeExport.h"

#include <QDialog>

#include <array>

class QLineEdit;
class QPlainTextEdit;
class QRadioButton;

namespace emberly {

class frmMain;

class frmExport : public QDialog {
    Q_OBJECT
public:
    // Builds the window and generates the VB text, as loading it does.
    explicit frmExport(frmMain& form);

    // Regenerates the three texts for `codetype` (0 VB, 1 Delphi, 2 C++).
    void codeMake(int codetype);
    // Copy button `index`: 0 set-up, 1 event, 2 render.
    void copyToClipboard(int index);
    // The text of output box `index` as the code has it (CR line ends, LF for C++).
    QString boxText(int index) const;

private:
    ExportNames names() const;

    frmMain& form_;
    int codetype_ = kCodeVB;
    std::array<QLineEdit*, kEmitterCount> partNames_{};
    std::array<QLineEdit*, kEmitterCount> textures_{};
    std::array<QLineEdit*, 3> position_{};
    std::array<QPlainTextEdit*, 3> outputs_{};
    std::array<QRadioButton*, kCodeTypeCount> codeTypes_{};
};

} // namespace emberly
