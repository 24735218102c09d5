#include "program-editing/units.h"

#include "controller/controller.h"
#include "program-editing/scale_conversion.h"

namespace zav {

bool TUnits::OtherUnits() const {
    const IMainWindowHooks* hooks = controller_.Views().Hooks;
    return hooks && hooks->UnitsIndex() == 1;
}

void TUnits::UpdateScaleControls() {
    if (view_)
        view_->EnableScaleControls(OtherUnits());
}

void TUnits::rgrUnitsClick() {
    UpdateScaleControls();
    if (OtherUnits())
        btnScaleChangeClick();
    else
        controller_.CommonDatas().SetScale(1);
}

void TUnits::btnScaleChangeClick() {
    TCommonDatas& datas = controller_.CommonDatas();
    const double oldScale = datas.Scale;
    double scale;
    // SetScale writes the scale back into the field, with the system's separator.
    if (TScaleConversion::ParseScale(view_ ? view_->ScaleText() : "1", scale)) {
        datas.SetScale(scale);
    } else {
        controller_.ShowMessage(controller_.Lang().Message(20));
        datas.SetScale(1);
    }
    if (controller_.MemoSend.Empty())
        return;
    const auto unconverted =
        TScaleConversion::Convert(controller_.MemoSend, datas.Scale / oldScale, datas);
    if (unconverted.empty())
        return;
    std::string lines;
    for (std::size_t i = 0; i < unconverted.size() && i < 10; ++i)
        lines += (i ? ", " : "") + std::to_string(unconverted[i] + 1) + " (" +
                 controller_.MemoSend.Row(unconverted[i]).Command + ")";
    if (unconverted.size() > 10)
        lines += ", ...";
    controller_.Log(controller_.Lang().Message(msgLinesNotConverted) + lines, true);
}

} // namespace zav
