#include "program-editing/units.h"

#include <algorithm>

#include "program-editing/command_editor.h"
#include "program-editing/command_list.h"
#include "program-editing/scale_conversion.h"
#include "state/common_datas.h"
#include "state/log_dispatch.h"

namespace zav {

bool TUnits::OtherUnits() const {
    return hooks_ && hooks_->UnitsIndex() == 1;
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
        context_.Datas.SetScale(1);
}

void TUnits::btnScaleChangeClick() {
    TCommonDatas& datas = context_.Datas;
    const double oldScale = datas.Scale;
    double scale;
    // SetScale writes the scale back into the field, with the system's separator.
    if (TScaleConversion::ParseScale(view_ ? view_->ScaleText() : "1", scale)) {
        datas.SetScale(scale);
    } else {
        context_.Log.ShowMessage(context_.Lang.Message(msgBadUnitsScale));
        datas.SetScale(1);
    }
    TCommandList& list = context_.MemoSend;
    if (!list.Empty()) {
        const auto unconverted = TScaleConversion::Convert(list, datas.Scale, oldScale, datas);
        if (!unconverted.empty())
            context_.Log.Log(context_.Lang.Message(msgLinesNotConverted) + list.Named(unconverted),
                             true);
        // Lines left unconverted were named above already.
        std::vector<std::size_t> outside;
        for (const std::size_t line : OutOfRangeLines(list))
            if (std::find(unconverted.begin(), unconverted.end(), line) == unconverted.end())
                outside.push_back(line);
        if (!outside.empty())
            context_.Log.Log(context_.Lang.Message(msgLinesOutOfRange) + list.Named(outside), true);
    }
    editor_.UpdateSendEnabled();
}

} // namespace zav
