#pragma once
// Opens a controller's port on the simulator's COM 1, receiving, as Connect would.

#include <string>

#include "controller/controller.h"

inline bool OpenSimulatorPort(zav::TController& controller, const std::string& portsDir) {
    controller.CommonDatas().ReplyTimeout = 5000;
    controller.Port().SetPortsDir(portsDir);
    controller.Port().SetPortNumber(1);
    controller.Port().Open();
    if (!controller.Port().Connected())
        return false;
    controller.Port().SetReceiving(true);
    return true;
}
