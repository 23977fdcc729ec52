// The generated C++ built into a small program against libkorlith3d.so and
// run without a display: the material and the light it creates in the
// engine are the editor's — the colours as the code states them (box / 255,
// four decimals), and the light's type, position, direction and range those
// of the editor's own preview light.
#include "core/CodeGenerator.h"
#include "core/EditingRules.h"

#include "CompileCheck.h"

#include <gtest/gtest.h>

#include <QStringList>

#include <cmath>
#include <map>
#include <vector>

using namespace glazery;

namespace {

struct Variant {
    MaterialTexts material;
    LightTexts light;
    CodeNames names;
};

std::vector<Variant> variants()
{
    std::vector<Variant> out;
    for (const int row : {kDirectionalRow, kPointRow, kSpotRow}) {
        Variant v;
        v.material.ambient = {"255", "0", "7", "128"};
        v.material.diffuse = {"128", "64", "32", "255"};
        v.material.emissive = {"1", "2", "3", "4"};
        v.material.specular = {"200", "150", "100", "50"};
        v.material.power = "12.5";
        v.light.typeRow = row;
        v.light.position = {"10", "20.5", "-30"};
        v.light.direction = {"1", "-1", "0.25"};
        v.light.ambient = {"0", "51", "102"};
        v.light.diffuse = {"255", "255", "255"};
        v.light.specular = {"17", "34", "68"};
        v.light.range = "500";
        out.push_back(v);
    }
    // A name the C++ text must escape.
    out.back().names.material = "Say \"hi\" \\ there";
    return out;
}

QString cppString(const QString& text)
{
    QString out = "\"";
    for (const QChar c : text) {
        if (c == u'"' || c == u'\\')
            out += u'\\';
        out += c;
    }
    return out + "\"";
}

// The program: each variant's text in a function of its own, run in a fresh
// engine, then the material and light read back and printed as "key v...".
QString harness(const std::vector<Variant>& all)
{
    QString source = R"(#include <korlith3d/KLEngine.h>
#include <korlith3d/KLLightEngine.h>
#include <korlith3d/KLMaterialFactory.h>
#include <korlith3d/types.h>
#include <QGuiApplication>
#include <cstdio>
namespace {
void print(const char* key, const D3DCOLORVALUE& c) { std::printf("%s %.9g %.9g %.9g %.9g\n", key, c.r, c.g, c.b, c.a); }
void print(const char* key, const D3DVECTOR& v) { std::printf("%s %.9g %.9g %.9g\n", key, v.x, v.y, v.z); }
void print(const char* key, float f) { std::printf("%s %.9g\n", key, f); }
void report(const KLMaterialFactory& factory, const QString& material, const KLLightEngine& lights)
{
    const int id = factory.GetMaterialId(material);
    print("ambient", factory.GetAmbient(id));
    print("diffuse", factory.GetDiffuse(id));
    print("emissive", factory.GetEmissive(id));
    print("specular", factory.GetSpecular(id));
    print("power", factory.GetPower(id));
    std::printf("lights %d\n", lights.GetLightCount());
    const D3DLIGHT8 l = lights.GetLight(lights.GetLightIndex("name"));
    std::printf("type %d\n", int(l.Type));
    print("light.position", l.Position);
    print("light.direction", l.Direction);
    print("light.ambient", l.Ambient);
    print("light.diffuse", l.Diffuse);
    print("light.specular", l.Specular);
    print("light.range", l.Range);
    print("light.attenuation", D3DVECTOR{l.Attenuation0, l.Attenuation1, l.Attenuation2});
}
)";
    for (std::size_t i = 0; i < all.size(); ++i)
        source += QString("void variant%1(KLMaterialFactory& %2, KLLightEngine& %3)\n{\n    D3DLIGHT8 %4{};\n%5\n}\n")
                      .arg(i)
                      .arg(all[i].names.materialFactory, all[i].names.lightEngine, all[i].names.lightRecord,
                           CreateCode(all[i].material, all[i].light, all[i].names, CodeLanguage::Cpp));
    source += "} // namespace\nint main(int argc, char** argv)\n{\n    QGuiApplication app(argc, argv);\n";
    for (std::size_t i = 0; i < all.size(); ++i)
        source += QString("    {\n        KLEngine engine;\n        KLMaterialFactory factory;\n"
                          "        KLLightEngine lights;\n        std::printf(\"variant %1\\n\");\n"
                          "        variant%1(factory, lights);\n        report(factory, %2, lights);\n    }\n")
                      .arg(i)
                      .arg(cppString(all[i].names.material));
    return source + "    return 0;\n}\n";
}

using Report = kltest::HarnessReport;

// A number as the generated text states it: four decimals.
float asWritten(float value)
{
    return FixStr(value).toFloat();
}

std::vector<float> codeColour(const ColourTexts& t)
{
    return {asWritten(codeComponent(t.red.toDouble())), asWritten(codeComponent(t.green.toDouble())),
            asWritten(codeComponent(t.blue.toDouble())), asWritten(codeComponent(t.alpha.toDouble()))};
}

std::vector<float> codeColour(const RgbTexts& t)
{
    return {asWritten(codeComponent(t.red.toDouble())), asWritten(codeComponent(t.green.toDouble())),
            asWritten(codeComponent(t.blue.toDouble())), 1.0f};
}

std::vector<float> values(const D3DVECTOR& v)
{
    return {v.x, v.y, v.z};
}

} // namespace

