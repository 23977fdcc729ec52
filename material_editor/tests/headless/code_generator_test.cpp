#include "core/CodeGenerator.h"

#include "CompileCheck.h"

#include <gtest/gtest.h>

#include <QLocale>
#include <QRegularExpression>

#include <clocale>

using namespace glazery;

namespace {

// The worked example: ambient red 255, every other material box 0, power 0,
// directional light with direction 1, -1, 1, light ambient black, diffuse and
// specular white.
struct WorkedExample {
    MaterialTexts material;
    LightTexts light;
    WorkedExample()
    {
        material.ambient = {"255", "0", "0", "0"};
        material.diffuse = {"0", "0", "0", "0"};
        material.emissive = {"0", "0", "0", "0"};
        material.specular = {"0", "0", "0", "0"};
        material.power = "0";
        light.typeRow = kDirectionalRow;
        light.direction = {"1", "-1", "1"};
        light.ambient = {"0", "0", "0"};
        light.diffuse = {"255", "255", "255"};
        light.specular = {"255", "255", "255"};
    }
};

QStringList linesOf(const QString& code)
{
    return code.split(QStringLiteral("\r\n"));
}

} // namespace

TEST(CodeGenerator, VbWorkedExampleByteForByte)
{
    const WorkedExample ex;
    const QString expected = QStringLiteral(
        "'Material settings\r\n"
        "My_matfact.CreateMaterial \"My_Mat\" \r\n"
        "My_matfact.SetAmbient GetMat(\"My_Mat\") , 1.0000 , 0.0000 , 0.0000 , 0.0000\r\n"
        "My_matfact.SetDiffuse GetMat(\"My_Mat\") , 0.0000 , 0.0000 , 0.0000 , 0.0000\r\n"
        "My_matfact.SetEmissive GetMat(\"My_Mat\") , 0.0000 , 0.0000 , 0.0000 , 0.0000\r\n"
        "My_matfact.SetSpecular GetMat(\"My_Mat\") , 0.0000 , 0.0000 , 0.0000 , 0.0000\r\n"
        "My_matfact.SetPower GetMat(\"My_Mat\") , 0.0000\r\n"
        "\r\n"
        "\r\n"
        "'Light settings\r\n"
        "My_D3DLight8.type = 3\r\n"
        "My_D3DLight8.Direction = vector(1.0000 , -1.0000 , 1.0000)\r\n"
        "My_D3DLight8.Ambient = DXColor(0.0000 , 0.0000 , 0.0000 , 1)\r\n"
        "My_D3DLight8.Diffuse = dxcolor(1.0000 , 1.0000 , 1.0000 , 1)\r\n"
        "My_D3DLight8.Specular = dxcolor(1.0000 , 1.0000 , 1.0000 , 1)\r\n"
        "My_D3DLight8.Attenuation0 = 0.5\r\n"
        "My_D3DLight8.Attenuation1 = 0\r\n"
        "My_D3DLight8.Attenuation2 = 0\r\n"
        "My_Light.CreateLight My_D3DLight8");
    EXPECT_EQ(CreateCode(ex.material, ex.light, CodeNames{}, CodeLanguage::VB), expected);
}

TEST(CodeGenerator, DelphiSpotLightByteForByte)
{
    WorkedExample ex;
    ex.material.diffuse.red = "128";
    ex.material.power = "12.5";
    ex.light.typeRow = kSpotRow;
    ex.light.position = {"10", "-20", "0.5"};
    ex.light.range = "1000";
    const QString expected = QStringLiteral(
        "//Material settings\r\n"
        "My_matfact.CreateMaterial('My_Mat');\r\n"
        "My_matfact.SetAmbient(Global.GetMat('My_Mat') , 1.0000 , 0.0000 , 0.0000 , 0.0000);\r\n"
        "My_matfact.SetDiffuse(Global.GetMat('My_Mat') , 0.5020 , 0.0000 , 0.0000 , 0.0000);\r\n"
        "My_matfact.SetEmissive(Global.GetMat('My_Mat') , 0.0000 , 0.0000 , 0.0000 , 0.0000);\r\n"
        "My_matfact.SetSpecular(Global.GetMat('My_Mat') , 0.0000 , 0.0000 , 0.0000 , 0.0000);\r\n"
        "My_matfact.SetPower(Global.GetMat('My_Mat') , 12.5000);\r\n"
        "\r\n"
        "\r\n"
        "//Light settings\r\n"
        "My_D3DLight8._type := 2;\r\n"
        "My_D3DLight8.Position := global.vector(10.0000 , -20.0000 , 0.5000);\r\n"
        "My_D3DLight8.Direction := global.vector(1.0000 , -1.0000 , 1.0000);\r\n"
        "My_D3DLight8.Ambient := global.dxcolor(0.0000 , 0.0000 , 0.0000 , 1);\r\n"
        "My_D3DLight8.Diffuse := global.dxcolor(1.0000 , 1.0000 , 1.0000 , 1);\r\n"
        "My_D3DLight8.Specular := global.dxcolor(1.0000 , 1.0000 , 1.0000 , 1);\r\n"
        "My_D3DLight8.Range = 1000.0000\r\n"
        "My_D3DLight8.Attenuation0 := 0.5;\r\n"
        "My_D3DLight8.Attenuation1 := 0;\r\n"
        "My_D3DLight8.Attenuation2 := 0;\r\n"
        "My_Light.CreateLight(My_D3DLight8,'name',false);");
    EXPECT_EQ(CreateCode(ex.material, ex.light, CodeNames{}, CodeLanguage::Delphi), expected);
}

