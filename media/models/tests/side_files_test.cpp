// The hand-written files shipped beside Glazery and Emberly, checked against
// the forms the tools read and against the generated models they name.
#include "shapes/ModelCatalog.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <fstream>
#include <iterator>
#include <map>
#include <set>
#include <sstream>

namespace kl::models::test {
namespace {

namespace fs = std::filesystem;

const fs::path kSource = KL_SOURCE_DIR;

// Splits on CR LF; fails the test on a bare LF or CR or a missing last line end.
std::vector<std::string> crlfLines(const fs::path& file)
{
    std::ifstream in(file, std::ios::binary);
    const std::string text{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t end = text.find("\r\n", start);
        if (end == std::string::npos) {
            ADD_FAILURE() << file << ": last line has no CR LF";
            break;
        }
        const std::string line = text.substr(start, end - start);
        EXPECT_EQ(line.find_first_of("\r\n"), std::string::npos) << file << ": stray line end";
        lines.push_back(line);
        start = end + 2;
    }
    return lines;
}

TEST(SideFiles, DefaultMaterialHasFortyThreeLinesInFileForm)
{
    const auto lines = crlfLines(kSource / "material_editor/default.mkl");
    ASSERT_EQ(lines.size(), 43u);
    EXPECT_EQ(lines[0], "255");                // ambient red, as a text box holds it
    EXPECT_EQ(lines[7], "255");                // diffuse alpha
    EXPECT_EQ(lines[17], "<none>");
    EXPECT_EQ(lines[20], "True");              // bump mapping off
    EXPECT_EQ(lines[21], " 0 ");               // sphere mapping, printed integer
    EXPECT_EQ(lines[25], "True");              // light on
    EXPECT_EQ(lines[26], " 0 ");               // object on show
    EXPECT_EQ(lines[39], "1000");              // range
    EXPECT_EQ(lines[40], "90");                // phi before theta
    EXPECT_EQ(lines[41], "80");
    EXPECT_EQ(lines[42], " 0 ");               // light type row
}

TEST(SideFiles, ObjectsListNamesTheNineGeneratedModels)
{
    const auto lines = crlfLines(kSource / "material_editor/glazeryobjects.ini");
    ASSERT_EQ(lines.size(), 27u);
    std::set<std::string> generated;
    for (const ModelFile& entry : modelCatalog())
        generated.insert(entry.relativePath);
    for (std::size_t i = 0; i < lines.size(); i += 3) {
        std::string model = lines[i];
        std::replace(model.begin(), model.end(), '\\', '/');
        // The tools find "data/models" in "Data/models" without regard to case.
        ASSERT_EQ(model.rfind("data/models/", 0), 0u) << model;
        EXPECT_TRUE(generated.count("Glazery/Data/" + model.substr(5))) << model;
        EXPECT_EQ(std::toupper(static_cast<unsigned char>(model.back())), 'X');
        EXPECT_EQ(model.substr(12, model.size() - 14), lines[i + 1]);  // name matches file
        EXPECT_EQ(lines[i + 2], " 1 ");
    }
}

TEST(SideFiles, PresetsAreCompleteAndWithinTheEditorsRanges)
{
    const auto lines = crlfLines(kSource / "particle_editor/presets.ini");
    std::map<std::string, std::map<std::string, std::string>> sections;
    std::vector<std::string> listed;
    std::string section;
    for (const auto& line : lines) {
        if (line.empty())
            continue;
        if (line.front() == '[') {
            section = line.substr(1, line.find(']') - 1);
            continue;
        }
        const auto equals = line.find('=');
        ASSERT_NE(equals, std::string::npos) << line;
        const std::string key = line.substr(0, equals);
        EXPECT_TRUE(sections[section].emplace(key, line.substr(equals + 1)).second)
            << "duplicate " << key << " in " << section;
        if (section == "Presets")
            listed.push_back(key);
    }
    EXPECT_EQ(listed, (std::vector<std::string>{"Fire", "Smoke", "Snow", "Fountain", "Bubbles"}));

    // Key word, lowest and highest stored value the editor's controls can show.
    const std::vector<std::tuple<std::string, double, double>> ranges = {
        {"Size", 1, 32},        {"TextureID", 1, 4},     {"Life", 10, 1000},
        {"VelocityX", -5, 5},   {"VelocityY", -5, 5},    {"VelocityZ", -5, 5},
        {"ColorRed", 0, 255},   {"ColorGreen", 0, 255},  {"ColorBlue", 0, 255},
        {"ColorRnd", 0, 1},     {"ParticleSpeed", 1, 10}, {"ParticleTotal", 1, 32767},
        {"Enabled", 0, 1},      {"Gravity", -10, 10},    {"Bounce", 0, 200},
        {"Power", 10, 500},     {"EmittorSpeed", 1, 50}, {"MotionSpeed", 0, 1},
        {"Style", 0, 3},        {"Motion", 0, 6},        {"DistanceX", 0, 30},
        {"DistanceY", 0, 30},   {"DistanceZ", 0, 30}};
    for (const auto& name : listed) {
        SCOPED_TRACE(name);
        const auto& keys = sections[name];
        EXPECT_EQ(keys.size(), 3 * ranges.size());
        EXPECT_EQ(keys.at("0Enabled"), "1");  // every preset shows something
        for (int emitter = 0; emitter < 3; ++emitter) {
            for (const auto& [word, lowest, highest] : ranges) {
                const std::string key = std::to_string(emitter) + word;
                ASSERT_TRUE(keys.count(key)) << key;
                std::istringstream in(keys.at(key));
                double value = 0.0;
                in >> value;
                EXPECT_TRUE(in && in.peek() == EOF) << key << "=" << keys.at(key);
                EXPECT_GE(value, lowest) << key;
                EXPECT_LE(value, highest) << key;
            }
        }
    }
}

TEST(SideFiles, HelpTextsFitTheHelpWindow)
{
    for (const char* file : {"material_editor/Readme.txt", "particle_editor/Readme.txt"}) {
        SCOPED_TRACE(file);
        const auto lines = crlfLines(kSource / file);
        EXPECT_GT(lines.size(), 30u);
        for (const auto& line : lines)
            EXPECT_LE(line.size(), 78u) << line;
    }
}

}  // namespace
}  // namespace kl::models::test
