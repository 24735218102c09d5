#include "ctl_options.h"

#include <charconv>

namespace zavctl {

namespace {
struct TCommandName {
    const char* Name;
    TCommand Command;
    std::size_t Arguments;
};
constexpr TCommandName CommandNames[] = {
    {"send", TCommand::Send, 1},          {"read", TCommand::Read, 0},
    {"send-line", TCommand::SendLine, 1}, {"ports", TCommand::Ports, 0},
    {"check", TCommand::Check, 1},
};

bool ParsePortNumber(const std::string& text, std::uint32_t& number) {
    const char* end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, number);
    return ec == std::errc() && ptr == end && number >= 1 && number <= 255;
}
} // namespace

std::string ParseCtlArgs(const std::vector<std::string>& args, TCtlOptions& options) {
    options = {};
    std::vector<std::string> words;
    bool portGiven = false, outputGiven = false, coordinateGiven = false, optionsEnded = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (optionsEnded || arg.empty() || arg[0] != '-' || arg == "-") {
            words.push_back(arg);
            continue;
        }
        if (arg == "--") {
            optionsEnded = true;
            continue;
        }
        if (arg == "-h" || arg == "--help") {
            options.Command = TCommand::Help;
            return {};
        }
        if (arg == "--buffer") {
            options.Buffer = true;
            continue;
        }
        if (arg != "--port" && arg != "--device" && arg != "-o" && arg != "--coordinate" &&
            arg != "--svg")
            return "unknown option " + arg;
        if (i + 1 >= args.size())
            return arg + " needs a value";
        const std::string& value = args[++i];
        if (arg == "--port") {
            if (!ParsePortNumber(value, options.Port))
                return "--port needs a port number from 1 to 255, not \"" + value + "\"";
            portGiven = true;
        } else if (arg == "--coordinate") {
            if (value.size() != 1 || value[0] < '1' || value[0] > '3')
                return "--coordinate needs 1, 2 or 3, not \"" + value + "\"";
            options.Coordinate = value[0] - '0';
            coordinateGiven = true;
        } else if (arg == "--device") {
            if (value.empty())
                return "--device needs a device path";
            options.Device = value;
        } else if (arg == "--svg") {
            if (value.empty())
                return "--svg needs a file name";
            options.Svg = value;
        } else {
            if (value.empty())
                return "-o needs a file name";
            options.Output = value;
            outputGiven = true;
        }
    }
    if (words.empty())
        return "no command given";
    const TCommandName* command = nullptr;
    for (const auto& candidate : CommandNames)
        if (words[0] == candidate.Name)
            command = &candidate;
    if (!command)
        return "unknown command \"" + words[0] + "\"";
    if (words.size() - 1 != command->Arguments)
        return words[0] + (command->Arguments ? " takes one argument" : " takes no argument");
    options.Command = command->Command;
    if (command->Arguments)
        (options.Command == TCommand::SendLine ? options.Line : options.File) = words[1];
    if (portGiven && !options.Device.empty())
        return "give either --port or --device, not both";
    if ((options.Buffer || outputGiven || coordinateGiven) && options.Command != TCommand::Read)
        return "--buffer, --coordinate and -o belong to the read command";
    if (options.Buffer && coordinateGiven)
        return "give either --buffer or --coordinate, not both";
    if (!options.Svg.empty() && options.Command != TCommand::Check)
        return "--svg belongs to the check command";
    if ((portGiven || !options.Device.empty()) &&
        (options.Command == TCommand::Ports || options.Command == TCommand::Check))
        return words[0] + " takes no port";
    if (options.Command == TCommand::SendLine && options.Line.empty())
        return "send-line needs a command";
    return {};
}

std::string CtlUsage() {
    return "usage: zavctl [--port N | --device PATH] COMMAND\n"
           "\n"
           "  send FILE.zav          send a command file to the controller, line by line\n"
           "  read [--coordinate N | --buffer] [-o FILE.zav]\n"
           "                         read back the program stored for coordinate N (1, 2\n"
           "                         or 3; default 1) or the command buffer,\n"
           "                         and write it to FILE.zav and FILE._zav, or print it\n"
           "  send-line COMMAND      send one command (\"MV1000\") and print the reply\n"
           "  ports                  list the serial devices of this system\n"
           "  check [--svg FILE.svg] FILE.zav\n"
           "                         check a command file without a controller: print its\n"
           "                         warnings with their line numbers, their count, and the\n"
           "                         estimated duration of each recorded coordinate; --svg\n"
           "                         also writes the motion preview as a picture\n"
           "\n"
           "Without --port or --device the port of Data/portp.dat is used, and the reply\n"
           "time and error handling come from Data/erp.dat, as in the program.\n"
           "Exit status: 0 success, 1 the controller reported an error or did not answer\n"
           "(check: the list has warnings), 2 usage error or unusable file (check: missing,\n"
           "unreadable, or not a command list), 3 the port could not be opened.\n";
}

} // namespace zavctl
