#include <chrono>
#include <thread>

#include "command-language/zav_commands.h"
#include "controller/controller.h"

namespace zav {

void TZavCommands::StopControllerRecording() {
    if (!controller_)
        return;
    // The controller needs a quiet line before and after the ED* that ends recording.
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    if (controller_->Port().SendString("ED*"))
        controller_->recoveryEdOutstanding_ = true;
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    controller_->LogMessage(41);
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
