#pragma once
// zavctl's command line: which port, which command and its arguments, and the exit
// statuses that scripts test.

#include <cstdint>
#include <string>
#include <vector>

namespace zavctl {

enum TExitStatus : int {
    exOk = 0,
    exControllerError = 1, // the controller reported an error or did not answer
    exWarnings = 1,        // check: the list has warnings
    exUsage = 2,           // a wrong command line, or a file that cannot be read or written
    exPortNotOpened = 3,
};

enum class TCommand { None, Send, Read, SendLine, Ports, Check, Help };

struct TCtlOptions {
    TCommand Command = TCommand::None;
    std::uint32_t Port = 0; // --port N; 0: the port of Data/portp.dat
    std::string Device;     // --device PATH
    std::string File;       // send, check: the command file
    std::string Line;       // send-line: the command
    bool Buffer = false;    // read --buffer
    int Coordinate = 1;     // read --coordinate N: whose stored program
    std::string Output;     // read -o FILE.zav; empty: print the commands
    std::string Svg;        // check --svg FILE.svg: the motion preview as a picture
};

// Fills options from the arguments after the program name. Returns an empty text on
// success, else what is wrong with the command line.
std::string ParseCtlArgs(const std::vector<std::string>& args, TCtlOptions& options);
std::string CtlUsage();

} // namespace zavctl
