#include "controller/reply_processor.h"
#include "controller/simple_mode.h"
#include "controller/text_lines.h"
#include "localisation/lang.h"
#include "state/common_datas.h"

namespace zav {

namespace {
// The controller's acknowledgement after each recorded command: Cyrillic capital O, K.
const std::string Acknowledged = "\xD0\x9E\xD0\x9A";
} // namespace

void TReplyProcessor::DecodeReplyCode(const std::string& reply) {
    if (reply.size() < 4)
        return;
    TCommonDatas& datas = parts_.Datas;
    const char digit = reply[1];
    const std::string n(1, digit);
    const int coordinate = digit >= '1' && digit <= '3' ? digit - '0' : 0;
    auto setState = [&](std::uint8_t state) {
        if (coordinate)
            datas.SetCoordState(coordinate, state);
    };
    // Message a + n + message b (b 0: none). The texts are looked up on the main thread,
    // where the language may change.
    auto textFor = [&lang = parts_.Lang](const std::string& k, int a, int b) {
        return lang.Message(a) + k + (b ? lang.Message(b) : std::string());
    };
    auto text = [textFor, n](int a, int b) { return textFor(n, a, b); };
    auto logFor = [this, textFor](const std::string& k, int a, int b, bool red = false) {
        outlets_.OnMain([this, textFor, k, a, b, red] { outlets_.Log(textFor(k, a, b), red); });
    };
    auto log = [logFor, n](int a, int b, bool red = false) { logFor(n, a, b, red); };
    const std::string lastReply = datas.LastReply.Get();

    switch (reply[2]) {
    case '0':
        if (datas.Recording) {
            if (lastReply != "ED*") {
                outlets_.OnMain(
                    [this, line = lastReply + Acknowledged] { parts_.MemoRead.Add(line); });
            } else {
                for (int k = 1; k <= 3; ++k)
                    if (datas.CoordState(k) == 2)
                        datas.SetCoordState(k, 0);
                if (recordingCut_.exchange(false))
                    log(msgRecordingCut, msgRecordingCutEnd, true);
                else
                    log(msgRecordingTo, msgRecordingCompleted);
            }
        } else if (lastReply.compare(0, 2, "LD") == 0) {
            recordingCut_ = false;
            setState(2);
            log(msgCoordinate, msgInCommunicationMode);
        } else if (lastReply.compare(0, 2, "RD") == 0) {
            datas.ReadCapture = true;
        } else if (lastReply == "ST*") {
            // One command starts all three coordinates, and one code 0 answers it, with
            // whichever digit; each coordinate then reports its own end. In direct control
            // too: the indicator shows what the controller acknowledged.
            for (int k = 1; k <= 3; ++k) {
                logFor(std::to_string(k), msgCoordinate, msgExecutionStarted);
                datas.SetCoordState(k, 1);
            }
        } else if (lastReply.compare(0, 2, "ST") == 0 &&
                   !parts_.SimpleMode.StopAccepted(coordinate)) {
            // An accepted stop is not a start: the coordinate runs until its end code.
            log(msgCoordinate, msgExecutionStarted);
            setState(1);
        }
        break;
    case '2':
        setState(3);
        log(msgExecutionSuspended, msgNone);
        break;
    case '3':
        outlets_.OnMain([this, text] { outlets_.ShowMessage(text(msgProgramError, msgNone)); });
        break;
    case '4':
        if (lastReply.find("PS") == std::string::npos) {
            setState(0);
            log(msgCoordinate, msgExecutionCompleted);
        }
        break;
    case '6':
        LogMessage(msgIncorrectCommand, true);
        break;
    case '8':
        log(msgExecutionResumed, msgNone);
        setState(1);
        break;
    case '9':
        LogMessage(msgIncorrectData, true);
        break;
    default:
        break;
    }
}

} // namespace zav
