#include "platform/Interaction.h"
#include "platform/RuntimeError.h"
#include "platform/TextFile.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QFile>
#include <QTemporaryDir>

#include <memory>
#include <stdexcept>

using namespace platform;

TEST(GuiTestMain, ApplicationExists)
{
    EXPECT_NE(QApplication::instance(), nullptr);
}

TEST(RuntimeError, CarriesVbNumberAndDescription)
{
    const RuntimeError overflow(6);
    EXPECT_EQ(overflow.number, 6);
    EXPECT_EQ(overflow.description, "Overflow");
    EXPECT_EQ(RuntimeError(53).description, "File not found");
    EXPECT_EQ(RuntimeError(75).description, "Path/File access error");
    EXPECT_EQ(RuntimeError(429).description, "ActiveX component can't create object");
    EXPECT_EQ(RuntimeError(438).description, "Object doesn't support this property or method");
    EXPECT_EQ(RuntimeError(1234, "mine").description, "mine");
    EXPECT_STREQ(RuntimeError(11).what(), "Run-time error 11: Division by zero");
}

TEST(StepByStep, SkipsFailingStepsAndKeepsTheNumber)
{
    StepByStep steps;
    int done = 0;
    EXPECT_EQ(steps.step([&] { ++done; }), 0);
    EXPECT_EQ(steps.step([] { throw RuntimeError(53); }), 53);
    EXPECT_EQ(steps.step([&] { ++done; }), 0);
    EXPECT_EQ(done, 2);
    EXPECT_EQ(steps.lastError(), 53);   // still set after a later good step
    EXPECT_EQ(steps.step([] { throw std::runtime_error("boom"); }), 5);
    EXPECT_EQ(steps.lastDescription(), "boom");
    steps.clear();
    EXPECT_EQ(steps.lastError(), 0);
}

TEST(RunCaught, StopsAtFirstErrorAndReportsIt)
{
    int reached = 0;
    QList<int> reported;
    const bool ok = runCaught(
        [&] {
            ++reached;
            throw RuntimeError(9);
            ++reached;
        },
        [&](const RuntimeError& e) { reported.append(e.number); });
    EXPECT_FALSE(ok);
    EXPECT_EQ(reached, 1);
    EXPECT_EQ(reported, QList<int>{9});
    EXPECT_TRUE(runCaught([] {}, [&](const RuntimeError&) { reported.append(-1); }));
    EXPECT_EQ(reported.size(), 1);
}

TEST(RunCaught, ReportersShowABoxOrWriteALogLine)
{
    auto script = std::make_shared<ScriptedInteraction>();
    const ScopedInteraction scoped(script);
    script->expectMsgBox(vbOK, "Type mismatch");
    runCaught([] { throw RuntimeError(13); }, messageBoxReporter("Glazery"));
    ASSERT_EQ(script->calls().size(), 1u);
    EXPECT_EQ(script->calls()[0].title, "Glazery");
    EXPECT_EQ(script->calls()[0].style & vbCritical, vbCritical);

    QTemporaryDir dir;
    const QString log = dir.filePath("debug.txt");
    const auto reporter = logLineReporter(log, [](const RuntimeError& e) {
        return QStringLiteral("Error : Load : #%1 : %2").arg(e.number).arg(e.description);
    });
    runCaught([] { throw RuntimeError(53); }, reporter);
    runCaught([] { throw RuntimeError(6); }, reporter);
    QFile file(log);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), "Error : Load : #53 : File not found\r\nError : Load : #6 : Overflow\r\n");
}

TEST(Uncaught, ShowsTheRunTimeErrorMessageAndEnds)
{
    struct Ended {
        int code;
    };
    auto script = std::make_shared<ScriptedInteraction>();
    const ScopedInteraction scoped(script);
    script->expectMsgBox(vbOK, "Run-time error '11':\n\nDivision by zero");
    setProgramEnd([](int code) { throw Ended{code}; });
    try {
        runUncaught([] { throw RuntimeError(11); });
        ADD_FAILURE() << "program did not end";
    } catch (const Ended& ended) {
        EXPECT_EQ(ended.code, 1);
    }
    setProgramEnd({});
}

TEST(ErrorTranslators, ForeignErrorTypesBecomeRuntimeErrors)
{
    struct EngineError {
        int code;
    };
    addErrorTranslator([](const std::exception_ptr& e) -> std::optional<RuntimeError> {
        try {
            std::rethrow_exception(e);
        } catch (const EngineError& engine) {
            return RuntimeError(engine.code, "engine");
        } catch (...) {
            return std::nullopt;
        }
    });
    StepByStep steps;
    EXPECT_EQ(steps.step([] { throw EngineError{430}; }), 430);
    EXPECT_EQ(steps.step([] { throw RuntimeError(9); }), 9);
}
