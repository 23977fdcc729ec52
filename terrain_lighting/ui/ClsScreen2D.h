// The 2D screen; its start also empties the shadow coordinates to one point.
#pragma once

#include <memory>

class KLScreen2D;

namespace landlume {

struct SceneSettings;

class ClsScreen2D {
public:
    ClsScreen2D();
    ~ClsScreen2D();
    void Init_Screen2D(SceneSettings& settings);
    void Kill_Screen2D();
    bool alive() const { return bool(screen_); }

private:
    std::unique_ptr<KLScreen2D> screen_;
};

} // namespace landlume
