// The engine library as a component: registration through the regsvr32
// helper, the class factory, the members answered by name; the utility
// library's export; the attrib helper.
#include "helpers/AttributeChange.h"
#include "helpers/SelfRegistration.h"
#include "support/TempRegistry.h"

#include <platform/Component.h>
#include <platform/FileSystem.h>
#include <platform/RuntimeError.h>

#include <QFile>
#include <QFileInfo>
#include <QLibrary>
#include <QProcess>
#include <QTemporaryDir>
#include "support/QtPrinters.h"

#include <gtest/gtest.h>

namespace stewardex {
namespace {

using testing::TempRegistry;

const QString EngineProgId = QStringLiteral("Korlith3D.KLEngine");
const QString EnginePath = QFileInfo(QStringLiteral(KL_ENGINE_LIBRARY)).absoluteFilePath();

int runHelper(const QString& program, const QStringList& arguments, QByteArray* output = nullptr)
{
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(60000))
        return -1;
    if (output)
        *output = process.readAllStandardOutput() + process.readAllStandardError();
    return process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -2;
}

int createError(const QString& progId)
{
    try {
        platform::createObject(progId);
    } catch (const platform::RuntimeError& error) {
        return error.number;
    }
    return 0;
}

TEST(EngineRegistration, Regsvr32WritesAndRemovesTheLibrarysOwnPath)
{
    TempRegistry registry;
    EXPECT_EQ(createError(EngineProgId), platform::err::CantCreateObject);

    ASSERT_EQ(runHelper(QStringLiteral(KL_REGSVR32), {"/s", EnginePath}), 0);
    EXPECT_EQ(platform::registeredLibrary(EngineProgId), EnginePath);

    platform::DispatchObject engine = platform::createObject(EngineProgId);
    EXPECT_EQ(engine.invoke("GetDLLPath").toString(), EnginePath);
    EXPECT_EQ(engine.invoke("getdllpath").toString(), EnginePath) << "members match without regard to case";

    ASSERT_EQ(runHelper(QStringLiteral(KL_REGSVR32), {"/u", "/s", EnginePath}), 0);
    EXPECT_TRUE(platform::registeredLibrary(EngineProgId).isEmpty());
    EXPECT_EQ(createError(EngineProgId), platform::err::CantCreateObject);
}

TEST(EngineRegistration, Regsvr32ReportsFailuresByExitStatusAndMessage)
{
    TempRegistry registry;
    EXPECT_EQ(runHelper(QStringLiteral(KL_REGSVR32), {"/s", "/no/such/libkorlith3d.so"}), 3);
    EXPECT_EQ(runHelper(QStringLiteral(KL_REGSVR32), {"/s", QStringLiteral(KL_NOVERSION_LIBRARY)}), 4);
    EXPECT_EQ(runHelper(QStringLiteral(KL_REGSVR32), {"/s", "a.so", "b.so"}), 1);
    EXPECT_TRUE(platform::registeredLibrary(EngineProgId).isEmpty());

    using helpers::RegistrationStatus;
    const auto missing = helpers::runSelfRegistration({false, true, "/no/such/lib.so"});
    EXPECT_EQ(missing.status, RegistrationStatus::LoadFailed);
    EXPECT_EQ(missing.message,
              "LoadLibrary(\"/no/such/lib.so\") failed - The specified module could not be found.");
    const QString noEntry = QFileInfo(QStringLiteral(KL_NOVERSION_LIBRARY)).absoluteFilePath();
    const auto withoutEntry = helpers::runSelfRegistration({true, true, noEntry});
    EXPECT_EQ(withoutEntry.status, RegistrationStatus::EntryPointMissing);
    EXPECT_EQ(withoutEntry.message, noEntry + " was loaded, but the DllUnregisterServer entry point was not "
                                              "found.\n\nThis file can not be unregistered.");
    const auto registered = helpers::runSelfRegistration({false, true, EnginePath});
    EXPECT_EQ(registered.status, RegistrationStatus::Succeeded);
    EXPECT_EQ(registered.message, "DllRegisterServer in " + EnginePath + " succeeded.");
    EXPECT_EQ(platform::registeredLibrary(EngineProgId), EnginePath);
}

TEST(EngineRegistration, ArgumentsTakeSwitchesInAnyOrderAndOneLibrary)
{
    const auto plain = helpers::parseRegistrationArguments({"C:\\x\\libkorlith3d.so"});
    ASSERT_TRUE(plain);
    EXPECT_FALSE(plain->unregister);
    EXPECT_FALSE(plain->silent);
    EXPECT_EQ(plain->library, "C:\\x\\libkorlith3d.so");
    const auto both = helpers::parseRegistrationArguments({"lib.so", "-S", "/U"});
    ASSERT_TRUE(both);
    EXPECT_TRUE(both->unregister && both->silent);
    EXPECT_FALSE(helpers::parseRegistrationArguments({}));
    EXPECT_FALSE(helpers::parseRegistrationArguments({"/u"}));
    EXPECT_FALSE(helpers::parseRegistrationArguments({"a.so", "b.so"}));
}

TEST(EngineDispatch, AnswersItsMembersAndRefusesOthersWith438)
{
    TempRegistry registry;
    ASSERT_TRUE(platform::registerComponent(EngineProgId, EnginePath));
    platform::DispatchObject engine = platform::createObject(EngineProgId);

    EXPECT_FALSE(engine.get("DisplayFPS").toBool());
    engine.set("DisplayFPS", true);
    EXPECT_TRUE(engine.get("DisplayFPS").toBool());
    engine.invoke("DisplayFPS", {false});
    EXPECT_FALSE(engine.get("displayfps").toBool());

    QTemporaryDir folder;
    const QString log = folder.filePath("debug.txt");
    engine.invoke("SetDebugFile", {log});
    EXPECT_TRUE(QFileInfo::exists(log)) << "the engine opens its log at once";

    const auto errorOf = [&engine](const QString& member, const QVariantList& arguments) {
        try {
            engine.invoke(member, arguments);
        } catch (const platform::RuntimeError& error) {
            return error.number;
        }
        return 0;
    };
    EXPECT_EQ(errorOf("LoadTexture", {}), platform::err::NoSuchMember);
    EXPECT_EQ(errorOf("GetDLLPath", {1}), 450);
    EXPECT_EQ(errorOf("Init3DWindowedMode", {}), 450);
    EXPECT_EQ(errorOf("Init3DWindowedMode", {"not a window"}), platform::err::TypeMismatch);
    // A window id that names no widget: the engine says no, it does not fail.
    EXPECT_EQ(errorOf("Init3DWindowedMode", {0x7fffffff}), 0);
    EXPECT_FALSE(engine.invoke("Init3DWindowedMode", {0x7fffffff}).toBool());
}

TEST(EngineDispatch, FactoryServesOnlyTheEngineClass)
{
    QLibrary library(EnginePath);
    ASSERT_TRUE(library.load());
    const auto factory = reinterpret_cast<platform::ClassFactoryFunction>(library.resolve("DllGetClassObject"));
    ASSERT_NE(factory, nullptr);
    EXPECT_EQ(factory("Korlith3D.KLScene"), nullptr);
    EXPECT_EQ(factory(nullptr), nullptr);
    std::unique_ptr<platform::ComponentObject> object(factory("korlith3d.klengine"));
    ASSERT_NE(object, nullptr);
    EXPECT_EQ(object->invoke("GetDLLPath", {}, platform::ComponentObject::CallKind::Method).toString(), EnginePath);
}

TEST(UtilityLibrary, GetPathDLLWritesItsOwnPathIntoTheCallersBuffer)
{
    const QString path = QFileInfo(QStringLiteral(KL_UTILITY_LIBRARY)).absoluteFilePath();
    QLibrary library(path);
    ASSERT_TRUE(library.load());
    using GetPath = int (*)(char*);
    const auto getPath = reinterpret_cast<GetPath>(library.resolve("GetPathDLL"));
    ASSERT_NE(getPath, nullptr);
    QByteArray buffer(255, '\0');
    const int length = getPath(buffer.data());
    EXPECT_EQ(QString::fromUtf8(buffer.constData()), path);
    EXPECT_EQ(length, path.toUtf8().size());
    EXPECT_EQ(buffer.at(length), '\0');
}

TEST(AttribHelper, RemovesAndSetsWriteProtection)
{
    QTemporaryDir folder;
    const QString file = folder.filePath("libkorlith3d.so");
    {
        QFile out(file);
        ASSERT_TRUE(out.open(QIODevice::WriteOnly));
        out.write("x");
    }
    ASSERT_TRUE(platform::setReadOnly(file));
    ASSERT_TRUE(platform::isReadOnly(file));
    EXPECT_EQ(runHelper(QStringLiteral(KL_ATTRIB), {file, "-r"}), 0);
    EXPECT_FALSE(platform::isReadOnly(file));
    EXPECT_EQ(runHelper(QStringLiteral(KL_ATTRIB), {"+R", file}), 0);
    EXPECT_TRUE(platform::isReadOnly(file));

    QByteArray output;
    EXPECT_EQ(runHelper(QStringLiteral(KL_ATTRIB), {folder.filePath("missing.so"), "-r"}, &output), 1);
    EXPECT_TRUE(output.startsWith("File not found - ")) << output.constData();

    EXPECT_EQ(helpers::changeAttributes({file}).output, "R     " + file);
    EXPECT_EQ(helpers::changeAttributes({file, "-h"}).exitCode, 0) << "no hidden attribute: nothing changes";
    EXPECT_TRUE(platform::isReadOnly(file));
    EXPECT_EQ(helpers::changeAttributes({file, file}).exitCode, 1);
    EXPECT_EQ(helpers::changeAttributes({"-r"}).output, "Required parameter missing");
}

} // namespace
} // namespace stewardex
