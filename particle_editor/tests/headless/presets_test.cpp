// Particle files and presets: the keys written, what loading restores, the
// custom-texture question, names and paths.
#include "core/cInifile.h"
#include "core/mPresets.h"

#include <platform/SaveFaults.h>
#include <platform/Interaction.h>
#include <platform/Profile.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <FilePermissionFaults.h>
#include <gtest/gtest.h>

namespace emberly {
namespace {

class FakeWindow final : public PresetWindow {
public:
    EmitterRecords& records() override { return recs; }
    bool emitterEnabled(int i) const override { return enabled[std::size_t(i)]; }
    void setEmitterEnabled(int i, bool on) override { enabled[std::size_t(i)] = on; }
    bool onlyBuiltInTextures() const override { return builtInOnly; }
    void loadCustomTexture() override
    {
        ++customLoads;
        builtInOnly = false;
    }
    void showEmitter(int i) override { calls << QStringLiteral("show %1").arg(i); }
    void applyEmitter(int i) override { calls << QStringLiteral("apply %1").arg(i); }
    void log(const QString& line) override { logLines << line; }

    EmitterRecords recs;
    std::array<bool, 3> enabled{true, false, false};
    bool builtInOnly = true;
    int customLoads = 0;
    QStringList calls, logLines;
};

QStringList fileLines(const QString& path)
{
    QFile f(path);
    EXPECT_TRUE(f.open(QIODevice::ReadOnly));
    return QString::fromUtf8(f.readAll()).split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
}

struct PresetTest : ::testing::Test {
    void SetUp() override { scoped = std::make_unique<platform::ScopedInteraction>(dialogs); }
    void TearDown() override
    {
        scoped.reset();
        EXPECT_EQ(dialogs->pending(), 0u);
    }
    QString store() const { return dir.filePath("presets.ini"); }

