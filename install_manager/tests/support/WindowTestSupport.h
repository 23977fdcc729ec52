// Set-up shared by the window tests: a temporary registry store and program
// folder, scripted dialogs, and the built libraries and helpers at hand.
#pragma once

#include "support/QtPrinters.h"
#include "support/TempRegistry.h"

#include <platform/Interaction.h>

#include <QTemporaryDir>
#include <QWidget>
#include <gtest/gtest.h>

#include <memory>

namespace stewardex::testing {

class WindowTest : public ::testing::Test {
protected:
    WindowTest();
    ~WindowTest() override;

    // The program folder, <root>/Stewardex, and its root.
    QString programFolder() const { return programFolder_; }
    QString rootFolder() const { return root_.path(); }

    // The utility library in the program folder (a link to the built one).
    void provideUtilityLibrary();
    // Puts a built helper (regsvr32, attrib) into the program folder.
    void provideHelper(const QString& name);
    // A stand-in for a helper that writes its arguments, one per line, to
    // <program folder>/<name>.calls and ends.
    void provideRecordingHelper(const QString& name);
    QStringList recordedCalls(const QString& name, int waitMs = 5000) const;
    // regsvr32 /s on the built engine; true when it succeeded.
    bool registerBuiltEngine();
    void setDirectXVersion(const QString& value);

    static QString enginePath();
    static QString utilityPath();

    std::shared_ptr<platform::ScriptedInteraction> dialogs_ = std::make_shared<platform::ScriptedInteraction>();

private:
    TempRegistry registry_;
    QTemporaryDir root_;
    QString programFolder_;
    platform::ScopedInteraction scopedDialogs_{dialogs_};
};

template <class Widget>
Widget* child(const QWidget& window, const char* name)
{
    auto* found = window.findChild<Widget*>(QString::fromLatin1(name));
    EXPECT_NE(found, nullptr) << "no control " << name;
    return found;
}

void makeFile(const QString& path, const QByteArray& bytes = "x");

} // namespace stewardex::testing
