#include "serial/device_list.h"

namespace zav {

std::vector<TSerialDevice> ListSerialDevices() {
    return ListSerialDevicesIn("/");
}

} // namespace zav
