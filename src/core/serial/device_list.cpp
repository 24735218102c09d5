#include "serial/device_list.h"

#include <algorithm>
#include <filesystem>
#include <fstream>

namespace zav {

namespace fs = std::filesystem;

namespace {
// The first line of a sysfs attribute, without its line end; empty if unreadable.
std::string Attribute(const fs::path& file) {
    std::ifstream in(file);
    std::string line;
    std::getline(in, line);
    while (!line.empty() && (line.back() == '\n' || line.back() == '\r' || line.back() == ' '))
        line.pop_back();
    return line;
}

bool StartsWith(const std::string& text, const char* prefix) {
    return text.rfind(prefix, 0) == 0;
}

// ttyS1 before ttyS10: names compare by their text, then by their number.
bool NaturalLess(const std::string& a, const std::string& b) {
    auto split = [](const std::string& s) {
        std::size_t i = s.size();
        while (i > 0 && std::isdigit(static_cast<unsigned char>(s[i - 1])))
            --i;
        const std::string digits = s.substr(i);
        return std::make_pair(s.substr(0, i), digits.empty() ? -1L : std::stol(digits));
    };
    return split(a) < split(b);
}

// The USB device a tty belongs to: the nearest folder above its device that has an
// idVendor attribute.
void ReadUsb(const fs::path& device, TSerialDevice& out) {
    std::error_code ec;
    fs::path dir = fs::weakly_canonical(device, ec);
    for (int up = 0; up < 6 && !ec && !dir.empty() && dir.has_relative_path(); ++up) {
        if (fs::exists(dir / "idVendor", ec)) {
            out.VendorId = Attribute(dir / "idVendor");
            out.ProductId = Attribute(dir / "idProduct");
            out.Serial = Attribute(dir / "serial");
            out.Manufacturer = Attribute(dir / "manufacturer");
            out.Product = Attribute(dir / "product");
            return;
        }
        dir = dir.parent_path();
    }
}
} // namespace

std::string TSerialDevice::Description(const std::string& portWord) const {
    std::string text = Path;
    std::string about;
    auto add = [&about](const std::string& part) {
        if (!part.empty())
            about += (about.empty() ? "" : ", ") + part;
    };
    add(Manufacturer);
    add(Product);
    if (!VendorId.empty())
        add("USB " + VendorId + ":" + ProductId);
    if (about.empty())
        add(Driver == "port" ? portWord : Driver);
    if (!about.empty())
        text += " (" + about + ")";
    if (!ById.empty())
        text += " - " + fs::path(ById).filename().string();
    return text;
}

std::vector<TSerialDevice> ListSerialDevicesIn(const std::string& root) {
    const fs::path base(root);
    std::vector<TSerialDevice> devices;
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(base / "sys/class/tty", ec)) {
        const std::string name = entry.path().filename().string();
        const bool usb = StartsWith(name, "ttyUSB") || StartsWith(name, "ttyACM");
        if (!usb && !StartsWith(name, "ttyS"))
            continue;
        // A ttyS without a UART behind it has type 0 (unknown).
        if (!usb && Attribute(entry.path() / "type") == "0")
            continue;
        std::error_code gone;
        if (!fs::exists(base / "dev" / name, gone))
            continue; // vanished since it was listed
        TSerialDevice device;
        device.Path = "/dev/" + name;
        const fs::path sysDevice = entry.path() / "device";
        device.Driver = fs::read_symlink(sysDevice / "driver", gone).filename().string();
        ReadUsb(sysDevice, device);
        devices.push_back(std::move(device));
    }
    // Stable names for the same device whatever order it was plugged in.
    for (const auto& link : fs::directory_iterator(base / "dev/serial/by-id", ec)) {
        std::error_code bad;
        const fs::path target = fs::read_symlink(link.path(), bad);
        if (bad)
            continue;
        const std::string name = target.filename().string();
        for (TSerialDevice& device : devices)
            if (fs::path(device.Path).filename() == name)
                device.ById = "/dev/serial/by-id/" + link.path().filename().string();
    }
    std::sort(devices.begin(), devices.end(), [](const TSerialDevice& a, const TSerialDevice& b) {
        return NaturalLess(a.Path, b.Path);
    });
    return devices;
}

std::vector<TSerialDevice>
ParseSerialCommMap(const std::vector<std::pair<std::string, std::string>>& values) {
    std::vector<TSerialDevice> devices;
    for (const auto& [deviceName, portName] : values) {
        if (!StartsWith(portName, "COM") || portName.size() < 4)
            continue;
        if (!std::all_of(portName.begin() + 3, portName.end(),
                         [](char c) { return c >= '0' && c <= '9'; }))
            continue;
        TSerialDevice device;
        device.Path = portName;
        const std::size_t slash = deviceName.find_last_of('\\');
        device.Driver = slash == std::string::npos ? deviceName : deviceName.substr(slash + 1);
        devices.push_back(std::move(device));
    }
    std::sort(devices.begin(), devices.end(), [](const TSerialDevice& a, const TSerialDevice& b) {
        return NaturalLess(a.Path, b.Path);
    });
    return devices;
}

bool LinkPortToDevice(const std::string& portsDir, int n, const std::string& device,
                      std::string& error) {
    std::error_code ec;
    const fs::path link = fs::path(portsDir) / ("COM" + std::to_string(n));
    fs::create_directories(portsDir, ec);
    const fs::file_status status = fs::symlink_status(link, ec);
    if (fs::exists(status) && !fs::is_symlink(status)) {
        error = link.string() + " exists and is not a link";
        return false;
    }
    // A new link beside the old one, renamed over it: COM n always names a device.
    const fs::path fresh = link.string() + ".new";
    fs::remove(fresh, ec);
    fs::create_symlink(device, fresh, ec);
    if (!ec)
        fs::rename(fresh, link, ec);
    if (ec) {
        fs::remove(fresh, ec);
        error = link.string() + ": " + ec.message();
        return false;
    }
    return true;
}

int LinkedPortNumber(const std::string& portsDir, const std::string& device) {
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(portsDir, ec)) {
        const std::string name = entry.path().filename().string();
        if (!StartsWith(name, "COM") || name.size() < 4 || name.size() > 6)
            continue;
        if (!std::all_of(name.begin() + 3, name.end(), [](char c) { return c >= '0' && c <= '9'; }))
            continue;
        std::error_code bad;
        if (fs::read_symlink(entry.path(), bad) == fs::path(device) && !bad)
            return std::stoi(name.substr(3));
    }
    return 0;
}

} // namespace zav