TEST(CodeGenerator, CSharpPointLightByteForByte)
{
    WorkedExample ex;
    ex.material.diffuse.alpha = "255";
    ex.light.typeRow = kPointRow;
    ex.light.position = {"1", "-1", "1"};
    ex.light.range = "250";
    const QString expected = QStringLiteral(
        "//Material settings\r\n"
        "My_matfact.CreateMaterial(\"My_Mat\");\r\n"
        "My_matfact.SetAmbient(Global.GetMat(\"My_Mat\") , 1.0000f , 0.0000f , 0.0000f , 0.0000f);\r\n"
        "My_matfact.SetDiffuse(Global.GetMat(\"My_Mat\") ,  0.0000f , 0.0000f , 0.0000f , 1.0000f);\r\n"
        "My_matfact.SetEmissive(Global.GetMat(\"My_Mat\") , 0.0000f , 0.0000f , 0.0000f , 0.0000f);\r\n"
        "My_matfact.SetSpecular(Global.GetMat(\"My_Mat\") ,  0.0000f , 0.0000f , 0.0000f , 0.0000f);\r\n"
        "My_matfact.SetPower(Global.GetMat(\"My_Mat\") , 0.0000f);\r\n"
        "\r\n"
        "\r\n"
        "//Light settings\r\n"
        "My_D3DLight8.type = 1;\r\n"
        "My_D3DLight8.Position = global.vector(1.0000f , -1.0000f , 1.0000f);\r\n"
        "My_D3DLight8.Ambient := global.dxcolor( 0.0000f , 0.0000f , 0.0000f , 1);\r\n"
        "My_D3DLight8.Diffuse = global.dxcolor( 1.0000f , 1.0000f , 1.0000f , 1);\r\n"
        "My_D3DLight8.Specular = global.dxcolor( 1.0000f , 1.0000f , 1.0000f , 1);\r\n"
        "My_D3DLight8.Range = 250.0000f;\r\n"
        "My_D3DLight8.Attenuation0 := 0.5f;\r\n"
        "My_D3DLight8.Attenuation1 := 0.0f;\r\n"
        "My_D3DLight8.Attenuation2 := 0.0f;\r\n"
        "My_Light.CreateLight(My_D3DLight8,\"name\",false);");
    EXPECT_EQ(CreateCode(ex.material, ex.light, CodeNames{}, CodeLanguage::CSharp), expected);
}

TEST(CodeGenerator, OptionalLinesFollowTheLightType)
{
    const WorkedExample ex;
    for (const CodeLanguage language : {CodeLanguage::VB, CodeLanguage::Delphi, CodeLanguage::CSharp}) {
        for (int row = 0; row < kLightTypeRowCount; ++row) {
            LightTexts light = ex.light;
            light.typeRow = row;
            const QString code = CreateCode(ex.material, light, CodeNames{}, language);
            SCOPED_TRACE(code.toStdString());
            EXPECT_EQ(code.contains(".Position "), row != kDirectionalRow);
            EXPECT_EQ(code.contains(".Direction "), row != kPointRow);
            EXPECT_EQ(code.contains(".Range = "), row != kDirectionalRow);
            EXPECT_FALSE(code.contains("Theta") || code.contains("Phi") || code.contains("Falloff"));
        }
    }
}

TEST(CodeGenerator, NumberForms)
{
    EXPECT_EQ(FixStr(1.0f), "1.0000");
    EXPECT_EQ(FixStr(0.5f), "0.5000");
    EXPECT_EQ(FixStr(-100.0f), "-100.0000");
    EXPECT_EQ(FixStr(128.0f / 255.0f), "0.5020");
    EXPECT_EQ(FixStrC(1.0f), "1.0000f");
    EXPECT_EQ(FixStrC(128.0f / 255.0f), "0.5020f");
    EXPECT_EQ(FixStr(1234567.0f), "1234567.0000"); // no thousands separator
}

TEST(CodeGenerator, ColourBox128InEveryLanguage)
{
    WorkedExample ex;
    ex.material.ambient.green = "128";
    EXPECT_TRUE(CreateCode(ex.material, ex.light, {}, CodeLanguage::VB).contains("1.0000 , 0.5020 , "));
    EXPECT_TRUE(CreateCode(ex.material, ex.light, {}, CodeLanguage::Delphi).contains("1.0000 , 0.5020 , "));
    EXPECT_TRUE(CreateCode(ex.material, ex.light, {}, CodeLanguage::CSharp).contains("1.0000f , 0.5020f , "));
}

