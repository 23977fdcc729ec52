// The landscape settings of the left panel: "Load heightmap" and its "Apply".
#pragma once

namespace landlume {

class MDIMain;

class LandscapeActions {
public:
    explicit LandscapeActions(MDIMain& frame);
    LandscapeActions(const LandscapeActions&) = delete;
    LandscapeActions& operator=(const LandscapeActions&) = delete;

    // The land rebuilt from another picture with the current values.
    void loadHeightmap();
    // Width, height and factor from the boxes; every box is checked before
    // the land is touched.
    void applyLand();

private:
    MDIMain& frame_;
};

} // namespace landlume
