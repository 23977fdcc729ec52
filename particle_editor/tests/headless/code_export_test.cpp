// The exported engine code: whole texts for the start-up emitter in both
// languages, every style and motion part, and the generation rules.
#include "core/CodeExport.h"

#include "CompileCheck.h"

#include <gtest/gtest.h>

namespace emberly {
namespace {

// The records as the editor has them after its first frame.
EmitterRecords startUp()
{
    EmitterRecords records;
    for (auto& e : records.emitters)
        e.Gravity = 2;
    return records;
}

ExportTexts generate(int codetype, EmitterRecords& records, std::array<bool, 3> enabled = {true, false, false},
                     ExportNames names = {})
{
    return codeMake(codetype, names, records, enabled, [](int) { return 0; }, 1);
}

TEST(CodeExportTest, VbTextsForTheStartUpEmitterByteForByte)
{
    EmitterRecords records = startUp();
    const ExportTexts t = generate(kCodeVB, records);
    EXPECT_EQ(t.setup.toStdString(),
              "   With My_Particle1\r"
              "       .CreateBillboardSystem 100, 0, 3, Vector3(0,0,0), 0, GetTex(\"My_Texture1\")\r"
              "       .ParticleSize = 5\r"
              "       .SetAlphaBlendingMode KL_CHANGE_ALPHA, D3DBLEND_SRCALPHA, D3DBLEND_ONE\r"
              "       .SetGravity 2, 0.3\r"
              "       .SetGeneratorSpeed 5\r"
              "       .SetParticleSpeed 0.03\r"
              "   End With\r");
    EXPECT_EQ(t.event.toStdString(),
              "'Event Code for My_Particle1 :\r"
              "    LifeTime = 2\r"
              "    Dim tmpVel as D3DVECTOR\r"
              "    tmpVel.x = Rnd * 2 - 1\r"
              "    tmpVel.y = Rnd * 4 + 2\r"
              "    tmpVel.z = Rnd * 2 - 1\r"
              "    tmpVel = VScale(VNormalize(tmpVel), 1)\r"
              "    VelocX = tmpVel.x\r"
              "    VelocY = tmpVel.y\r"
              "    VelocZ = tmpVel.z\r"
              "\r"
              "    My_Particle1.MoveEmittor Vector3(0,0,0)\r"
              "\r"
              "    ColorR = 1\r"
              "    ColorG = 1\r"
              "    ColorB = 1\r"
              "    ColorA = 1\r"
              "\r");
    EXPECT_EQ(t.render.toStdString(),
              "    My_Particle1.UpdateParticles KL_UPDATE_BOUNCE_ON_Y0_PLANE Or KL_UPDATE_GENERATOR\r"
              "    My_Particle1.RenderParticles\r");
    EXPECT_FALSE(t.setup.contains('\n'));
}

TEST(CodeExportTest, DelphiTextsForTheStartUpEmitterByteForByte)
{
    EmitterRecords records = startUp();
    const ExportTexts t = generate(kCodeDelphi, records);
    EXPECT_EQ(t.setup.toStdString(),
              "   With My_Particle1 do\r"
              "   begin\r"
              "       CreateBillboardSystem(100,0,3,Global.Vector3(0,0,0),0,Global.GetTex(\"My_Texture1\"));\r"
              "       ParticleSize := 5;\r"
              "       SetAlphaBlendingMode(KL_CHANGE_ALPHA,D3DBLEND_SRCALPHA,D3DBLEND_ONE);\r"
              "       SetGravity(2,0.3);\r"
              "       SetGeneratorSpeed(5);\r"
              "       SetParticleSpeed(0.03);\r"
              "   end;\r");
    EXPECT_EQ(t.event.toStdString(),
              "//Event Code for My_Particle1 :\r"
              "    LifeTime := 2;\r"
              "    Dim tmpVel as D3DVECTOR;\r"
              "    tmpVel.x := random * 2 - 1;\r"
              "    tmpVel.y := random * 4 + 2;\r"
              "    tmpVel.z := random * 2 - 1;\r"
              "    tmpVel := VScale(VNormalize(tmpVel), 1);\r"
              "    VelocX := tmpVel.x;\r"
              "    VelocY := tmpVel.y;\r"
              "    VelocZ := tmpVel.z;\r"
              "    ColorR := 1;\r"
              "    ColorG := 1;\r"
              "    ColorB := 1;\r"
              "    ColorA := 1;\r"
              "\r");
    EXPECT_EQ(t.render.toStdString(),
              "    My_Particle1.UpdateParticles(KL_UPDATE_BOUNCE_ON_Y0_PLANE Or KL_UPDATE_GENERATOR);\r"
              "    My_Particle1.RenderParticles;\r");
}

TEST(CodeExportTest, VelocityStylesInBothLanguages)
{
    ExportNames names;
    names.posX = "1";
    names.posY = "";
    names.posZ = "z";
    ParticleSettings p;
    p.Velocity = {0.5f, -1, 2};
    p.Life = 2.5f;
    EmitterSettings e;
    e.Power = 0.75f;
    e.Style = 0;
    EXPECT_EQ(velocityPart(kCodeVB, "S", names, p, e).toStdString(),
              "    Dim tmpVel as D3DVECTOR\r"
              "    tmpVel = VScale(VNormalize(Vector3(0.5,-1,2)), 0.75)\r"
              "    VelocX = tmpVel.x\r    VelocY = tmpVel.y\r    VelocZ = tmpVel.z");
    e.Style = 2;
    const QString burst = velocityPart(kCodeVB, "S", names, p, e);
    EXPECT_TRUE(burst.contains("    tmpVel.x = Rnd * 2.5 - 1\r"));
    EXPECT_TRUE(burst.contains("    tmpVel.y = Rnd * -5 + 2\r"));   // hyphen-minus, as the number text has it
    EXPECT_TRUE(burst.contains("    tmpVel.z = Rnd * 4 - 1\r"));
    e.Style = 3;
    EXPECT_EQ(velocityPart(kCodeDelphi, "S", names, p, e).toStdString(),
              "    Dim tmpVel as D3DVECTOR;\r"
              "    tmpVel := VAdd(VSubtract(Vector3(1,,z), S.GetEmittorPosition), Vector(0.5,-1,2));\r"
              "    tmpVel := VScale(VNormalize(tmpVel), 0.75);\r"
              "    VelocX := tmpVel.x;\r    VelocY := tmpVel.y;\r    VelocZ := tmpVel.z;");
    e.Style = 4;
    EXPECT_EQ(velocityPart(kCodeVB, "S", names, p, e), "");
    // An empty velocity part still leaves its line in the event block.
    EXPECT_TRUE(eventBlock(kCodeDelphi, "S", names, p, e).startsWith("//Event Code for S :\r    LifeTime := 2.5;\r\r    ColorR"));
}

TEST(CodeExportTest, MotionPartsOfEveryPath)
{
    ExportNames names;
    names.posX = "px";
    names.posY = "py";
    names.posZ = "pz";
    EmitterSettings e;
    e.Distance = {1.5f, 2, 3};
    e.MotionSpeed = 0.25f;
    const auto part = [&](int motion) {
        e.Motion = qint16(motion);
        return motionPart("M", names, e).toStdString();
    };
    EXPECT_EQ(part(0), "    M.MoveEmittor Vector3(px,py,pz)");
    const std::string cycle = "    Dim tmpPos As Integer\r"
                              "    Dim vNewPosition As D3DVECTOR\r"
                              "    tmpPos = (KL.TickCount * 0.25) Mod 360\r"
                              "    vNewPosition.x = Sin(Deg2Rad(tmpPos)) * 1.5 + px\r"
                              "    vNewPosition.y = Sin(Deg2Rad(tmpPos)) * 2 + py\r"
                              "    vNewPosition.z = Cos(Deg2Rad(tmpPos)) * 3 + pz\r"
                              "    M.MoveEmittor vNewPosition";
    EXPECT_EQ(part(1), cycle);
    std::string reverse = cycle;
    reverse.replace(reverse.find("tmpPos = (KL"), 12, "tmpPos = -(KL");
    EXPECT_EQ(part(2), reverse);
    std::string circle = cycle;
    circle.replace(circle.find("(KL.TickCount * 0.25) Mod 360"), 29, "Rnd * 360");
    EXPECT_EQ(part(3), circle);
    std::string line = circle;
    line.replace(line.find("Cos(Deg2Rad(tmpPos)) * 3"), 3, "Sin");
    EXPECT_EQ(part(6), line);
    EXPECT_EQ(part(4), "    Dim vNewPosition As D3DVECTOR\r"
                       "    vNewPosition.x = Sin(Deg2Rad(Rnd * 360)) * 1.5 + px\r"
                       "    vNewPosition.y = Sin(Deg2Rad(Rnd * 360)) * 2 + py\r"
                       "    vNewPosition.z = Cos(Deg2Rad(Rnd * 360)) * 3 + pz\r"
                       "    M.MoveEmittor vNewPosition");
    EXPECT_EQ(part(5), "    Dim vNewPosition As D3DVECTOR\r"
                       "    Dim tmpAngle1 As Single, tmpAngle2 As Single\r"
                       "    tmpAngle1 = Deg2Rad(Rnd * 360)\r"
                       "    tmpAngle2 = Deg2Rad(Rnd * 360)\r"
                       "    vNewPosition.x = 1.5 * Cos(tmpAngle1) * Cos(tmpAngle2) + px\r"
                       "    vNewPosition.y = 2 * Sin(tmpAngle2) + py\r"
                       "    vNewPosition.z = 3 * Sin(tmpAngle1) * Cos(tmpAngle2) + pz\r"
                       "    M.MoveEmittor vNewPosition");
    EXPECT_EQ(part(7), "");
}

TEST(CodeExportTest, RandomColourPartsUseTheChannelPlusOne)
{
    ParticleSettings p;
    p.ColorRnd = 1;
    p.Color = {1, 0.5f, 0, 0.25f};
    EXPECT_EQ(colourPart(kCodeVB, p).toStdString(), "    ColorR = Int(256 * Rnd) / 255\r"
                                                     "    ColorG = Int(128.5 * Rnd) / 255\r"
                                                     "    ColorB = Int(1 * Rnd) / 255\r"
                                                     "    ColorA = Int(256 * Rnd) / 255\r"
                                                     "\r");
    EXPECT_EQ(colourPart(kCodeDelphi, p).toStdString(), "    ColorR := Int(256 * Rnd) / 255;\r"
                                                         "    ColorG := Int(128.5 * Rnd) / 255;\r"
                                                         "    ColorB := Int(1 * Rnd) / 255;\r"
                                                         "    ColorA := Int(256 * Rnd) / 255;\r"
                                                         "\r");
    p.ColorRnd = 0.5f;   // only exactly 1 draws at random
    EXPECT_EQ(colourPart(kCodeVB, p).toStdString(),
              "    ColorR = 1\r    ColorG = 0.5\r    ColorB = 0\r    ColorA = 0.25\r\r");
}

TEST(CodeExportTest, GenerationRaisesTotalsAndListsUpdatesBeforeRenders)
{
    EmitterRecords records = startUp();
    ExportNames names;
    names.systems = {"A", "B", "C"};
    int asked = 0;
    const auto count = [&asked](int i) {
        ++asked;
        return 10 * (i + 1);
    };
    ExportTexts t = codeMake(kCodeVB, names, records, {false, true, true}, count, 2);
    EXPECT_EQ(asked, 2);
    EXPECT_EQ(records.particles[0].Total, 1000);
    EXPECT_EQ(records.particles[1].Total, 120);
    EXPECT_EQ(records.particles[2].Total, 130);
    EXPECT_TRUE(t.setup.contains(".CreateBillboardSystem 120, 0, 3"));
    EXPECT_TRUE(t.setup.contains("KL_CHANGE_COLOR"));
    EXPECT_TRUE(t.setup.startsWith("   With B\r"));
    EXPECT_EQ(t.render.toStdString(), "    B.UpdateParticles KL_UPDATE_BOUNCE_ON_Y0_PLANE Or KL_UPDATE_GENERATOR\r"
                                      "    C.UpdateParticles KL_UPDATE_BOUNCE_ON_Y0_PLANE Or KL_UPDATE_GENERATOR\r"
                                      "    B.RenderParticles\r"
                                      "    C.RenderParticles\r");
    // Placeholder-looking names stay as typed.
    names.systems[1] = "{Size}";
    t = codeMake(kCodeVB, names, records, {false, true, false}, count, 9);
    EXPECT_TRUE(t.setup.startsWith("   With {Size}\r"));
    EXPECT_TRUE(t.setup.contains(".SetAlphaBlendingMode , D3DBLEND_SRCALPHA"));
    t = codeMake(kCodeDelphi, names, records, {false, false, false}, count, 1);
    EXPECT_TRUE(t.setup.isEmpty());
    EXPECT_TRUE(t.event.isEmpty());
    EXPECT_TRUE(t.render.isEmpty());
}

} // namespace
} // namespace emberly

