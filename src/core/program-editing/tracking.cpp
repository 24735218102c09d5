#include "program-editing/tracking.h"

#include "command-language/zav_commands.h"
#include "program-editing/command_list.h"
#include "state/log_dispatch.h"
#include "state/number_format.h"

namespace zav {

bool TTracking::Add(int index, const std::string& value, TCommandList& list) {
    if (index == ciSC)
        return AddScale(value, list);
    TZavCommands& commands = context_.Commands;
    try {
        if (!commands.AddCommand(index, value, &list, TDirect::Off))
            return false;
    } catch (const EConvertError&) {
        context_.Log.ShowMessage(context_.Lang.Message(msgBadParameter));
        return false;
    }
    // The controller's limit is kept, but never silently.
    if (commands.LastValueLimited())
        context_.Log.Log(commands.LimitedNote(value, list.Row(list.Count() - 1).Command));
    return true;
}

bool TTracking::AddScale(const std::string& value, TCommandList& list) {
    const CommandEntry& row = context_.Commands.Commands(ciSC);
    const TLang& lang = context_.Lang;
    double number;
    if (!TryParseFloat(value, number) || number < 1 || number > 2147483647) {
        context_.Log.ShowMessage(lang.Message(msgRangeSteps) + "1" + lang.Message(msgRangeTo) +
                                 "2147483647");
        return false;
    }
    std::int32_t steps;
    if (!TryParseInt(value, steps)) {
        context_.Log.ShowMessage(lang.Message(msgBadParameter));
        return false;
    }
    list.Append(row.Mnemonic + std::to_string(steps),
                row.Description + std::to_string(steps) + row.ParamLabel);
    return true;
}

void TTracking::Send(const TCommandList& list) {
    if (!list.Empty()) {
        std::string sent;
        for (const std::string& line : list.Lines())
            sent += (sent.empty() ? "" : ", ") + line;
        context_.Log.Log(context_.Lang.Message(msgTrackingSent) + sent);
    }
    context_.MemoSend.Assign(list.Rows());
    send_();
}

void TTracking::SendOne(int index, const std::string& value) {
    // Sent even when the value was refused: an empty exchange, as the button always did.
    TCommandList list;
    Add(index, value, list);
    Send(list);
}

void TTracking::btnTrackSTSpeedClick(const std::string& value) {
    SendOne(ciSS, value);
}

void TTracking::btnTrackSpeedClick(const std::string& value) {
    SendOne(ciSD, value);
}

void TTracking::btnTrackAccelClick(const std::string& value) {
    SendOne(ciAL, value);
}

void TTracking::btnTrackScaleClick(const std::string& value) {
    SendOne(ciSC, value);
}

void TTracking::btnTrackApplyClick(const TTrackingValues& values) {
    TCommandList list;
    Add(ciSS, values.StartSpeed, list);
    Add(ciSD, values.Speed, list);
    Add(ciAL, values.Accel, list);
    Add(ciSC, values.Scale, list);
    Send(list);
}

} // namespace zav
