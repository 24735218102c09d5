#pragma once
// The error recovery after a data transfer error, each step switched on in the error
// handling settings: end the controller's recording with ED* on a quiet line, and clear
// the readiness marks (the kept reply text, the last reply and error, the events), so the
// next command is sent into a clean state. Runs on the receive thread when automatic, or
// on the main thread from the recovery dialog.

#include <functional>

namespace zav {

class TComPort;
class TCommonDatas;
class TLang;
class TEvent;
class TReplyProcessor;

class TRecovery {
public:
    struct TParts {
        TComPort& Port;
        TCommonDatas& Datas;
        TReplyProcessor& Replies;
        TEvent& SenderIdleEvent;
        TEvent& ReplyEvent;
    };
    // logMessage adds message n of the catalogue to the operation log, from any thread.
    TRecovery(TParts parts, std::function<void(int n, bool red)> logMessage)
        : parts_(parts), logMessage_(std::move(logMessage)) {}

    // Sleeps 2 x 200 ms around the ED*.
    void StopControllerRecording();
    void ClearReadinessMarks();
    // The steps switched on, in this order.
    void RunRecovery();

private:
    TParts parts_;
    std::function<void(int, bool)> logMessage_;
};

} // namespace zav
