#include <windows.h>

#include "serial/device_list.h"

namespace zav {

std::vector<TSerialDevice> ListSerialDevices() {
    std::vector<std::pair<std::string, std::string>> values;
    HKEY key;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, "HARDWARE\\DEVICEMAP\\SERIALCOMM", 0, KEY_READ, &key) !=
        ERROR_SUCCESS)
        return {};
    for (DWORD i = 0;; ++i) {
        char name[256];
        BYTE data[256];
        DWORD nameSize = sizeof(name), dataSize = sizeof(data) - 1, type = 0;
        const LONG result = RegEnumValueA(key, i, name, &nameSize, nullptr, &type, data, &dataSize);
        if (result == ERROR_NO_MORE_ITEMS)
            break;
        if (result != ERROR_SUCCESS || type != REG_SZ)
            continue;
        data[dataSize] = 0;
        values.emplace_back(std::string(name, nameSize), reinterpret_cast<const char*>(data));
    }
    RegCloseKey(key);
    return ParseSerialCommMap(values);
}

} // namespace zav
