#include <gtest/gtest.h>
#include <QApplication>

TEST(GuiTestMain, ApplicationExists)
{
    EXPECT_NE(QApplication::instance(), nullptr);
}
