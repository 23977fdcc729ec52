#include "platform/Interaction.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QTemporaryDir>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

#include <memory>

using namespace platform;

TEST(Interaction, VbFiltersBecomeQtNameFilters)
{
    EXPECT_EQ(qtNameFilters("JPG|*.jpg|BMP|*.bmp"), (QStringList{"JPG (*.jpg)", "BMP (*.bmp)"}));
    EXPECT_EQ(qtNameFilters("Images (*.bmp;*.jpg)|*.bmp;*.jpg|All files|*.*"),
              (QStringList{"Images (*.bmp *.jpg)", "All files (*.*)"}));
    EXPECT_EQ(qtNameFilters("|*.x"), QStringList{"*.x"});
    EXPECT_TRUE(qtNameFilters("").isEmpty());
    EXPECT_TRUE(qtNameFilters("dangling").isEmpty());
}

TEST(Interaction, ButtonSetsGiveVbAnswers)
{
    EXPECT_EQ(msgBoxAnswers(vbOKOnly | vbInformation), std::vector<int>{vbOK});
    EXPECT_EQ(msgBoxAnswers(vbYesNoCancel | vbQuestion), (std::vector<int>{vbYes, vbNo, vbCancel}));
    EXPECT_EQ(msgBoxAnswers(vbAbortRetryIgnore), (std::vector<int>{vbAbort, vbRetry, vbIgnore}));
    EXPECT_EQ(msgBoxAnswers(vbRetryCancel | vbCritical), (std::vector<int>{vbRetry, vbCancel}));
    EXPECT_EQ(vbOK, 1);
    EXPECT_EQ(vbNo, 7);
}

TEST(ScriptedInteraction, AnswersFromItsQueueAndRecordsCalls)
{
    auto script = std::make_shared<ScriptedInteraction>();
    const ScopedInteraction scoped(script);
    script->expectOpenFile(QString("/tmp/a.bmp"), 2);
    script->expectSaveFile(std::nullopt);
    script->expectColor(QColor(10, 20, 30));
    script->expectMsgBox(vbNo, "Save changes");
    script->expectInputBox(QString("Fire"), "preset");

    FileDialogRequest request{"Open texture", "JPG|*.jpg|BMP|*.bmp", 1, "/tmp", ""};
    const auto opened = interaction().openFile(request);
    ASSERT_TRUE(opened);
    EXPECT_EQ(opened->path, "/tmp/a.bmp");
    EXPECT_EQ(opened->filterIndex, 2);
    EXPECT_FALSE(interaction().saveFile(request));
    EXPECT_EQ(interaction().chooseColor(Qt::white, "Colour"), QColor(10, 20, 30));
    EXPECT_EQ(msgBox("Save changes?", vbYesNo | vbQuestion), vbNo);
    EXPECT_EQ(inputBox("Name of the preset:"), "Fire");

    EXPECT_EQ(script->pending(), 0u);
    EXPECT_TRUE(script->failures().isEmpty());
    ASSERT_EQ(script->calls().size(), 5u);
    EXPECT_EQ(script->calls()[0].file.filter, "JPG|*.jpg|BMP|*.bmp");
    EXPECT_EQ(script->calls()[3].style, vbYesNo | vbQuestion);
    EXPECT_EQ(script->calls()[3].title, QCoreApplication::applicationName());
}

TEST(ScriptedInteraction, UnexpectedDialogsFail)
{
    QStringList reported;
    auto script = std::make_shared<ScriptedInteraction>();
    script->setFailureHandler([&](const QString& m) { reported.append(m); });
    const ScopedInteraction scoped(script);

    EXPECT_EQ(msgBox("Surprise", vbYesNoCancel), vbCancel);   // nothing expected
    script->expectOpenFile(QString("/x"));
    EXPECT_FALSE(interaction().saveFile({}));                  // wrong kind
    script->expectMsgBox(vbYes, "Delete");
    EXPECT_EQ(msgBox("Keep it?", vbYesNo), vbNo);             // wrong text
    script->expectMsgBox(vbYes);
    EXPECT_EQ(msgBox("OK only"), vbOK);                       // answer the box cannot give
    EXPECT_EQ(reported.size(), 4);
    EXPECT_EQ(script->failures(), reported);
    EXPECT_TRUE(reported[0].contains("Surprise"));
}

