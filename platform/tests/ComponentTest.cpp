#include "platform/Component.h"
#include "platform/Registry.h"
#include "platform/RuntimeError.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

using namespace platform;

namespace {

class ComponentTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        previous_ = qgetenv("KORLITH3D_REGISTRY_DIR");
        qputenv("KORLITH3D_REGISTRY_DIR", dir_.path().toUtf8());
    }
    void TearDown() override { qputenv("KORLITH3D_REGISTRY_DIR", previous_); }

    static int creationError(const QString& progId)
    {
        try {
            createObject(progId);
        } catch (const RuntimeError& e) {
            return e.number;
        }
        return 0;
    }

    QTemporaryDir dir_;
    QByteArray previous_;
};

} // namespace

TEST_F(ComponentTest, RegisteredObjectsAreCalledByName)
{
    ASSERT_TRUE(registerComponent("Test.Counter", KL_TEST_COMPONENT));
    EXPECT_EQ(registeredLibrary("test.counter"), KL_TEST_COMPONENT);
    EXPECT_EQ(readRegistryString(Hive::CurrentUser, "Software\\Classes\\Test.Counter\\InprocServer32", ""),
              KL_TEST_COMPONENT);

    DispatchObject counter = createObject("Test.Counter");
    EXPECT_EQ(counter.invoke("Add", {2, 3}).toInt(), 5);
    counter.set("Total", 40);
    EXPECT_EQ(counter.get("total").toInt(), 40);
    try {
        counter.invoke("GetDLLPath");
        FAIL() << "no error for a missing member";
    } catch (const RuntimeError& e) {
        EXPECT_EQ(e.number, 438);
    }
    try {
        counter.invoke("Fail");
        FAIL() << "no error from the object";
    } catch (const RuntimeError& e) {
        EXPECT_EQ(e.number, 53);
        EXPECT_EQ(e.description, "missing.bmp");
    }
}

TEST_F(ComponentTest, CreationFailuresGiveVbErrors)
{
    EXPECT_EQ(creationError("Test.Counter"), 429);   // not registered
    ASSERT_TRUE(registerComponent("Test.Counter", dir_.filePath("gone.so")));
    EXPECT_EQ(creationError("Test.Counter"), 429);   // library missing
    ASSERT_TRUE(registerComponent("Test.Other", KL_TEST_COMPONENT));
    EXPECT_EQ(creationError("Test.Other"), 429);     // library does not serve the class
    ASSERT_TRUE(registerComponent("Test.NoFactory", KL_TEST_NOFACTORY));
    EXPECT_EQ(creationError("Test.NoFactory"), 430);

    ASSERT_TRUE(unregisterComponent("Test.Other"));
    EXPECT_TRUE(registeredLibrary("Test.Other").isEmpty());
    EXPECT_FALSE(registerComponent("", KL_TEST_COMPONENT));
}
