#pragma once
// The units strip: steps or a user unit with its scale. Choosing the unit or changing
// the scale converts the command list's step values so that its commands keep their
// meaning in user units.

#include <string>

#include "program-editing/editing_context.h"

namespace zav {

class IMainWindowHooks;
class TCommandEditor;

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
    // hooks (the units radio group) may be null: steps.
    TUnits(TEditingContext context, TCommandEditor& editor, const IMainWindowHooks* hooks)
        : context_(context), editor_(editor), hooks_(hooks) {}
    void AttachView(IUnitsView* view) { view_ = view; }

    void UpdateScaleControls();
    // The unit choice changed (read from the units radio group).
    void rgrUnitsClick();
    // "Change": reads the scale from the field and converts the list.
    void btnScaleChangeClick();

private:
    bool OtherUnits() const;

    TEditingContext context_;
    TCommandEditor& editor_;
    const IMainWindowHooks* hooks_;
    IUnitsView* view_ = nullptr;
};

} // namespace zav