    QTemporaryDir dir;
    FakeWindow window;
    std::shared_ptr<platform::ScriptedInteraction> dialogs = std::make_shared<platform::ScriptedInteraction>();
    std::unique_ptr<platform::ScopedInteraction> scoped;
};

TEST_F(PresetTest, TheStartUpStateSavedAsFireGivesTheKnownKeys)
{
    window.recs.emitters[0].Gravity = 2;   // the frame loop's copy of the gravity slider
    ASSERT_TRUE(savePreset("Fire", store(), window));
    const QStringList lines = fileLines(store());
    EXPECT_EQ(lines.mid(0, 3), (QStringList{"[Presets]", "Fire=Fire", "[Fire]"}));
    const QStringList expected = {
        "0Size=5",         "0TextureID=1",    "0Life=200",       "0VelocityX=0",        "0VelocityY=0",
        "0VelocityZ=0",    "0ColorRed=255",   "0ColorGreen=255", "0ColorBlue=255",      "0ColorRnd=0",
        "0ParticleSpeed=3", "0ParticleTotal=1000", "0Enabled=1", "0Gravity=2",          "0Bounce=30",
        "0Power=100",      "0EmittorSpeed=5", "0MotionSpeed=0.5", "0Style=1",           "0Motion=0",
        "0DistanceX=5",    "0DistanceY=5",    "0DistanceZ=5"};
    EXPECT_EQ(lines.mid(3, 23), expected);
    EXPECT_EQ(lines.size(), 3 + 69);
    EXPECT_TRUE(lines.contains("1Enabled=0"));
    EXPECT_TRUE(lines.contains("2Enabled=0"));
    EXPECT_TRUE(lines.contains("1Gravity=1"));
    EXPECT_EQ(lines[3 + 23], "1Size=5");
    EXPECT_TRUE(window.logLines.isEmpty());
}

TEST_F(PresetTest, SaveThenLoadRestoresEveryFieldButAlphaAndPosition)
{
    for (int i = 0; i < 3; ++i) {
        ParticleSettings& p = window.recs.particles[std::size_t(i)];
        EmitterSettings& e = window.recs.emitters[std::size_t(i)];
        p = {qint16(700 + i), qint16(9 + i), 2 + i, {0.2f, 0.4f, 0.6f, 0.5f}, 1, 3.25f, {-1.5f, 2, 0.1f}, 0.07f};
        e = {{4, 5, 6}, qint16(-3 + i), 1.2f, 2.5f, 17, qint16(i), qint16(4 + i), {3, 7, 11}, 0.85f};
    }
    window.enabled = {false, true, true};
    const EmitterRecords saved = window.recs;
    ASSERT_TRUE(savePreset("Mix", store(), window));
    window.recs = EmitterRecords{};
    for (auto& p : window.recs.particles)
        p.Color.a = 0.3f;
    for (auto& e : window.recs.emitters)
        e.Position = {1, 2, 3};
    window.enabled = {true, false, false};
    loadPreset("Mix", store(), window);
    EXPECT_TRUE(window.logLines.isEmpty()) << window.logLines.join("\n").toStdString();
    for (std::size_t i = 0; i < 3; ++i) {
        const ParticleSettings& p = window.recs.particles[i];
        const ParticleSettings& s = saved.particles[i];
        const EmitterSettings& e = window.recs.emitters[i];
        const EmitterSettings& t = saved.emitters[i];
        EXPECT_EQ(p.Total, s.Total);
        EXPECT_EQ(p.Size, s.Size);
        EXPECT_EQ(p.TextureID, s.TextureID);
        EXPECT_FLOAT_EQ(p.Color.r, s.Color.r);
        EXPECT_FLOAT_EQ(p.Color.g, s.Color.g);
        EXPECT_FLOAT_EQ(p.Color.b, s.Color.b);
        EXPECT_EQ(p.Color.a, 0.3f);
        EXPECT_EQ(p.ColorRnd, s.ColorRnd);
        EXPECT_FLOAT_EQ(p.Life, s.Life);
        EXPECT_FLOAT_EQ(p.Velocity.x, s.Velocity.x);
        EXPECT_FLOAT_EQ(p.Velocity.z, s.Velocity.z);
        EXPECT_FLOAT_EQ(p.Speed, s.Speed);
        EXPECT_EQ(e.Position.x, 1.0f);
        EXPECT_EQ(e.Gravity, t.Gravity);
        EXPECT_FLOAT_EQ(e.Bounce, t.Bounce);
        EXPECT_FLOAT_EQ(e.Power, t.Power);
        EXPECT_EQ(e.EmittorSpeed, t.EmittorSpeed);
        EXPECT_EQ(e.Style, t.Style);
        EXPECT_EQ(e.Motion, t.Motion);
        EXPECT_EQ(e.Distance.z, t.Distance.z);
        EXPECT_FLOAT_EQ(e.MotionSpeed, t.MotionSpeed);
    }
    EXPECT_EQ(window.enabled, (std::array<bool, 3>{false, true, true}));
    EXPECT_EQ(window.calls, (QStringList{"show 0", "apply 0", "apply 1", "apply 2"}));
}

TEST_F(PresetTest, ARenamedParticleFileLoadsNothingAndLogsEveryRead)
{
    const QString saved = particleFileSavePath(dir.filePath("fire"));
    EXPECT_TRUE(saved.endsWith("/fire.pkl"));
    window.recs.particles[0].Size = 20;
    ASSERT_TRUE(savePreset(particleFileSection(saved), saved, window));
    EXPECT_EQ(platform::getProfileString("Presets", "fire.pkl", "", 255, saved), "fire.pkl");
    const QString renamed = dir.filePath("other.pkl");
    ASSERT_TRUE(QFile::rename(saved, renamed));
    window.recs.particles[0].Size = 3;
    loadPreset(particleFileSection(renamed), renamed, window);
    EXPECT_EQ(window.recs.particles[0].Size, 3);
    EXPECT_EQ(window.logLines.size(), 69);
    EXPECT_EQ(window.logLines.value(0), "Error : loadPreset : #13 : Type mismatch");
    EXPECT_EQ(window.calls, (QStringList{"show 0", "apply 0", "apply 1", "apply 2"}));
}

TEST_F(PresetTest, ABadValueIsLoggedAndTheNextReadStillRuns)
{
    ASSERT_TRUE(savePreset("P", store(), window));
    ASSERT_TRUE(platform::writeProfileString("P", "0Size", "12abc", store()));
    ASSERT_TRUE(platform::writeProfileString("P", "0Life", "350", store()));
    ASSERT_TRUE(platform::writeProfileString("P", "0Style", "99999", store()));
    ASSERT_TRUE(platform::writeProfileString("P", "0ParticleTotal", "40", store()));
    loadPreset("P", store(), window);
    EXPECT_EQ(window.recs.particles[0].Size, 5);
    EXPECT_FLOAT_EQ(window.recs.particles[0].Life, 3.5f);
    EXPECT_EQ(window.recs.particles[0].Total, 40);
    EXPECT_EQ(window.logLines, (QStringList{"Error : loadPreset : #13 : Type mismatch",
                                            "Error : loadPreset : #6 : Overflow"}));
}

TEST_F(PresetTest, AStoredCustomTextureAsksOnceOnlyWhileNoneIsLoaded)
{
    window.recs.particles[0].TextureID = 20;
    window.recs.particles[2].TextureID = 20;
    ASSERT_TRUE(savePreset("C", store(), window));
    // No: the flake instead; asked again for the next emitter with id 20.
    dialogs->expectMsgBox(platform::vbNo, "has a Custom Texture");
    dialogs->expectMsgBox(platform::vbNo);
    loadPreset("C", store(), window);
    EXPECT_EQ(window.recs.particles[0].TextureID, 1);
    EXPECT_EQ(window.recs.particles[2].TextureID, 1);
    ASSERT_EQ(dialogs->calls().size(), 2u);
    EXPECT_EQ(dialogs->calls()[0].prompt,
              "The Preset you are loading has a Custom Texture.\r\n\r\nDo you wish to load it now?");
    EXPECT_EQ(dialogs->calls()[0].title, "Emberly");
    EXPECT_EQ(dialogs->calls()[0].style, platform::vbYesNo | platform::vbExclamation | platform::vbDefaultButton2);
    // Yes: the dialog runs once; the second emitter keeps 20 without asking.
    dialogs->expectMsgBox(platform::vbYes);
    loadPreset("C", store(), window);
    EXPECT_EQ(window.customLoads, 1);
    EXPECT_EQ(window.recs.particles[0].TextureID, 20);
    EXPECT_EQ(window.recs.particles[2].TextureID, 20);
    EXPECT_EQ(dialogs->calls().size(), 3u);
}

TEST_F(PresetTest, AFailedPresetSaveKeepsTheStoreWhole)
{
    ASSERT_TRUE(savePreset("Old", store(), window));
    QFile file(store());
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray before = file.readAll();
    file.close();
    for (const platform::SaveFault fault : {platform::SaveFault::Write, platform::SaveFault::Rename}) {
        const platform::ScopedSaveFault injected(fault);
        EXPECT_FALSE(savePreset("New", store(), window)) << int(fault);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        EXPECT_EQ(file.readAll(), before) << int(fault);
        file.close();
    }
    EXPECT_EQ(presetNames(store()), QStringList{"Old"});

    // A save failing part-way (after n keys were written) leaves no mix of
    // the old store and the new preset either.
    for (int passing : {0, 1, 5, 40, 69, 70}) {
        const platform::ScopedSaveFault injected(platform::SaveFault::Write, passing);
        EXPECT_FALSE(savePreset("New", store(), window)) << passing;
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        EXPECT_EQ(file.readAll(), before) << passing;
        file.close();
    }
    ASSERT_TRUE(savePreset("New", store(), window));
    EXPECT_EQ(presetNames(store()), (QStringList{"Old", "New"}));
}

QByteArray fileBytes(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// The atomic saves one particle file save takes (it writes key by key into
// a copy, then replaces the file once): the passing count at which an
// injected write fault no longer stops it.
// How many atomic saves one save of `path`'s section makes, counted on a copy
// of the file as it is now (the count depends on what the file holds).
int atomicSavesOfOneSave(const QString& path, PresetWindow& window)
{
    const QString copy = path + ".count";
    for (int passing = 0; passing < 1000; ++passing) {
        QFile::remove(copy);
        if (!QFile::copy(path, copy))
            return -1;
        const platform::ScopedSaveFault injected(platform::SaveFault::Write, passing);
        if (savePreset(particleFileSection(path), copy, window)) {
            QFile::remove(copy);
            return passing;
        }
    }
    return -1;
}

// A particle file (apart from the preset store) that cannot be written: a
// read-only folder or file, a full disk while the keys go into the copy or
// when the copy replaces the file. The old file stays byte for byte.
TEST_F(PresetTest, AParticleFileThatCannotBeWrittenKeepsItsOldContent)
{
    const QString path = dir.filePath("fire.pkl");
    ASSERT_TRUE(savePreset(particleFileSection(path), path, window));
    const QByteArray before = fileBytes(path);
    window.recs.particles[0].Size = 77;
    const int saves = atomicSavesOfOneSave(path, window);
    ASSERT_GT(saves, 1);

    for (const kltest::Unwritable what : {kltest::Unwritable::Folder, kltest::Unwritable::File}) {
        bool saved = true;
        {
            const kltest::ScopedUnwritable unwritable(what, dir.path(), path);
            ASSERT_TRUE(unwritable.ok()) << kltest::unwritableName(what);
            saved = savePreset(particleFileSection(path), path, window);
        }
        EXPECT_FALSE(saved) << kltest::unwritableName(what);
        EXPECT_EQ(fileBytes(path), before) << kltest::unwritableName(what);
    }
    for (const int passing : {0, saves / 2, saves - 1}) {
        const platform::ScopedSaveFault full(platform::SaveFault::Write, passing);
        EXPECT_FALSE(savePreset(particleFileSection(path), path, window)) << passing;
        EXPECT_EQ(fileBytes(path), before) << passing;
    }
    EXPECT_EQ(QDir(dir.path()).entryList({"fire*"}, QDir::Files), QStringList{"fire.pkl"});
    EXPECT_FALSE(QFileInfo::exists(dir.filePath("presets.ini")));   // the store is not involved
    ASSERT_TRUE(savePreset(particleFileSection(path), path, window));
    EXPECT_EQ(platform::getProfileString("fire.pkl", "0Size", "", 255, path), "77");
}

// The program dies after the new particle file is written, before it
// replaces the old one: the old file is whole and loads as before.
TEST_F(PresetTest, ACrashBeforeTheParticleFileIsReplacedLeavesTheOldOne)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    const QString path = dir.filePath("fire.pkl");
    ASSERT_TRUE(savePreset(particleFileSection(path), path, window));
    const QByteArray before = fileBytes(path);
    window.recs.particles[0].Size = 77;
    const int saves = atomicSavesOfOneSave(path, window);
    ASSERT_GT(saves, 1);
    // The last atomic save is the one that replaces the file.
    EXPECT_EXIT(
        {
            const platform::ScopedSaveFault crash(platform::SaveFault::Crash, saves - 1);
            savePreset(particleFileSection(path), path, window);
        },
        ::testing::ExitedWithCode(platform::kSaveCrashExitCode), "");
    EXPECT_EQ(fileBytes(path), before);
    FakeWindow reloaded;
    loadPreset(particleFileSection(path), path, reloaded);
    EXPECT_EQ(reloaded.recs.particles[0].Size, FakeWindow().recs.particles[0].Size);
    EXPECT_TRUE(reloaded.logLines.isEmpty()) << reloaded.logLines.join("\n").toStdString();
}

TEST_F(PresetTest, SavePathsSectionsAndNames)
{
    EXPECT_EQ(particleFileSavePath("/fx/a.PKL"), "/fx/a.PKL.pkl");
    EXPECT_EQ(particleFileSavePath("/fx/a.pkl"), "/fx/a.pkl");
    EXPECT_EQ(particleFileSavePath("/fx.d/a"), "/fx.d/a.pkl");
    EXPECT_EQ(particleFileSection("/fx/fire.pkl"), "fire.pkl");
    EXPECT_TRUE(presetNameProblem("Fire").isEmpty());
    EXPECT_TRUE(presetNameProblem("Big Fire").isEmpty());
    for (const char* bad : {"a]b", "a=b", "a\nb", "a\rb", "   ", ""})
        EXPECT_FALSE(presetNameProblem(QString::fromLatin1(bad)).isEmpty()) << bad;
}

TEST_F(PresetTest, ASaveThatCannotReachTheFileSaysSo)
{
    EXPECT_FALSE(savePreset("X", dir.path(), window));   // a folder, not a file
    const QString message = saveFailedMessage("/x/y.pkl");
    EXPECT_TRUE(message.contains("/x/y.pkl"));
    ASSERT_TRUE(savePreset("Y", store(), window));
    EXPECT_EQ(presetNames(store()), QStringList{"Y"});
}

} // namespace
} // namespace emberly
