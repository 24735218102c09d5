#pragma once
// The units strip: steps or a user unit with its scale. Choosing the unit or changing
// the scale converts the command list's step values so that its commands keep their
// meaning in user units.

#include <string>

namespace zav {

class TController;

// The strip's controls that the shared state does not already show.
class IUnitsView {
public:
    virtual ~IUnitsView() = default;
    virtual std::string ScaleText() const = 0; // EditStepsToUnits
    // The seven scale controls, in use only with "other units".
    virtual void EnableScaleControls(bool enabled) = 0;
};

class TUnits {
public:
    explicit TUnits(TController& controller) : controller_(controller) {}
    void AttachView(IUnitsView* view) { view_ = view; }

    void UpdateScaleControls();
    // The unit choice changed (read from the units radio group).
    void rgrUnitsClick();
    // "Change": reads the scale from the field and converts the list.
    void btnScaleChangeClick();

private:
    bool OtherUnits() const;

    TController& controller_;
    IUnitsView* view_ = nullptr;
};

} // namespace zav
