// The right panel's actions: "Load object", the selected object's "Apply" and
// the light direction's "Apply".
#pragma once

namespace landlume {

class MDIMain;

class ObjectActions {
public:
    explicit ObjectActions(MDIMain& frame);
    ObjectActions(const ObjectActions&) = delete;
    ObjectActions& operator=(const ObjectActions&) = delete;

    // An X or 3DS model placed at the origin and selected.
    void loadObject();
    // The boxes and flags onto the selected object; nothing without one.
    void applyObject();
    void applyLight();

private:
    MDIMain& frame_;
};

} // namespace landlume
