#pragma once
// The fixture of the end-to-end tests: a controller whose port is open on the simulator,
// COM 1 of a folder of the test's own.

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>

#include "controller/controller.h"
#include "fakes.h"
#include "sim_peer.h"
#include "state/paths.h"

namespace zav::test {

class SimFixture : public ::testing::Test {
protected:
    // The simulator runs a hundred times faster than the controller unless the options say
    // otherwise. views: what the controller reports to, this fixture's recorders if empty.
    void Start(zavsim::TSimOptions options = {}, TControllerViews v = {}) {
        options.Port = 1;
        options.PortsDir = (folder.Path() / "ports").string();
        if (options.TimeScale == 1.0)
            options.TimeScale = 0.01;
        sim = std::make_unique<TSimPeer>(options);
        sim->Start();
        SetAppDir(folder.Path().string());
        if (!v.Log)
            v = views.Views();
        controller = std::make_unique<TController>(dispatcher, v);
        // A reply made late by a loaded machine is not what a test is about; a test of
        // time-outs sets its own.
        Datas().ReplyTimeout = 5000;
        OpenPort();
        views.log.lines.clear();
        views.messageBox.shown.clear();
    }
    void OpenPort() {
        controller->Port().SetPortsDir((folder.Path() / "ports").string());
        controller->Port().SetPortNumber(1);
        controller->Port().Open();
        controller->Port().SetReceiving(true);
    }
    ~SimFixture() override {
        controller.reset();
        dispatcher.Drain();
    }

    void Send(std::vector<std::string> lines) {
        controller->MemoSend().SetLines(std::move(lines));
        controller->btnRunTRClick();
    }
    bool Until(const std::function<bool()>& done, int ms = 10000) {
        return dispatcher.ProcessUntil(done, ms);
    }
    bool ExchangeDone(int ms = 10000) {
        return Until([&] { return !controller->ExchangeRunning(); }, ms);
    }
    TCommonDatas& Datas() { return controller->CommonDatas(); }
    std::string M(int n) { return controller->Lang().Message(n); }

    TempFolder folder;
    TQueueDispatcher dispatcher;
    RecordingViews views;
    std::unique_ptr<TSimPeer> sim;
    std::unique_ptr<TController> controller;
};

} // namespace zav::test
