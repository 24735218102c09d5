#pragma once
// The simulator at the far end of an end-to-end test: in this process on Linux; on the
// Linux side of Wine for the Windows build, which cannot open a pseudo-terminal.

#ifdef _WIN32
#include "remote_sim.h"
namespace zav::test {
using TSimPeer = TRemoteSim;
}
#else
#include "zavsim.h"
namespace zav::test {
using TSimPeer = zavsim::TSimulator;
}
#endif
