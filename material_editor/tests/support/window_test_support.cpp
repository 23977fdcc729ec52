#include "support/window_test_support.h"

#include "core/MaterialFile.h"
#include "core/ObjectsList.h"

#include <QApplication>
#include <QDir>
#include <QFocusEvent>
#include <QFile>
#include <QImage>
#include <QLineEdit>
#include <QPainter>

#include <platform/Paths.h>
#include <platform/TextFile.h>

namespace glazery::test {
namespace {

void writeFile(const QString& path, const QByteArray& data)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile out(path);
    ASSERT_TRUE(out.open(QIODevice::WriteOnly)) << path.toStdString();
    out.write(data);
}

void writePicture(const QString& path, const QColor& a, const QColor& b)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QImage image(64, 64, QImage::Format_RGB32);
    image.fill(a);
    QPainter painter(&image);
    painter.fillRect(0, 0, 32, 32, b);
    painter.fillRect(32, 32, 32, 32, b);
    painter.end();
    ASSERT_TRUE(image.save(path)) << path.toStdString();
}

} // namespace

QByteArray tinyXModel()
{
    return "xof 0303txt 0032\r\n"
           "Mesh {\r\n"
           " 4;\r\n"
           " -5.0;-5.0;0.0;,\r\n"
           " 5.0;-5.0;0.0;,\r\n"
           " 5.0;5.0;0.0;,\r\n"
           " -5.0;5.0;0.0;;\r\n"
           " 2;\r\n"
           " 3;0,2,1;,\r\n"
           " 3;0,3,2;;\r\n"
           " MeshNormals {\r\n"
           "  1;\r\n"
           "  0.0;0.0;-1.0;;\r\n"
           "  2;\r\n"
           "  3;0,0,0;,\r\n"
           "  3;0,0,0;;\r\n"
           " }\r\n"
           " MeshTextureCoords {\r\n"
           "  4;\r\n"
           "  0.0;1.0;,\r\n"
           "  1.0;1.0;,\r\n"
           "  1.0;0.0;,\r\n"
           "  0.0;0.0;;\r\n"
           " }\r\n"
           "}\r\n";
}

void populateProgramFolder(const QString& folder)
{
    writeFile(folder + "/default.mkl", materialFileContent(MaterialSettings{}));
    writeFile(folder + "/glazeryobjects.ini", objectsListContent(defaultPreviewObjects()));
    writeFile(folder + "/Readme.txt", "Glazery help\r\nSecond line\r\n");
    writePicture(folder + "/Data/textures/Fabrics004.jpg", QColor(200, 60, 40), QColor(240, 220, 200));
    writePicture(folder + "/Data/textures/Floors017.jpg", QColor(90, 90, 100), QColor(150, 140, 120));
    for (const PreviewObject& object : defaultPreviewObjects())
        writeFile(platform::joinPath(folder, QString(object.fileName).replace('\\', '/')), tinyXModel());
}

QStringList readLines(const QString& path)
{
    const platform::LinesResult read = platform::readTextLines(path);
    return read.lines;
}

void GlazeryWindowTest::SetUp()
{
    ASSERT_TRUE(folder.isValid());
    populateProgramFolder(folder.path());
    qputenv("KORLITH3D_REGISTRY_DIR", folder.filePath("registry").toUtf8());
    dialogs = std::make_shared<platform::ScriptedInteraction>();
    scopedDialogs = std::make_unique<platform::ScopedInteraction>(dialogs);
}

void GlazeryWindowTest::startWindow(const QString& fileToOpen)
{
    form = std::make_unique<Form1>(folder.path());
    ASSERT_TRUE(form->load(false, fileToOpen));
    ASSERT_TRUE(form->scene().ready());
}

void GlazeryWindowTest::TearDown()
{
    form.reset();
    scopedDialogs.reset();
    dialogs.reset();
}

void GlazeryWindowTest::typeInto(const QString& boxName, const QString& text)
{
    auto* box = control<QLineEdit>(boxName);
    ASSERT_NE(box, nullptr);
    // Focus events are sent directly: a test display may have no window manager
    // to make the window active.
    QFocusEvent in(QEvent::FocusIn, Qt::TabFocusReason);
    QApplication::sendEvent(box, &in);
    box->setText(text);
    QFocusEvent out(QEvent::FocusOut, Qt::TabFocusReason);
    QApplication::sendEvent(box, &out);
}

} // namespace glazery::test
