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
    auto m = [this](int k) { return lang_.Message(k); };
    const std::string lastReply = datas_.LastReply.Get();

    switch (reply[2]) {
    case '0':
        if (datas_.Recording) {
            if (lastReply != "ED*") {
                c.MemoRead.Add(lastReply + Acknowledged);
            } else {
                for (int k = 1; k <= 3; ++k)
                    if (datas_.CoordState(k) == 2)
                        datas_.SetCoordState(k, 0);
                c.Log(m(28) + n + m(29));
            }
        } else if (lastReply.compare(0, 2, "LD") == 0) {
            setState(2);
            c.Log(m(30) + n + m(31));
        } else if (lastReply.compare(0, 2, "RD") == 0) {
            datas_.ReadCapture = true;
        } else if (lastReply.compare(0, 2, "ST") == 0 && !datas_.DirectControl) {
            c.Log(m(30) + n + m(32));
            setState(1);
        }
        break;
    case '2':
        setState(3);
        c.Log(m(33) + n);
        break;
    case '3':
        c.ShowMessage(m(34) + n);
        break;
    case '4':
        if (lastReply.find("PS") == std::string::npos) {
            setState(0);
            c.Log(m(30) + n + m(35));
        }
        break;
    case '6':
        c.Log(m(37), true);
        break;
    case '8':
        c.Log(m(38) + n);
        setState(1);
        break;
    case '9':
        c.Log(m(39), true);
        break;
    default:
        break;
    }
}

} // namespace zav
