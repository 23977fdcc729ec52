// Engine errors reach the VB-style error handling with their own numbers.
#include "toolkit/EngineStartup.h"

#include <korlith3d/KLEngine.h>
#include <korlith3d/KLTextureFactory.h>

#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>
#include <platform/RuntimeError.h>

namespace toolkit {
namespace {

class EngineErrors : public ::testing::Test {
protected:
    void SetUp() override
    {
        startLiveViewTool("Tool");
        ASSERT_TRUE(folder.isValid());
        QFile garbage(folder.filePath("garbage.jpg"));
        ASSERT_TRUE(garbage.open(QIODevice::WriteOnly));
        garbage.write("this is no picture");
    }
    QTemporaryDir folder;
};

TEST_F(EngineErrors, NumbersAndTextsArriveThroughAStepByStepStep)
{
    EXPECT_EQ(QCoreApplication::applicationName(), "Tool");
    platform::StepByStep steps;
    EXPECT_EQ(steps.step([] { throw KLError(53, "LoadTexture \"x.jpg\": no such file"); }), 53);
    EXPECT_EQ(steps.lastDescription(), "LoadTexture \"x.jpg\": no such file");
    EXPECT_EQ(steps.step([] { throw KLError(9, "unknown id 4"); }), 9);
    EXPECT_EQ(steps.step([] { throw KLError(321, "bad format"); }), 321);
    EXPECT_EQ(steps.lastDescription(), "bad format");
}

TEST_F(EngineErrors, FailingEngineCallsKeepTheirNumbersInACaughtAction)
{
    // Real engine calls, thrown inside the engine library.
    KLEngine engine;
    KLTextureFactory textures;
    std::vector<platform::RuntimeError> reported;
    const platform::ErrorReporter keep = [&](const platform::RuntimeError& e) { reported.push_back(e); };

    EXPECT_FALSE(platform::runCaught([&] { textures.LoadTexture(folder.filePath("missing.jpg"), "A"); }, keep));
    EXPECT_FALSE(platform::runCaught([&] { textures.LoadTexture(folder.filePath("garbage.jpg"), "B"); }, keep));
    EXPECT_FALSE(platform::runCaught([&] { textures.DeleteTexture(4711); }, keep));
    ASSERT_EQ(reported.size(), 3u);
    EXPECT_EQ(reported[0].number, 53);
    EXPECT_TRUE(reported[0].description.contains("missing.jpg"));
    EXPECT_EQ(reported[1].number, 321);
    EXPECT_EQ(reported[2].number, 9);
    EXPECT_TRUE(reported[2].description.contains("4711"));
}

TEST_F(EngineErrors, RegisteringTwiceTranslatesOnceAndLeavesOtherErrorsAlone)
{
    registerEngineErrors();
    const platform::RuntimeError engine = platform::toRuntimeError(std::make_exception_ptr(KLError(75, "locked")));
    EXPECT_EQ(engine.number, 75);
    EXPECT_EQ(engine.description, "locked");
    // Errors that are not the engine's keep the general rules.
    const platform::RuntimeError other =
        platform::toRuntimeError(std::make_exception_ptr(std::runtime_error("plain")));
    EXPECT_EQ(other.number, 5);
    EXPECT_EQ(other.description, "plain");
    EXPECT_EQ(platform::toRuntimeError(std::make_exception_ptr(platform::RuntimeError(6))).number, 6);
}

} // namespace
} // namespace toolkit
