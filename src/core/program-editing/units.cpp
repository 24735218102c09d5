#include "program-editing/units.h"

#include <algorithm>

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
    TCommandList& list = controller_.MemoSend;
    if (!list.Empty()) {
        const auto unconverted = TScaleConversion::Convert(list, datas.Scale, oldScale, datas);
        if (!unconverted.empty())
            controller_.Log(
                controller_.Lang().Message(msgLinesNotConverted) + list.Named(unconverted), true);
        // Lines left unconverted were named above already.
        std::vector<std::size_t> outside;
        for (const std::size_t line : TZavCommands::OutOfRangeLines(list))
            if (std::find(unconverted.begin(), unconverted.end(), line) == unconverted.end())
                outside.push_back(line);
        if (!outside.empty())
            controller_.Log(controller_.Lang().Message(msgLinesOutOfRange) + list.Named(outside),
                            true);
    }
    controller_.Editor().UpdateSendEnabled();
}

} // namespace zav
