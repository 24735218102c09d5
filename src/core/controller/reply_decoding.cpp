#include "command-language/zav_commands.h"
#include "controller/controller.h"

namespace zav {

namespace {
// The controller's acknowledgement after each recorded command: Cyrillic capital O, K.
const std::string Acknowledged = "\xD0\x9E\xD0\x9A";
} // namespace

void TZavCommands::DecodeReplyCode(const std::string& reply) {
    if (!controller_ || reply.size() < 4)
        return;
    TController& c = *controller_;
    const char digit = reply[1];
    const std::string n(1, digit);
    const int coordinate = digit >= '1' && digit <= '3' ? digit - '0' : 0;
    auto setState = [&](std::uint8_t state) {
        if (coordinate)
            datas_.SetCoordState(coordinate, state);
    };
    // Message a + n + message b (b 0: none). The texts are looked up on the main thread,
    // where the language may change.
    auto textFor = [this](const std::string& k, int a, int b) {
        return lang_.Message(a) + k + (b ? lang_.Message(b) : std::string());
    };
    auto text = [textFor, n](int a, int b) { return textFor(n, a, b); };
    auto logFor = [&c, textFor](const std::string& k, int a, int b, bool red = false) {
        c.OnMain([&c, textFor, k, a, b, red] { c.Log(textFor(k, a, b), red); });
    };
    auto log = [logFor, n](int a, int b, bool red = false) { logFor(n, a, b, red); };
    const std::string lastReply = datas_.LastReply.Get();

    switch (reply[2]) {
    case '0':
        if (datas_.Recording) {
            if (lastReply != "ED*") {
                c.OnMain([&c, line = lastReply + Acknowledged] { c.MemoRead.Add(line); });
            } else {
                for (int k = 1; k <= 3; ++k)
                    if (datas_.CoordState(k) == 2)
                        datas_.SetCoordState(k, 0);
                if (c.recordingCut_.exchange(false))
                    log(msgRecordingCut, msgRecordingCutEnd, true);
                else
                    log(28, 29);
            }
        } else if (lastReply.compare(0, 2, "LD") == 0) {
            c.recordingCut_ = false;
            setState(2);
            log(30, 31);
        } else if (lastReply.compare(0, 2, "RD") == 0) {
            datas_.ReadCapture = true;
        } else if (lastReply == "ST*") {
            // One command starts all three coordinates, and one code 0 answers it, with
            // whichever digit; each coordinate then reports its own end. In direct control
            // too: the indicator shows what the controller acknowledged.
            for (int k = 1; k <= 3; ++k) {
                logFor(std::to_string(k), 30, 32);
                datas_.SetCoordState(k, 1);
            }
        } else if (lastReply.compare(0, 2, "ST") == 0 && !c.SimpleMode().StopAccepted(coordinate)) {
            // An accepted stop is not a start: the coordinate runs until its end code.
            log(30, 32);
            setState(1);
        }
        break;
    case '2':
        setState(3);
        log(33, 0);
        break;
    case '3':
        c.OnMain([&c, text] { c.ShowMessage(text(34, 0)); });
        break;
    case '4':
        if (lastReply.find("PS") == std::string::npos) {
            setState(0);
            log(30, 35);
        }
        break;
    case '6':
        c.OnMain([&c, this] { c.Log(lang_.Message(37), true); });
        break;
    case '8':
        log(38, 0);
        setState(1);
        break;
    case '9':
        c.OnMain([&c, this] { c.Log(lang_.Message(39), true); });
        break;
    default:
        break;
    }
}

} // namespace zav
