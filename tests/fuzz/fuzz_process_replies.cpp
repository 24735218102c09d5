// Feeds arbitrary received bytes, cut into arbitrary blocks, to reply processing and
// checks that the state it leaves stays within its bounds.

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <memory>

#include "controller/controller.h"
#include "null_views.h"
#include "state/paths.h"

namespace {

void Check(bool condition) {
    if (!condition)
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static zav::TQueueDispatcher dispatcher;
    static zav::test::TNullLog log;
    static zav::test::TNullMessageBox messageBox;
    static const bool appDirSet = [] {
        zav::SetAppDir((std::filesystem::temp_directory_path() / "zav-fuzz").string());
        return true;
    }();
    (void)appDirSet;

    zav::TControllerViews views;
    views.Log = &log;
    views.MessageBox = &messageBox;
    zav::TController controller(dispatcher, views);
    // Recovery would pause 400 ms per data transfer error to send on a closed port.
    controller.CommonDatas().RecoveryStopRecording = false;

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
    auto& datas = controller.CommonDatas();
    Check(controller.ReceiveBuffer.size() <= 4096);
    Check(datas.Coord1State <= 3 && datas.Coord2State <= 3 && datas.Coord3State <= 3);
    Check(datas.AnyStarted == (datas.Coord1Started || datas.Coord2Started || datas.Coord3Started));
    const std::string lastError = datas.LastError.Get();
    Check(lastError.empty() || (lastError.size() == 4 && lastError[0] == 'E'));
    dispatcher.Drain();
    return 0;
}
