#include "platform/Registry.h"
#include "platform/SaveFaults.h"
#include "platform/Profile.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

using namespace platform;

namespace {

class RegistryTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        previous_ = qgetenv("KORLITH3D_REGISTRY_DIR");
        qputenv("KORLITH3D_REGISTRY_DIR", dir_.filePath("registry").toUtf8());
    }
    void TearDown() override { qputenv("KORLITH3D_REGISTRY_DIR", previous_); }

    QByteArray hiveBytes(Hive hive) const
    {
        QFile f(hiveFile(hive));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

    QTemporaryDir dir_;
    QByteArray previous_;
};

const QString emberly = QStringLiteral("Software\\Korlith3D\\Emberly");

} // namespace

TEST_F(RegistryTest, LivesInTheOverriddenFolder)
{
    EXPECT_EQ(registryFolder(), dir_.filePath("registry"));
    EXPECT_EQ(hiveFile(Hive::CurrentUser), dir_.filePath("registry/HKEY_CURRENT_USER.ini"));
    EXPECT_EQ(hiveFromName("hklm"), Hive::LocalMachine);
    EXPECT_EQ(hiveFromName("HKEY_CURRENT_USER"), Hive::CurrentUser);
    EXPECT_FALSE(hiveFromName("HKEY_USERS"));
}

TEST_F(RegistryTest, StringAndDwordValuesRoundTrip)
{
    EXPECT_FALSE(readRegistryString(Hive::CurrentUser, emberly, "ShowIntro"));
    EXPECT_FALSE(QFile::exists(hiveFile(Hive::CurrentUser)));   // reads create nothing

    ASSERT_TRUE(writeRegistryString(Hive::CurrentUser, emberly, "ShowIntro", "1"));
    ASSERT_TRUE(writeRegistryString(Hive::CurrentUser, emberly, "AutoRotate", "0"));
    ASSERT_TRUE(writeRegistryDword(Hive::CurrentUser, emberly, "Count", 0xDEADBEEF));
    EXPECT_EQ(readRegistryString(Hive::CurrentUser, "SOFTWARE\\korlith3d\\EMBERLY", "showintro"), "1");
    EXPECT_EQ(readRegistryDword(Hive::CurrentUser, emberly, "Count"), 0xDEADBEEFu);
    EXPECT_FALSE(readRegistryString(Hive::CurrentUser, emberly, "Count"));   // other type
    EXPECT_FALSE(readRegistryString(Hive::LocalMachine, emberly, "ShowIntro"));

    // Awkward names and texts survive.
    const QString odd = " =[x];%@\r\n\t ";
    ASSERT_TRUE(writeRegistryString(Hive::CurrentUser, emberly, odd, odd));
    ASSERT_TRUE(writeRegistryString(Hive::CurrentUser, "Software\\Classes\\Korlith3D.KLEngine\\InprocServer32",
                                    "", "/opt/lib/libkorlith3d.so"));
    EXPECT_EQ(readRegistryString(Hive::CurrentUser, emberly, odd), odd);
    EXPECT_EQ(readRegistryString(Hive::CurrentUser, "software\\classes\\korlith3d.klengine\\inprocserver32", ""),
              "/opt/lib/libkorlith3d.so");

    ASSERT_TRUE(writeRegistryString(Hive::CurrentUser, emberly, "showintro", "0"));
    EXPECT_EQ(readRegistryString(Hive::CurrentUser, emberly, "ShowIntro"), "0");
    EXPECT_TRUE(hiveBytes(Hive::CurrentUser).contains("ShowIntro=sz:0\r\n"));
}

TEST_F(RegistryTest, AKeyNameStartingWithAByteOrderMarkIsAKeyOfItsOwn)
{
    // U+FEFF right after the bracket belongs to the name: the key is not
    // Software\Fuzz, and a value written there reads back from there.
    ASSERT_TRUE(QDir().mkpath(registryFolder()));
    QFile hive(hiveFile(Hive::CurrentUser));
    ASSERT_TRUE(hive.open(QIODevice::WriteOnly));
    hive.write("[\xEF\xBB\xBFSoftware\\Fuzz]\r\nOld=dword:00000001\r\n");
    hive.close();
    EXPECT_FALSE(readRegistryDword(Hive::CurrentUser, "Software\\Fuzz", "Old"));
    EXPECT_EQ(readRegistryDword(Hive::CurrentUser, QChar(0xFEFF) + QStringLiteral("Software\\Fuzz"), "Old"), 1u);
    ASSERT_TRUE(writeRegistryDword(Hive::CurrentUser, "Software\\Fuzz", "Count", 0x12345678u));
    EXPECT_EQ(readRegistryDword(Hive::CurrentUser, "Software\\Fuzz", "Count"), 0x12345678u);
    EXPECT_EQ(readRegistryDword(Hive::CurrentUser, QChar(0xFEFF) + QStringLiteral("Software\\Fuzz"), "Old"), 1u);
}

