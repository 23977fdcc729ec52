#include "support/window_test_support.h"

#include "core/EmberlyRegistry.h"

#include <platform/Registry.h>

#include <QApplication>
#include <QDir>
#include <QDirIterator>
#include <QFile>

namespace emberly::test {

void populateProgramFolder(const QString& folder)
{
    const QDir source(QStringLiteral(EMBERLY_CONTENT_DIR));
    for (const QString& sub : {QStringLiteral("media"), QStringLiteral("mesh")}) {
        QDir(folder).mkpath(sub);
        for (const QString& name : QDir(source.filePath(sub)).entryList(QDir::Files))
            QFile::copy(source.filePath(sub + "/" + name), QDir(folder).filePath(sub + "/" + name));
    }
    for (const QString& name : {QStringLiteral("presets.ini"), QStringLiteral("Readme.txt")})
        QFile::copy(source.filePath(name), QDir(folder).filePath(name));
}

void EmberlyWindowTest::SetUp()
{
    ASSERT_TRUE(folder.isValid());
    ASSERT_TRUE(registry.isValid());
    qputenv("KORLITH3D_REGISTRY_DIR", registry.path().toUtf8());
    platform::writeRegistryString(platform::Hive::LocalMachine, QStringLiteral("SOFTWARE\\Microsoft\\DirectX"),
                                  QStringLiteral("Version"), QStringLiteral("4.09.00.0904"));
    populateProgramFolder(folder.path());
    dialogs = std::make_shared<platform::ScriptedInteraction>();
    scopedDialogs = std::make_unique<platform::ScopedInteraction>(dialogs);
}

void EmberlyWindowTest::TearDown()
{
    form.reset();
    scopedDialogs.reset();
    EXPECT_EQ(dialogs->pending(), 0u);
    dialogs.reset();
    qunsetenv("KORLITH3D_REGISTRY_DIR");
}

void EmberlyWindowTest::startWindow(const QString& fileToOpen)
{
    form = std::make_unique<frmMain>(folder.path());
    presets = new PresetMenus(*form);
    form->setActiveQuery([this] { return active; });
    ASSERT_TRUE(form->load(false, [&] {
        if (!fileToOpen.isEmpty())
            presets->openFileAtStart(fileToOpen);
    }));
    ASSERT_TRUE(form->running());
}

void EmberlyWindowTest::runFrames(int frames)
{
    for (int i = 0; i < frames; ++i)
        form->runFrame();
}

int EmberlyWindowTest::liveParticles(int emitter)
{
    return form->factory(emitter).Particle()->GetParticleCount();
}

QString EmberlyWindowTest::debugLog() const
{
    QFile log(folder.filePath(QStringLiteral("debug.txt")));
    if (!log.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(log.readAll());
}

} // namespace emberly::test
