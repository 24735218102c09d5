#include "main-window/main_window_names.h"

namespace zav {

namespace {
struct TControlName {
    const char* Control;
    int Name;               // message of the accessible name; 0: named by its caption
    int Hint = 0;           // message of the tool tip; 0: none
    const char* After = ""; // after both, as it stands
};

// clang-format off
const TControlName ControlNames[] = {
    {"ChboxCoord1", msgSelectCoordinate, msgSelectCoordinate, "1"},
    {"chboxCoord2", msgSelectCoordinate, msgSelectCoordinate, "2"},
    {"chboxCoord3", msgSelectCoordinate, msgSelectCoordinate, "3"},
    {"btnSetCoordStates", msgCoordinateStates, msgCoordinateStatesHint},
    {"EditStepsToUnits", msgStepsInOneUnit},
    {"btnScaleChange", msgChangeScale},
    {"EditStepsNum", msgMovement},
    {"EditSpeed", msgMaximumSpeed},
    {"EditBeginSpeed", msgStartSpeed},
    {"EditAccel", msgAccelerationValue},
    {"StringGridSend", msgCommandList, msgCommandListHint},
    {"chbDirectControl", 0, msgDirectControlHint},
    {"MemoRead", msgLoadingList},
    {"lbBufRead", msgResponseList},
    {"btnlbbufclear", msgClearResponses},
    {"MemoLog", msgOperationLog},
};
// clang-format on
} // namespace

void NameMainWindowControls(QWidget& window, const TLang& lang) {
    for (const TControlName& c : ControlNames) {
        auto* w = window.findChild<QWidget*>(c.Control);
        if (!w)
            continue;
        if (c.Name)
            w->setAccessibleName(QString::fromStdString(lang.Message(c.Name)) + c.After);
        if (c.Hint)
            w->setToolTip(QString::fromStdString(lang.Message(c.Hint)) + c.After);
    }
}

} // namespace zav
