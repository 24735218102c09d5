#include <chrono>
#include <thread>

#include "command-language/zav_commands.h"
#include "controller/controller.h"

namespace zav {

void TZavCommands::StopControllerRecording() {
    if (!controller_)
        return;
    TComPort& port = controller_->Port();
    if (!port.Connected()) {
        controller_->LogMessage(msgRecoveryWriteFailed, true);
        return;
    }
    // The controller needs a quiet line before and after the ED* that ends recording.
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    const bool sent = port.SendString("ED*");
    if (sent)
        controller_->recoveryEdOutstanding_ = true;
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    // A step that did not reach the controller must not look done.
    if (sent)
        controller_->LogMessage(41);
    else
        controller_->LogMessage(msgRecoveryWriteFailed, true);
}

void TZavCommands::ClearReadinessMarks() {
    if (!controller_)
        return;
    controller_->ProcessReplies("");
    datas_.LastReply = "";
    datas_.LastError = "";
    controller_->SenderIdleEvent.Set();
    controller_->ReplyEvent.Reset();
    controller_->LogMessage(40);
}

void TZavCommands::RunRecovery() {
    if (datas_.RecoveryStopRecording)
        StopControllerRecording();
    if (datas_.RecoveryClearBuffers)
        ClearReadinessMarks();
}

} // namespace zav
