// Helpers shared by the engine's headless tests.
#pragma once

#include "korlith3d/KLEngine.h"

#include <QImage>
#include <QString>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>

namespace kltest {

// A fresh engine context per test, with a temporary media folder as search folder.
class EngineTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
    QString path(const QString& name) const { return dir.filePath(name); }
    void writeFile(const QString& name, const QByteArray& bytes) const;

    QTemporaryDir dir;
    std::unique_ptr<KLEngine> engine;
};

QImage testPattern(int width, int height);

// Writes a box mesh (corners min..max, one material) in the given Assimp
// export format ("x" or "3ds") and returns the file's bytes.
QByteArray exportBox(const char* formatId, float minX, float minY, float minZ, float maxX, float maxY, float maxZ);

// Expects `call` to throw KLError with that number and a description containing `mention`.
#define EXPECT_KLERROR(call, number, mention)                                                        \
    do {                                                                                            \
        try {                                                                                       \
            call;                                                                                   \
            ADD_FAILURE() << "no KLError from " #call;                                              \
        } catch (const KLError& error) {                                                            \
            EXPECT_EQ(error.Number(), number) << error.Description().toStdString();                 \
            EXPECT_TRUE(error.Description().contains(mention)) << error.Description().toStdString(); \
        }                                                                                           \
    } while (false)

} // namespace kltest
