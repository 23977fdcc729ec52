#include "ui/Form3.h"
#include "ui/Form1.h"
#include "ui/ObjectsPanel.h"
#include "ui/PreviewScene.h"
#include "ui/Toolkit.h"

#include "core/ObjectsList.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include <platform/Paths.h>

namespace glazery {

Form3::Form3(Form1& main)
    : QDialog(&main)
    , scene_(main.scene())
    , objects_(main.objectsPanel())
{
    setObjectName("Form3");
    setWindowTitle("Objects configuration");
    constexpr int FrameWidth = 300;
    constexpr int FrameHeight = 104;
    for (int i = 0; i < RowCount; ++i) {
        const auto slot = static_cast<size_t>(i);
        auto* frame = new QGroupBox(tr("Object %1").arg(i + 1), this);
        frame->setObjectName(QStringLiteral("frameObject_%1").arg(i));
        frame->setGeometry(8 + (i % 3) * (FrameWidth + 8), 8 + (i / 3) * (FrameHeight + 6), FrameWidth, FrameHeight);
        (new QLabel(tr("Filename:"), frame))->setGeometry(8, 24, 60, 18);
        fileName_[slot] = new QLineEdit(frame);
        fileName_[slot]->setObjectName(QStringLiteral("txtFileName_%1").arg(i));
        fileName_[slot]->setGeometry(70, 22, 186, 22);
        auto* browseButton = new QPushButton("...", frame);
        browseButton->setObjectName(QStringLiteral("Command1_%1").arg(i));
        browseButton->setGeometry(260, 22, 32, 22);
        connect(browseButton, &QPushButton::clicked, this, [this, i] { browse(i); });
        (new QLabel(tr("Desc.:"), frame))->setGeometry(8, 50, 60, 18);
        desc_[slot] = new TextBox(frame, QStringLiteral("txtDesc_%1").arg(i));
        desc_[slot]->setGeometry(70, 48, 222, 22);
        connect(desc_[slot], &TextBox::lostFocus, this, [this, i] { descriptionLostFocus(i); });
        (new QLabel(tr("Scale:"), frame))->setGeometry(8, 76, 60, 18);
        scale_[slot] = new TextBox(frame, QStringLiteral("txtScale_%1").arg(i), "100");
        scale_[slot]->setGeometry(70, 74, 60, 22);
        connect(scale_[slot], &TextBox::lostFocus, this, [this, i] { scaleLostFocus(i); });
        (new QLabel("%", frame))->setGeometry(134, 76, 20, 18);
    }
    const int buttonsY = 8 + 3 * (FrameHeight + 6);
    auto* okButton = new QPushButton(tr("OK"), this);
    okButton->setObjectName("Command2");
    okButton->setGeometry(8 + 3 * (FrameWidth + 8) - 8 - 100, buttonsY, 100, 28);
    connect(okButton, &QPushButton::clicked, this, &Form3::ok);
    auto* reset = new QPushButton(tr("Reset to default"), this);
    reset->setObjectName("Command3");
    reset->setGeometry(8, buttonsY, 140, 28);
    connect(reset, &QPushButton::clicked, this, &Form3::resetToDefault);
    setFixedSize(8 + 3 * (FrameWidth + 8), buttonsY + 36);
    fillFromList();
}

QString Form3::listPath() const
{
    return platform::joinPath(scene_.programFolder(), kObjectsListFileName);
}

void Form3::fillFromList()
{
    // A damaged list was reported at start-up; the rows then show the defaults.
    const ObjectsListReadResult list = readObjectsList(listPath());
    for (int i = 0; i < RowCount && i < list.objects.size(); ++i) {
        const PreviewObject& object = list.objects[i];
        const auto slot = static_cast<size_t>(i);
        fileName_[slot]->setText(object.fileName);
        desc_[slot]->setText(object.description);
        scale_[slot]->setText(percentTextFromScale(object.scale));
        objects_.setCaption(i, object.description);
    }
}

void Form3::reportLoadFailure(const QString& description)
{
    dialogs::message(description, dialogs::Icon::Exclamation, windowTitle());
}

void Form3::browse(int index)
{
    const std::optional<QString> path = dialogs::openFile(kModelDialogTitle, kModelFileFilter);
    if (!path)
        return;
    const auto slot = static_cast<size_t>(index);
    fileName_[slot]->setText(*path);
    if (!scene_.ready())
        return;
    try {
        scene_.loadObject(index, {*path, desc_[slot]->text(), scaleFromPercentText(scale_[slot]->text())});
    } catch (const SceneError& error) {
        reportLoadFailure(error.description);
    }
}

void Form3::descriptionLostFocus(int index)
{
    objects_.setCaption(index, desc_[static_cast<size_t>(index)]->text());
}

void Form3::scaleLostFocus(int index)
{
    TextBox* box = scale_[static_cast<size_t>(index)];
    box->setText(scaleBoxTextAfterEdit(box->text()));
    scene_.setObjectScale(index, scaleFromPercentText(box->text()));
}

void Form3::ok()
{
    QList<PreviewObject> objects;
    for (size_t i = 0; i < static_cast<size_t>(RowCount); ++i)
        objects.append({fileName_[i]->text(), desc_[i]->text(), scaleFromPercentText(scale_[i]->text())});
    const ObjectsListWriteResult written = writeObjectsList(listPath(), objects);
    if (!written.ok)
        dialogs::message(tr("The objects list could not be saved:\n%1").arg(written.error),
                         dialogs::Icon::Exclamation, windowTitle());

    for (int i = 0; i < RowCount; ++i) {
        objects_.setCaption(i, objects[i].description);
        objects_.setChoosable(i, true);
    }
    const QStringList failures = scene_.loadObjects(objects);
    if (!failures.isEmpty())
        reportLoadFailure(objectsLoadFailureMessage(failures));
    accept();
}

void Form3::resetToDefault()
{
    const QList<PreviewObject> defaults = defaultPreviewObjects();
    for (int i = 0; i < RowCount && i < defaults.size(); ++i) {
        const auto slot = static_cast<size_t>(i);
        fileName_[slot]->setText(defaults[i].fileName);
        desc_[slot]->setText(defaults[i].description);
        scale_[slot]->setText("100");
    }
}

} // namespace glazery
