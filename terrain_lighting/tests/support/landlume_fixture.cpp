#include "support/landlume_fixture.h"

#include <QApplication>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>

namespace landlume::test {

QString builtProgramFolder()
{
    return QDir(QCoreApplication::applicationDirPath() + QStringLiteral("/../Landlume")).absolutePath();
}

void copyProgramFolder(const QString& folder)
{
    const QDir source(builtProgramFolder());
    QDirIterator it(source.path(), QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        const QString relative = source.relativeFilePath(path);
        if (relative == QLatin1String("landlume"))
            continue;
        const QString target = folder + QLatin1Char('/') + relative;
        QDir().mkpath(QFileInfo(target).absolutePath());
        ASSERT_TRUE(QFile::copy(path, target)) << relative.toStdString();
    }
    for (const char* empty : {"Screenshots", "Debug", "Maps"})
        QDir(folder).mkpath(QString::fromLatin1(empty));
}

void LandlumeWindowTest::SetUp()
{
    ASSERT_TRUE(folder.isValid());
    ASSERT_TRUE(QFileInfo::exists(builtProgramFolder() + "/Models/spot.x")) << "side files not built";
    copyProgramFolder(folder.path());
    dialogs = std::make_shared<platform::ScriptedInteraction>();
    scopedDialogs = std::make_unique<platform::ScopedInteraction>(dialogs);
}

void LandlumeWindowTest::startWindow(const QString& mapToOpen)
{
    frame = std::make_unique<MDIMain>(folder.path());
    ASSERT_TRUE(frame->load(false, mapToOpen));
    ASSERT_TRUE(engine().started());
}

void LandlumeWindowTest::frames(int count)
{
    for (int i = 0; i < count; ++i)
        frame->frame();
}

void LandlumeWindowTest::TearDown()
{
    frame.reset();
    scopedDialogs.reset();
    EXPECT_EQ(dialogs->pending(), 0u) << "dialogs expected but not shown";
    dialogs.reset();
}

QString LandlumeWindowTest::text(const QString& name) const
{
    if (auto* box = frame->findChild<QLineEdit*>(name))
        return box->text();
    if (auto* label = frame->findChild<QLabel*>(name))
        return label->text();
    ADD_FAILURE() << "no control " << name.toStdString();
    return {};
}

void LandlumeWindowTest::setText(const QString& name, const QString& value)
{
    auto* box = control<QLineEdit>(name);
    ASSERT_NE(box, nullptr);
    box->setText(value);
}

void LandlumeWindowTest::click(const QString& labelName)
{
    auto* label = control<QLabel>(labelName);
    ASSERT_NE(label, nullptr);
    const QPointF at(label->width() / 2.0, label->height() / 2.0);
    QMouseEvent press(QEvent::MouseButtonPress, at, label->mapToGlobal(at), Qt::LeftButton, Qt::LeftButton,
                      Qt::NoModifier);
    QApplication::sendEvent(label, &press);
    QMouseEvent release(QEvent::MouseButtonRelease, at, label->mapToGlobal(at), Qt::LeftButton, Qt::NoButton,
                        Qt::NoModifier);
    QApplication::sendEvent(label, &release);
}

} // namespace landlume::test
