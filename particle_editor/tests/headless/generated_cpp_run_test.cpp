// The exported C++ built into a small program against libkorlith3d.so and
// run without a display, for every velocity style and motion path: the
// particle system it sets up has the settings the editor's own factory gives
// the engine, and the first particle its NewParticle handler makes follows
// the editor's rules — the same values where no random draw is involved,
// within the editor's bounds where one is.
#include "core/CodeExport.h"
#include "core/clsParticleFactory.h"

#include "CompileCheck.h"

#include <korlith3d/KLEngine.h>
#include <korlith3d/KLParticleSystem.h>
#include <korlith3d/KLTextureFactory.h>

#include <gtest/gtest.h>

#include <QImage>
#include <QStringList>

#include <cmath>
#include <map>
#include <vector>

namespace emberly {
namespace {

constexpr float kUpdateMilliseconds = 250.0f;
const int kStyles[] = {0, 1, 2, 3, 7};
const int kMotions[] = {0, 1, 2, 3, 4, 5, 6, 9};

struct Variant {
    EmitterRecords records;
    ExportTexts texts;
};

EmitterRecords recordsFor(int style, int motion, bool randomColour)
{
    EmitterRecords records;
    ParticleSettings& p = records.particles[0];
    p.Size = 7;
    p.Color = {0.5f, 0.25f, 1.0f, 0.75f};
    p.ColorRnd = randomColour ? 1.0f : 0.0f;
    p.Life = 2.5f;
    p.Velocity = {1.0f, 2.0f, -0.5f};
    p.Speed = 0.05f;
    EmitterSettings& e = records.emitters[0];
    e.Position = {3.0f, 30.0f, -4.0f};
    // Without gravity a random velocity keeps its length through the update,
    // so the drawn velocities can be measured.
    e.Gravity = style == 1 || style == 2 ? 0 : 2;
    e.Bounce = 0.3f;
    e.Power = 1.5f;
    e.EmittorSpeed = 40.0f;
    e.Style = qint16(style);
    e.Motion = qint16(motion);
    e.Distance = {5.0f, 6.0f, 7.0f};
    e.MotionSpeed = 0.5f;
    return records;
}

std::vector<Variant> variants()
{
    std::vector<Variant> out;
    for (const int style : kStyles) {
        for (const int motion : kMotions) {
            Variant v;
            v.records = recordsFor(style, motion, out.size() % 2 == 1);
            // The export window's position boxes say where the user's program
            // puts the system: here where the editor has it. The export raises
            // the total to the live count + 100, in the records too.
            ExportNames names;
            names.posX = "3";
            names.posY = "30";
            names.posZ = "-4";
            v.texts = codeMake(kCodeCpp, names, v.records, {true, false, false}, [](int) { return 0; }, 1);
            out.push_back(v);
        }
    }
    return out;
}

// What both sides print or collect: "key v..." per variant.
using Report = kltest::HarnessReport;

const char* const kReportCode = R"(
void print(const char* key, std::initializer_list<float> values)
{
    std::printf("%s", key);
    for (const float v : values)
        std::printf(" %.9g", v);
    std::printf("\n");
}
void report(KLParticleSystem& system)
{
    print("total", {float(system.GetTotal())});
    print("size", {system.ParticleSize()});
    print("blend", {float(system.GetAlphaBlendingMode()), float(system.GetSourceBlend()),
                    float(system.GetDestinationBlend())});
    print("gravity", {system.GetGravity(), system.GetBounce()});
    print("generator", {system.GetGeneratorSpeed()});
    print("speed", {system.GetParticleSpeed()});
    print("texture", {float(system.GetTexture())});
    system.UpdateParticles(KL_UPDATE_GENERATOR, UPDATE_MS);
    print("count", {float(system.GetParticleCount())});
    if (system.GetParticleCount() > 0) {
        const KLParticle p = system.GetParticle(0);
        print("velocity", {p.Velocity.x, p.Velocity.y, p.Velocity.z});
        print("colour", {p.Color.r, p.Color.g, p.Color.b, p.Color.a});
        print("life", {p.LifeTime});
        print("particle.texture", {float(p.TextureIndex)});
    }
    const D3DVECTOR e = system.GetEmittorPosition();
    print("emitter", {e.x, e.y, e.z});
}
)";

QString harness(const std::vector<Variant>& all)
{
    QString source = QString(R"(#include <korlith3d/KLEngine.h>
#include <korlith3d/KLGlobals.h>
#include <korlith3d/KLMath.h>
#include <korlith3d/KLParticleSystem.h>
#include <korlith3d/KLTextureFactory.h>
#include <korlith3d/types.h>
#include <QGuiApplication>
#include <QImage>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <initializer_list>
#include <limits>
#define UPDATE_MS float(%1)
namespace {
)").arg(double(kUpdateMilliseconds));
    source += kReportCode;
    for (std::size_t i = 0; i < all.size(); ++i)
        source += QString("void variant%1(KLParticleSystem& My_Particle1)\n{\n%2\n%3\n}\n")
                      .arg(i)
                      .arg(all[i].texts.setup, all[i].texts.event);
    source += "} // namespace\nint main(int argc, char** argv)\n{\n    QGuiApplication app(argc, argv);\n"
              "    QImage texture(4, 4, QImage::Format_ARGB32);\n    texture.fill(Qt::white);\n";
    for (std::size_t i = 0; i < all.size(); ++i)
        source += QString("    {\n        KLEngine engine;\n        KLTextureFactory().CreateTextureFromImage(texture, "
                          "\"My_Texture1\");\n        KLParticleSystem system;\n        std::srand(%1);\n"
                          "        std::printf(\"variant %1\\n\");\n        variant%1(system);\n"
                          "        report(system);\n    }\n")
                      .arg(i);
    return source + "    return 0;\n}\n";
}

// The same report of the editor's own factory driving the engine with the
// same records (after the export changed them).
Report editorReport(const EmitterRecords& records)
{
    KLEngine engine;
    QImage picture(4, 4, QImage::Format_ARGB32);
    picture.fill(Qt::white);
    ParticleSettings particle = records.particles[0];
    particle.TextureID = KLTextureFactory().CreateTextureFromImage(picture, "My_Texture1");
    FactoryEnvironment environment;
    environment.createSystem = [] { return makeEngineParticleSystem(); };
    environment.alphaMode = [] { return 1; };
    environment.tickCount = [] { return 1000; };
    environment.createRandom = [] { return std::make_unique<ClockSeededRandom>(3u); };
    clsParticleFactory factory(environment);
    setupFactoryFrom(factory, particle, records.emitters[0]);
    KLParticleSystem& system = *engineSystemOf(*factory.Particle());
    Report r;
    r["total"] = {float(system.GetTotal())};
    r["size"] = {system.ParticleSize()};
    r["blend"] = {float(system.GetAlphaBlendingMode()), float(system.GetSourceBlend()),
                  float(system.GetDestinationBlend())};
    r["gravity"] = {system.GetGravity(), system.GetBounce()};
    r["generator"] = {system.GetGeneratorSpeed()};
    r["speed"] = {system.GetParticleSpeed()};
    r["texture"] = {float(system.GetTexture())};
    system.UpdateParticles(KL_UPDATE_GENERATOR, kUpdateMilliseconds);
    r["count"] = {float(system.GetParticleCount())};
    if (system.GetParticleCount() > 0) {
        const KLParticle p = system.GetParticle(0);
        r["velocity"] = {p.Velocity.x, p.Velocity.y, p.Velocity.z};
        r["colour"] = {p.Color.r, p.Color.g, p.Color.b, p.Color.a};
        r["life"] = {p.LifeTime};
        r["particle.texture"] = {float(p.TextureIndex)};
    }
    const D3DVECTOR e = system.GetEmittorPosition();
    r["emitter"] = {e.x, e.y, e.z};
    return r;
}

void expectNear(const std::vector<float>& got, const std::vector<float>& want, float tolerance)
{
    ASSERT_EQ(got.size(), want.size());
    for (std::size_t k = 0; k < got.size(); ++k)
        EXPECT_NEAR(got[k], want[k], tolerance) << "component " << k;
}

float length(const std::vector<float>& v)
{
    return std::sqrt(v[0] * v[0] + v[1] * v[1] + v[2] * v[2]);
}

// A random channel drawn as floor(n * Rnd) / 255: a whole number of 255ths below n / 255.
void expectDrawnChannel(float value, float n)
{
    EXPECT_GE(value, 0.0f);
    EXPECT_LT(value, n / 255.0f + 1e-6f);
    EXPECT_NEAR(value * 255.0f, std::round(value * 255.0f), 1e-3f);
}

} // namespace

TEST(GeneratedCppRun, TheProgramSetsUpTheEditorsSystemAndHandlerForEveryStyleAndMotion)
{
    const std::vector<Variant> all = variants();
    const kltest::HarnessRun run = kltest::runHarness(harness(all));
    ASSERT_TRUE(run.failure.isEmpty()) << run.failure.toStdString();
    const std::vector<Report>& reports = run.reports;
    ASSERT_EQ(reports.size(), all.size()) << run.output.toStdString();

    for (std::size_t i = 0; i < all.size(); ++i) {
        const EmitterSettings& e = all[i].records.emitters[0];
        const ParticleSettings& p = all[i].records.particles[0];
        SCOPED_TRACE(QString("style %1 motion %2 random colour %3").arg(e.Style).arg(e.Motion).arg(p.ColorRnd)
                         .toStdString());
        const Report& got = reports[i];
        const Report editor = editorReport(all[i].records);
        for (const char* key : {"total", "size", "blend", "gravity", "generator", "speed", "texture", "life",
                                "particle.texture"})
            EXPECT_EQ(got.at(key), editor.at(key)) << key;
        EXPECT_EQ(got.at("total"), std::vector<float>{100.0f});
        ASSERT_GT(got.at("count")[0], 0.0f);
        EXPECT_EQ(got.at("count"), editor.at("count"));

        // Velocity: the editor's for the fixed styles, of the editor's
        // length (the power, scaled by the same step) for the random ones.
        // The exported code, as the VB text, has no velocity rule for the
        // styles past 3: the particle keeps the engine's preset.
        const std::vector<float>& velocity = got.at("velocity");
        if (e.Style == 0 || (e.Style == 3 && (e.Motion == 0 || e.Motion == 9))) {
            expectNear(velocity, editor.at("velocity"), 1e-5f);
        } else if (e.Style <= 3) {
            EXPECT_NEAR(length(velocity), length(editor.at("velocity")), 1e-4f);
        }

        // Colour: the record's, or drawn channel by channel below (c·255 + 1) / 255.
        const std::vector<float>& colour = got.at("colour");
        if (p.ColorRnd == 0.0f) {
            EXPECT_EQ(colour, editor.at("colour"));
        } else {
            expectDrawnChannel(colour[0], p.Color.r * 255.0f + 1.0f);
            expectDrawnChannel(colour[1], p.Color.g * 255.0f + 1.0f);
            expectDrawnChannel(colour[2], p.Color.b * 255.0f + 1.0f);
            expectDrawnChannel(colour[3], 256.0f);
        }

        // Emitter: where the editor puts it for the fixed path and none, on
        // the path's box around the position otherwise.
        const std::vector<float>& emitter = got.at("emitter");
        if (e.Motion == 0 || e.Motion == 9) {
            EXPECT_EQ(emitter, editor.at("emitter"));
        } else {
            EXPECT_LE(std::abs(emitter[0] - e.Position.x), e.Distance.x + 1e-4f);
            EXPECT_LE(std::abs(emitter[1] - e.Position.y), e.Distance.y + 1e-4f);
            EXPECT_LE(std::abs(emitter[2] - e.Position.z), e.Distance.z + 1e-4f);
        }
    }
}

} // namespace emberly
