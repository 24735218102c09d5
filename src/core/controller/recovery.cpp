#include "controller/recovery.h"

#include <chrono>
#include <thread>

#include "controller/reply_processor.h"
#include "localisation/lang.h"
#include "serial/com_port.h"
#include "serial/event.h"
#include "state/common_datas.h"

namespace zav {

void TRecovery::StopControllerRecording() {
    TComPort& port = parts_.Port;
    if (!port.Connected()) {
        logMessage_(msgRecoveryWriteFailed, true);
        return;
    }
    // The controller needs a quiet line before and after the ED* that ends recording.
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    const bool sent = port.SendString("ED*");
    if (sent)
        parts_.Replies.RecoveryEdSent();
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    // A step that did not reach the controller must not look done.
    if (sent)
        logMessage_(msgRecoveryStopCommunication, false);
    else
        logMessage_(msgRecoveryWriteFailed, true);
}

void TRecovery::ClearReadinessMarks() {
    parts_.Replies.ClearReceiveBuffer();
    parts_.Datas.LastReply = "";
    parts_.Datas.LastError = "";
    parts_.SenderIdleEvent.Set();
    parts_.ReplyEvent.Reset();
    logMessage_(msgRecoveryClearBuffers, false);
}

void TRecovery::RunRecovery() {
    if (parts_.Datas.RecoveryStopRecording)
        StopControllerRecording();
    if (parts_.Datas.RecoveryClearBuffers)
        ClearReadinessMarks();
}

} // namespace zav