TEST_F(RegistryTest, AKeyWrittenOtherwiseInTheFileIsEditedWhereItStands)
{
    // A doubled backslash and an escaped letter name the same key as
    // Software\Fuzz: values go into that section, none is added.
    for (const QByteArray& header : {QByteArray("[Software\\\\Fuzz]"), QByteArray("[Software\\%46uzz]")}) {
        ASSERT_TRUE(QDir().mkpath(registryFolder()));
        QFile hive(hiveFile(Hive::CurrentUser));
        ASSERT_TRUE(hive.open(QIODevice::WriteOnly | QIODevice::Truncate));
        hive.write(header + "\r\nOld=dword:00000001\r\n");
        hive.close();
        ASSERT_TRUE(writeRegistryDword(Hive::CurrentUser, "Software\\Fuzz", "Count", 0x12345678u));
        EXPECT_EQ(readRegistryDword(Hive::CurrentUser, "Software\\Fuzz", "Count"), 0x12345678u) << header.data();
        EXPECT_EQ(hiveBytes(Hive::CurrentUser), header + "\r\nOld=dword:00000001\r\nCount=dword:12345678\r\n");
        ASSERT_TRUE(deleteRegistryValue(Hive::CurrentUser, "Software\\Fuzz", "Old"));
        EXPECT_FALSE(readRegistryDword(Hive::CurrentUser, "Software\\Fuzz", "Old"));
    }
}

TEST_F(RegistryTest, DeleteValuesAndKeys)
{
    ASSERT_TRUE(writeRegistryString(Hive::CurrentUser, "Software\\Classes\\A.B\\InprocServer32", "", "x"));
    ASSERT_TRUE(writeRegistryString(Hive::CurrentUser, "Software\\Classes\\A.B", "", "A class"));
    ASSERT_TRUE(writeRegistryString(Hive::CurrentUser, "Software\\Classes\\C.D", "", "other"));
    EXPECT_EQ(registrySubkeys(Hive::CurrentUser, "software\\classes"), (QStringList{"A.B", "C.D"}));
    EXPECT_TRUE(registryKeyExists(Hive::CurrentUser, "Software\\Classes"));

    EXPECT_TRUE(deleteRegistryValue(Hive::CurrentUser, "Software\\Classes\\C.D", "missing"));
    EXPECT_TRUE(deleteRegistryValue(Hive::CurrentUser, "Software\\Classes\\C.D", ""));
    EXPECT_FALSE(readRegistryString(Hive::CurrentUser, "Software\\Classes\\C.D", ""));

    EXPECT_TRUE(deleteRegistryKey(Hive::CurrentUser, "software\\classes\\a.b"));
    EXPECT_FALSE(registryKeyExists(Hive::CurrentUser, "Software\\Classes\\A.B\\InprocServer32"));
    EXPECT_TRUE(registryKeyExists(Hive::CurrentUser, "Software\\Classes\\C.D"));
    EXPECT_TRUE(deleteRegistryKey(Hive::CurrentUser, "Software\\Nothing"));
}

TEST_F(RegistryTest, WritesKeepEveryOtherLine)
{
    ASSERT_TRUE(QDir().mkpath(registryFolder()));
    {
        QFile f(hiveFile(Hive::CurrentUser));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("; written by hand\n[Software\\Korlith3D\\Emberly]\nShowIntro=sz:1\n\n; tools\n[Software\\Other]\nx=dword:00000001\n");
    }
    ASSERT_TRUE(writeRegistryString(Hive::CurrentUser, "software\\korlith3d\\emberly", "AutoRotate", "1"));
    ASSERT_TRUE(deleteRegistryValue(Hive::CurrentUser, "Software\\Other", "X"));
    EXPECT_EQ(hiveBytes(Hive::CurrentUser).toStdString(),
              "; written by hand\n[Software\\Korlith3D\\Emberly]\nShowIntro=sz:1\n\n; tools\nAutoRotate=sz:1\r\n"
              "[Software\\Other]\n");
}