TEST(CodeGenerator, PointsUnderACommaDecimalLocale)
{
    const QLocale previous;
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    const std::string previousC = std::setlocale(LC_ALL, nullptr);
    std::setlocale(LC_ALL, "de_DE.UTF-8"); // may be missing; Qt's default locale is set anyway
    WorkedExample ex;
    ex.material.power = "2.5";
    ex.light.typeRow = kSpotRow;
    ex.light.position = {"-0.25", "1234.5", "3"};
    const QString vb = CreateCode(ex.material, ex.light, {}, CodeLanguage::VB);
    const QString cs = CreateCode(ex.material, ex.light, {}, CodeLanguage::CSharp);
    std::setlocale(LC_ALL, previousC.c_str());
    QLocale::setDefault(previous);
    EXPECT_TRUE(vb.contains(", 2.5000\r\n"));
    EXPECT_TRUE(vb.contains("vector(-0.2500 , 1234.5000 , 3.0000)"));
    EXPECT_TRUE(cs.contains("vector(-0.2500f , 1234.5000f , 3.0000f)"));
    EXPECT_FALSE(vb.contains(QRegularExpression("\\d,\\d")));
    EXPECT_FALSE(cs.contains(QRegularExpression("\\d,\\d")));
}

TEST(CodeGenerator, NamesArePastedVerbatimEvenWhenEmpty)
{
    const WorkedExample ex;
    CodeNames names;
    names.materialFactory = "";
    names.lightRecord = "Lamp";
    names.material = "Brass";
    names.lightEngine = "";
    const QStringList lines = linesOf(CreateCode(ex.material, ex.light, names, CodeLanguage::VB));
    EXPECT_EQ(lines[1], ".CreateMaterial \"Brass\" ");
    EXPECT_TRUE(lines[2].startsWith(".SetAmbient GetMat(\"Brass\")"));
    EXPECT_EQ(lines[10], "Lamp.type = 3");
    EXPECT_EQ(lines.back(), ".CreateLight Lamp");
}

TEST(CodeGenerator, NonNumericBoxesCountAsZero)
{
    WorkedExample ex;
    ex.material.ambient.red = "abc";
    ex.material.power = "";
    const QStringList lines = linesOf(CreateCode(ex.material, ex.light, {}, CodeLanguage::VB));
    EXPECT_EQ(lines[2], "My_matfact.SetAmbient GetMat(\"My_Mat\") , 0.0000 , 0.0000 , 0.0000 , 0.0000");
    EXPECT_EQ(lines[6], "My_matfact.SetPower GetMat(\"My_Mat\") , 0.0000");
}

// The C++ text: every light type's lines, LF line ends, and code that the
// compiler accepts against the engine's own headers.
TEST(CodeGeneratorCpp, EveryLightTypeCompilesAgainstTheEngineHeaders)
{
    WorkedExample example;
    example.material.diffuse = {"128", "64", "32", "255"};
    example.material.power = "12.5";
    example.light.position = {"10", "20", "-30"};
    example.light.range = "500";
    CodeNames names;
    names.material = "Say \"hi\"";
    QString source = "#include <korlith3d/KLLightEngine.h>\n#include <korlith3d/KLMaterialFactory.h>\n"
                     "#include <korlith3d/types.h>\n";
    for (const int row : {kDirectionalRow, kPointRow, kSpotRow}) {
        example.light.typeRow = row;
        const QString code = CreateCode(example.material, example.light, names, CodeLanguage::Cpp);
        EXPECT_FALSE(code.contains(u'\r'));
        EXPECT_TRUE(code.contains("My_matfact.SetDiffuse(My_matfact.GetMaterialId(\"Say \\\"hi\\\"\"), 0.5020f, "
                                  "0.2510f, 0.1255f, 1.0000f);"))
            << code.toStdString();
        EXPECT_TRUE(code.contains("My_matfact.SetPower(My_matfact.GetMaterialId(\"Say \\\"hi\\\"\"), 12.5000f);"));
        EXPECT_EQ(code.contains("My_D3DLight8.Position = D3DVECTOR{10.0000f, 20.0000f, -30.0000f};"),
                  row != kDirectionalRow);
        EXPECT_EQ(code.contains("My_D3DLight8.Direction = "), row != kPointRow);
        EXPECT_EQ(code.contains("My_D3DLight8.Range = 500.0000f;"), row != kDirectionalRow);
        source += QString("void setUp%1(KLMaterialFactory& My_matfact, KLLightEngine& My_Light)\n{\n"
                          "    D3DLIGHT8 My_D3DLight8{};\n%2\n}\n")
                      .arg(row)
                      .arg(code);
    }
    const kltest::CompileResult result = kltest::compileSyntax(source);
    EXPECT_TRUE(result.compiled) << result.output.toStdString() << "\n" << source.toStdString();
}
