// Arbitrary bytes as Data/portp.dat: the port number taken is one that can be opened,
// or the one held before.

#include "controller/controller.h"
#include "null_views.h"
#include "settings_fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace zav;
    static TQueueDispatcher dispatcher;
    static test::TNullLog log;
    static test::TNullMessageBox messageBox;
    fuzz::WriteSettingsFile("portp.dat", data, size);
    TControllerViews views;
    views.Log = &log;
    views.MessageBox = &messageBox;
    TController controller(dispatcher, views);
    controller.Port().SetPortNumber(300); // never a stored number
    controller.LoadPortSettings();
    const std::uint32_t number = controller.Port().PortNumber();
    fuzz::Check(number == 300 || (number >= 1 && number <= 255));
    dispatcher.Drain();
    return 0;
}