TEST_F(RegistryTest, DamagedFileReadsAsMissingAndIsNeverReplaced)
{
    ASSERT_TRUE(QDir().mkpath(registryFolder()));
    const QList<QByteArray> damagedFiles{
        "[Software\\Korlith3D\\Emberly]\r\nShowIntro=sz:1\r\nthis line is not a value\r\n",
        "[Software\\Korlith3D\\Emberly]\r\nCount=dword:xyz\r\n",
        "ShowIntro=sz:1\r\n",
        QByteArray("\x00\xFF\xFE garbage", 12),
    };
    for (const QByteArray& damaged : damagedFiles) {
        QFile f(hiveFile(Hive::CurrentUser));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(damaged);
        f.close();
        EXPECT_FALSE(readRegistryString(Hive::CurrentUser, emberly, "ShowIntro"));
        EXPECT_FALSE(writeRegistryString(Hive::CurrentUser, emberly, "ShowIntro", "0"));
        EXPECT_FALSE(deleteRegistryValue(Hive::CurrentUser, emberly, "ShowIntro"));
        EXPECT_FALSE(deleteRegistryKey(Hive::CurrentUser, emberly));
        EXPECT_EQ(hiveBytes(Hive::CurrentUser), damaged);
    }
    // The other hive is unaffected.
    EXPECT_TRUE(writeRegistryString(Hive::LocalMachine, "SOFTWARE\\Microsoft\\DirectX", "Version", "4.08.01.0810"));
}

TEST_F(RegistryTest, AFailedStoreSaveKeepsTheStoreAndReportsTheWrite)
{
    ASSERT_TRUE(writeRegistryString(Hive::CurrentUser, emberly, "Path", "/old"));
    const QByteArray before = hiveBytes(Hive::CurrentUser);
    for (const SaveFault fault : {SaveFault::Write, SaveFault::Flush, SaveFault::Rename}) {
        const ScopedSaveFault injected(fault);
        EXPECT_FALSE(writeRegistryString(Hive::CurrentUser, emberly, "Path", "/new")) << int(fault);
        EXPECT_FALSE(writeRegistryDword(Hive::CurrentUser, emberly, "Count", 7)) << int(fault);
        EXPECT_FALSE(deleteRegistryKey(Hive::CurrentUser, emberly)) << int(fault);
        EXPECT_EQ(hiveBytes(Hive::CurrentUser), before) << int(fault);
    }
    EXPECT_EQ(readRegistryString(Hive::CurrentUser, emberly, "Path"), "/old");
}

TEST_F(RegistryTest, DirectXVersionPrefersTheStoredValue)
{
    ASSERT_TRUE(writeRegistryString(Hive::LocalMachine, "SOFTWARE\\Microsoft\\DirectX", "Version", "4.08.01.0810"));
    EXPECT_EQ(directXVersion(), "4.08.01.0810");
    ASSERT_TRUE(deleteRegistryValue(Hive::LocalMachine, "SOFTWARE\\Microsoft\\DirectX", "Version"));
    // Without the value the answer comes from an OpenGL 3.3 core probe; the
    // test display (Mesa llvmpipe) provides one.
    const auto version = directXVersion();
    const auto adapter = adapterDescription();
    EXPECT_EQ(version.has_value(), adapter.has_value());
    if (version) {
        EXPECT_EQ(*version, "4.09.00.0904");
        EXPECT_FALSE(adapter->isEmpty());
    }
}

TEST_F(RegistryTest, AStoreWithALineBeyondTheProfileLimitIsDamagedAndKept)
{
    ASSERT_TRUE(writeRegistryString(Hive::CurrentUser, emberly, "Path", "/opt"));
    QFile f(hiveFile(Hive::CurrentUser));
    ASSERT_TRUE(f.open(QIODevice::Append));
    f.write("Long=sz:" + QByteArray(MaxProfileLineLength, 'x') + "\r\n");
    f.close();
    const QByteArray before = hiveBytes(Hive::CurrentUser);

    EXPECT_FALSE(readRegistryString(Hive::CurrentUser, emberly, "Path").has_value());
    EXPECT_FALSE(writeRegistryDword(Hive::CurrentUser, emberly, "Count", 1));
    EXPECT_EQ(hiveBytes(Hive::CurrentUser), before);
}