namespace emberly {
namespace {

// The C++ texts of every velocity style and motion path, random and fixed
// colour: LF line ends, and code the compiler accepts against the engine's
// own headers, the handler included.
TEST(CodeExportCpp, EveryStyleAndMotionCompilesAgainstTheEngineHeaders)
{
    QString source = "#include <korlith3d/KLEngine.h>\n#include <korlith3d/KLGlobals.h>\n#include <korlith3d/KLMath.h>\n"
                     "#include <korlith3d/KLParticleSystem.h>\n#include <korlith3d/types.h>\n"
                     "#include <cmath>\n#include <cstdlib>\n";
    int variant = 0;
    for (const int style : {0, 1, 2, 3, 7}) {
        for (const int motion : {0, 1, 2, 3, 4, 5, 6, 9}) {
            EmitterRecords records = startUp();
            records.emitters[0].Style = qint16(style);
            records.emitters[0].Motion = qint16(motion);
            records.particles[0].ColorRnd = (variant % 2) == 0 ? 0.5f : 0.0f;
            const ExportTexts t = generate(kCodeCpp, records);
            for (const QString& part : {t.setup, t.event, t.render})
                EXPECT_FALSE(part.contains(u'\r')) << "style " << style << " motion " << motion;
            EXPECT_TRUE(t.event.contains("SetNewParticleHandler")) << t.event.toStdString();
            EXPECT_TRUE(t.render.contains("My_Particle1.RenderParticles();")) << t.render.toStdString();
            source += QString("void variant%1(KLParticleSystem& My_Particle1)\n{\n%2\n%3\n%4\n}\n")
                          .arg(variant++)
                          .arg(t.setup, t.event, t.render);
        }
    }
    const kltest::CompileResult result = kltest::compileSyntax(source);
    EXPECT_TRUE(result.compiled) << result.output.toStdString() << "\n" << source.left(6000).toStdString();
}

} // namespace
} // namespace emberly
