// A program that links only libkorlith3d.so, as a tool does: errors thrown
// inside the library reach its handlers by type and number.
#include <korlith3d/KLEngine.h>
#include <korlith3d/KLGlobals.h>
#include <korlith3d/KLScene.h>
#include <korlith3d/KLTextureFactory.h>

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <stdexcept>

namespace {

// The number of the KLError `call` throws, or 0 when it throws none or another type.
template <typename Call>
int klErrorNumberOf(Call call, QString* description = nullptr)
{
    try {
        call();
    } catch (const KLError& error) {
        if (description)
            *description = error.Description();
        return error.Number();
    } catch (...) {
        return -1;
    }
    return 0;
}

TEST(LibraryBoundary, KLErrorsThrownInsideTheLibraryAreCaughtByTypeWithTheirNumber)
{
    // Before any engine exists.
    EXPECT_EQ(klErrorNumberOf([] { KLScene scene; }), KLERR_NOT_INITIALISED);

    KLEngine engine;
    QTemporaryDir media;
    ASSERT_TRUE(media.isValid());
    engine.SetSearchFolder(media.path());

    QString description;
    EXPECT_EQ(klErrorNumberOf([] { KLGlobals().GetTex(QStringLiteral("Nowhere")); }, &description),
              KLERR_UNKNOWN_ID);
    EXPECT_TRUE(description.contains(QStringLiteral("Nowhere"))) << description.toStdString();

    KLTextureFactory textures;
    EXPECT_EQ(klErrorNumberOf([&] { textures.LoadTexture(QStringLiteral("missing.bmp"), QStringLiteral("M")); }),
              KLERR_FILE_NOT_FOUND);

    // Handlers written for the standard exception see the same error.
    try {
        textures.DeleteTexture(42);
        ADD_FAILURE() << "no error for an unknown texture";
    } catch (const std::runtime_error& error) {
        EXPECT_NE(dynamic_cast<const KLError*>(&error), nullptr);
        EXPECT_NE(std::string(error.what()).find("42"), std::string::npos) << error.what();
    }
}

TEST(LibraryBoundary, TheLibraryKnowsItsOwnFile)
{
    // A linked program loads the library by its SONAME.
    EXPECT_TRUE(KLEngine::GetDLLPath().endsWith(QStringLiteral("/libkorlith3d.so.1")))
        << KLEngine::GetDLLPath().toStdString();
}

} // namespace

#include <korlith3d/KLAtmosphere.h>
#include <korlith3d/KLParticleSystem.h>

namespace {

TEST(LibraryBoundary, AToolsHandlerRunsInsideTheLibrarysUpdateAndItsValuesComeBack)
{
    KLEngine engine;
    KLParticleSystem system;
    system.SetBillboardMode(1);
    system.CreateBillboardSystem(50, 0, 3.0f, {0, 30, 0}, 0, 0);
    system.SetGeneratorSpeed(20.0f);
    int calls = 0;
    system.SetNewParticleHandler([&](float& vx, float& vy, float& vz, float&, float& g, float&, float&, float& life,
                                     std::int32_t&) {
        ++calls;
        vx = 0.5f, vy = 0.0f, vz = 0.0f;
        g = 0.25f;
        life = 9.0f;
    });
    system.UpdateParticles(KL_UPDATE_BOUNCE_ON_Y0_PLANE | KL_UPDATE_GENERATOR, 500.0f);
    EXPECT_EQ(calls, 10);
    ASSERT_EQ(system.GetParticleCount(), 10);
    EXPECT_FLOAT_EQ(system.GetParticle(9).Color.g, 0.25f);
    EXPECT_FLOAT_EQ(system.GetParticle(9).LifeTime, 9.0f);
    EXPECT_EQ(klErrorNumberOf([&] { system.SetAlphaBlendingMode(7, 5, 2); }), KLERR_INVALID_CALL);
    EXPECT_EQ(klErrorNumberOf([] { KLAtmosphere().SetSkyBox(1, 2, 3, 4, 5, 6); }), KLERR_UNKNOWN_ID);
}

} // namespace
