// Arbitrary bytes as Data/portp.dat: the port number taken is one that can be opened,
// or the one held before.
// libFuzzer flags: -detect_leaks=0
// (the controller kept across inputs holds what they leave, which is no leak)

#include "fuzz_support.h"
#include "settings/settings_table.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace zav;
    TController& controller = fuzz::Controller();
    controller.Port().SetPortNumber(300); // never a stored number
    controller.PortConnection().ApplyPortSettingsLines(
        SettingsLines(fuzz::Unscrambled(data, size)));
    const std::uint32_t number = controller.Port().PortNumber();
    fuzz::Check(number == 300 || (number >= 1 && number <= 255));
    fuzz::Drain();
    return 0;
}