TEST(GeneratedCppRun, TheProgramSetsUpTheEditorsMaterialAndLightForEveryLightType)
{
    const std::vector<Variant> all = variants();
    const kltest::HarnessRun run = kltest::runHarness(harness(all));
    ASSERT_TRUE(run.failure.isEmpty()) << run.failure.toStdString();
    const std::vector<Report>& reports = run.reports;
    ASSERT_EQ(reports.size(), all.size()) << run.output.toStdString();

    for (std::size_t i = 0; i < all.size(); ++i) {
        SCOPED_TRACE(QString("light row %1").arg(all[i].light.typeRow).toStdString());
        const Report& got = reports[i];
        const MaterialTexts& m = all[i].material;
        const LightTexts& l = all[i].light;
        EXPECT_EQ(got.at("ambient"), codeColour(m.ambient));
        EXPECT_EQ(got.at("diffuse"), codeColour(m.diffuse));
        EXPECT_EQ(got.at("emissive"), codeColour(m.emissive));
        EXPECT_EQ(got.at("specular"), codeColour(m.specular));
        EXPECT_EQ(got.at("power"), std::vector<float>{12.5f});
        EXPECT_EQ(got.at("lights"), std::vector<float>{1.0f});

        // Type, position, direction and range as the preview's own light has
        // them; a directional light carries no position or range, a point
        // light no direction.
        const D3DLIGHT8 preview = buildTestLight(l);
        EXPECT_EQ(got.at("type"), std::vector<float>{float(preview.Type)});
        const bool positioned = l.typeRow != kDirectionalRow;
        const bool directed = l.typeRow != kPointRow;
        const std::vector<float> none{0.0f, 0.0f, 0.0f};
        EXPECT_EQ(got.at("light.position"), positioned ? values(preview.Position) : none);
        EXPECT_EQ(got.at("light.direction"), directed ? values(preview.Direction) : none);
        EXPECT_EQ(got.at("light.range"), std::vector<float>{positioned ? preview.Range : 0.0f});
        EXPECT_EQ(got.at("light.ambient"), codeColour(l.ambient));
        EXPECT_EQ(got.at("light.diffuse"), codeColour(l.diffuse));
        EXPECT_EQ(got.at("light.specular"), codeColour(l.specular));
        EXPECT_EQ(got.at("light.attenuation"), (std::vector<float>{0.5f, 0.0f, 0.0f}));
        // The preview's colours are (c + 1) / 256: the code's c / 255 is
        // within a 256th of them.
        const auto previewColour = [](const D3DCOLORVALUE& c) { return std::vector<float>{c.r, c.g, c.b}; };
        const std::vector<float> previewDiffuse = previewColour(preview.Diffuse);
        for (std::size_t k = 0; k < 3; ++k)
            EXPECT_NEAR(got.at("light.diffuse")[k], previewDiffuse[k], 1.0 / 256 + 1e-4);
    }
}
