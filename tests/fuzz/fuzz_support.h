#pragma once
// What the fuzz targets share: a check that aborts, the input unscrambled as a reader
// sees a file's bytes, and a controller built once for the targets that need one.

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "controller/controller.h"
#include "null_views.h"
#include "state/encoded_stream.h"
#include "state/paths.h"

namespace zav::fuzz {

inline void Check(bool condition) {
    if (!condition)
        std::abort();
}

// The inputs are the bytes of the files on disk, so that a finding dropped into Data/
// reproduces it.
inline std::string Unscrambled(const std::uint8_t* data, std::size_t size) {
    std::string bytes(reinterpret_cast<const char*>(data), size);
    for (char& c : bytes)
        c = static_cast<char>(static_cast<unsigned char>(c) - TEncodedStream::Key());
    return bytes;
}

// One controller for the whole run: building one costs far more than an input. Its
// folder is one that does not exist, so it starts from its defaults and writes nowhere.
inline TController& Controller() {
    static TQueueDispatcher dispatcher;
    static test::TNullViews views;
    static TController* controller = [] {
        SetAppDir((std::filesystem::temp_directory_path() / "zav-fuzz-none").string());
        return new TController(dispatcher, views.Views());
    }();
    return *controller;
}

// Runs what the controller posted to the window thread.
inline void Drain() {
    static_cast<TQueueDispatcher&>(Controller().Dispatcher()).Drain();
}

} // namespace zav::fuzz