TEST(ScriptedInteraction, ThrowsWithoutAFailureHandlerAndReportsLeftovers)
{
    const auto savedDefault = [] {
        ScriptedInteraction::setDefaultFailureHandler({});
    };
    savedDefault();
    {
        ScriptedInteraction script;
        EXPECT_THROW(script.msgBox("x", vbOKOnly, "t"), UnexpectedInteraction);
    }
    QStringList reported;
    {
        ScriptedInteraction script;
        script.setFailureHandler([&](const QString& m) { reported.append(m); });
        script.expectColor(std::nullopt);
    }
    ASSERT_EQ(reported.size(), 1);
    EXPECT_TRUE(reported[0].contains("never shown"));
    ScriptedInteraction::setDefaultFailureHandler([](const QString& m) {
        ADD_FAILURE() << "dialog: " << m.toStdString();
    });
}

TEST(QtInteraction, MessageBoxReturnsTheClickedVbAnswer)
{
    QtInteraction qt;
    int shown = 0;
    // Click "No" in the box once it is up.
    QTimer::singleShot(0, [&] {
        for (QWidget* w : QApplication::topLevelWidgets()) {
            if (auto* box = qobject_cast<QMessageBox*>(w)) {
                ++shown;
                EXPECT_EQ(box->text(), "Overwrite?");
                EXPECT_EQ(box->icon(), QMessageBox::Question);
                box->button(QMessageBox::No)->click();
            }
        }
    });
    EXPECT_EQ(qt.msgBox("Overwrite?", vbYesNoCancel | vbQuestion, "Glazery"), vbNo);
    EXPECT_EQ(shown, 1);

    QTimer::singleShot(0, [&] {
        for (QWidget* w : QApplication::topLevelWidgets())
            if (auto* box = qobject_cast<QMessageBox*>(w))
                box->reject();   // Escape / window close
    });
    EXPECT_EQ(qt.msgBox("Go on?", vbOKCancel, "Glazery"), vbCancel);
}

TEST(QtInteraction, OpenDialogTakesVbFiltersAndReportsTheChoice)
{
    QTemporaryDir dir;
    QFile(dir.filePath("stone.bmp")).open(QIODevice::WriteOnly);
    QtInteraction qt;
    QStringList shownFilters;
    QString shownFolder;
    const auto answer = [&](bool accept) {
        QTimer::singleShot(0, [&, accept] {
            for (QWidget* w : QApplication::topLevelWidgets()) {
                auto* dialog = qobject_cast<QFileDialog*>(w);
                if (!dialog || !dialog->isVisible())
                    continue;
                shownFilters = dialog->nameFilters();
                shownFolder = dialog->directory().absolutePath();
                if (!accept) {
                    dialog->reject();
                    continue;
                }
                dialog->selectNameFilter(shownFilters.value(1));
                dialog->selectFile(dir.filePath("stone.bmp"));
                static_cast<QDialog*>(dialog)->accept();
            }
        });
    };
    const FileDialogRequest request{"Load texture", "JPG|*.jpg|BMP|*.bmp", 1, dir.path(), ""};
    answer(true);
    const auto chosen = qt.openFile(request);
    EXPECT_EQ(shownFilters, (QStringList{"JPG (*.jpg)", "BMP (*.bmp)"}));
    EXPECT_EQ(shownFolder, QDir(dir.path()).absolutePath());
    ASSERT_TRUE(chosen);
    EXPECT_EQ(chosen->path, dir.filePath("stone.bmp"));
    EXPECT_EQ(chosen->filterIndex, 2);

    answer(false);
    EXPECT_FALSE(qt.openFile(request));
}
