// Emberly's particle files and preset store, read through the profile reader:
// the preset names of any file, and each of the first presets loaded into the
// records the way the Load menus do (the custom-texture question answered No).
#include "FuzzSupport.h"

#include "core/mPresets.h"

#include <platform/Interaction.h>

#include <array>
#include <memory>

namespace {

class Window final : public emberly::PresetWindow {
public:
    emberly::EmitterRecords& records() override { return records_; }
    bool emitterEnabled(int index) const override { return enabled_.at(std::size_t(index)); }
    void setEmitterEnabled(int index, bool on) override { enabled_.at(std::size_t(index)) = on; }
    bool onlyBuiltInTextures() const override { return true; }
    void loadCustomTexture() override { fuzz::fail("the custom texture was loaded after the answer No"); }
    void showEmitter(int index) override { enabled_.at(std::size_t(index)); }
    void applyEmitter(int index) override { enabled_.at(std::size_t(index)); }
    void log(const QString&) override {}

private:
    emberly::EmitterRecords records_;
    std::array<bool, 3> enabled_{};
};

// Message boxes answer No; any other dialog would block a user's load.
class Answers final : public platform::InteractionService {
public:
    std::optional<platform::FileChoice> openFile(const platform::FileDialogRequest&) override { return unexpected(); }
    std::optional<platform::FileChoice> saveFile(const platform::FileDialogRequest&) override { return unexpected(); }
    std::optional<QColor> chooseColor(const QColor&, const QString&) override { unexpected(); return {}; }
    int msgBox(const QString&, int, const QString&) override { return platform::vbNo; }
    std::optional<QString> inputBox(const QString&, const QString&, const QString&) override
    {
        unexpected();
        return {};
    }

private:
    static std::optional<platform::FileChoice> unexpected() { fuzz::fail("loading a preset opened a dialog"); }
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const platform::ScopedInteraction answers(std::make_shared<Answers>());
    const QString path = fuzz::writeScratchFile(QStringLiteral("fuzz.pkl"), fuzz::bytesOf(data, size));
    Window window;
    emberly::loadPreset(emberly::particleFileSection(path), path, window);
    const QStringList names = emberly::presetNames(path);
    for (qsizetype i = 0; i < names.size() && i < 3; ++i)
        emberly::loadPreset(names[i], path, window);
    return 0;
}
