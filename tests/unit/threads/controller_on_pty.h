#pragma once
// A controller whose COM 1 is a pseudo-terminal served by the test (TPtyPeer), in a
// folder of its own; the port is set up but not opened.

#include <filesystem>
#include <memory>
#include <string>

#include <gtest/gtest.h>
#include <unistd.h>

#include "controller/controller.h"
#include "fakes.h"
#include "pty_peer.h"
#include "state/paths.h"

namespace zav::test {

class ControllerOnPty : public ::testing::Test {
protected:
    explicit ControllerOnPty(const std::string& name)
        : dir(std::filesystem::temp_directory_path() /
              ("zav-" + name + "-" + std::to_string(::getpid()))) {
        std::filesystem::create_directories(dir);
        SetAppDir(dir.string());
        peer.Link(dir / "ports", 1);
        controller = std::make_unique<TController>(dispatcher, views.Views());
        controller->Port().SetPortsDir((dir / "ports").string());
        controller->Port().SetPortNumber(1);
    }
    ~ControllerOnPty() override {
        controller.reset();
        dispatcher.Drain();
        std::filesystem::remove_all(dir);
    }

    std::filesystem::path dir;
    TPtyPeer peer;
    TQueueDispatcher dispatcher;
    RecordingViews views;
    std::unique_ptr<TController> controller;
};

} // namespace zav::test
