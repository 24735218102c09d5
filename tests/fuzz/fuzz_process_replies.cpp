// Feeds arbitrary received bytes, cut into arbitrary blocks, to reply processing and
// checks that the state it leaves stays within its bounds.
// libFuzzer flags: -detect_leaks=0
// (the controller kept across inputs holds what they leave, which is no leak)

#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using zav::fuzz::Check;
    zav::TController& controller = zav::fuzz::Controller();
    auto& datas = controller.CommonDatas();
    // Recovery would pause 400 ms per data transfer error to send on a closed port.
    datas.RecoveryStopRecording = false;
    // The first byte of each chunk gives the length of the block that follows it.
    std::size_t i = 0;
    while (i < size) {
        const std::size_t len = std::min<std::size_t>(data[i] % 64 + 1, size - i - 1);
        ++i;
        controller.HandleReceived(data + i, static_cast<std::uint32_t>(len), 0);
        i += len;
        if (len == 0)
            break;
    }
    Check(controller.Replies().ReceiveBuffer().size() <= 4096);
    Check(datas.Coord1State <= 3 && datas.Coord2State <= 3 && datas.Coord3State <= 3);
    Check(datas.AnyStarted == (datas.Coord1Started || datas.Coord2Started || datas.Coord3Started));
    const std::string lastError = datas.LastError.Get();
    Check(lastError.empty() || (lastError.size() == 4 && lastError[0] == 'E'));
    zav::fuzz::Drain();
    // The next input starts from no reply. Emptied here rather than before, so that an
    // input frees what it allocated and libFuzzer's leak check stays quiet.
    controller.Replies().ClearReceiveBuffer();
    controller.lbBufRead().Clear();
    for (int n = 1; n <= 3; ++n)
        datas.SetCoordStarted(n, false);
    datas.SetCoordStates(0, 0, 0);
    datas.LastReply = "";
    datas.LastError = "";
    datas.ReadBuffer = std::string();
    datas.ReadCapture = false;
    return 0;
}
