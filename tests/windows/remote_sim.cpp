#include "remote_sim.h"

#include <winsock2.h>
#include <ws2tcpip.h>

#include <cstdlib>
#include <sstream>
#include <stdexcept>

#include "remote_protocol.h"

namespace zav::test {

namespace {
SOCKET Connect() {
    const char* port = std::getenv("ZAV_SIM_SERVER");
    if (port == nullptr)
        throw std::runtime_error(
            "ZAV_SIM_SERVER is not set: run the tests through tools/wine-tests");
    WSADATA data;
    if (WSAStartup(MAKEWORD(2, 2), &data) != 0)
        throw std::runtime_error("no Winsock");
    SOCKET s = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<u_short>(std::atoi(port)));
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (s == INVALID_SOCKET ||
        connect(s, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0)
        throw std::runtime_error(std::string("cannot reach zavsim_remote on port ") + port);
    return s;
}
} // namespace

TRemoteSim::TRemoteSim(const zavsim::TSimOptions& options) : socket_(Connect()) {
    std::string request = "start";
    for (const auto& arg : zavsim::SimOptionArgs(options))
        request += " " + arg;
    Ask(request);
}

TRemoteSim::~TRemoteSim() {
    try {
        Ask("stop");
    } catch (const std::exception&) {
        // the server is gone: so is its simulator
    }
    closesocket(static_cast<SOCKET>(socket_));
}

std::vector<std::string> TRemoteSim::Requests() const {
    const std::size_t count = std::stoul(Ask("requests"));
    std::vector<std::string> requests;
    for (std::size_t i = 0; i < count; ++i)
        requests.push_back(zavsim::UnescapeRequest(ReadLine()));
    return requests;
}

bool TRemoteSim::WaitForRequests(std::size_t count, std::chrono::milliseconds timeout) const {
    return Ask("wait " + std::to_string(count) + " " + std::to_string(timeout.count())) == "1";
}

zavsim::TRunState TRemoteSim::RunState(int coordinate) const {
    return static_cast<zavsim::TRunState>(std::stoi(Ask("state " + std::to_string(coordinate))));
}

std::vector<zavsim::TStoredCommand> TRemoteSim::Program(int coordinate) const {
    const std::size_t count = std::stoul(Ask("program " + std::to_string(coordinate)));
    std::vector<zavsim::TStoredCommand> program;
    for (std::size_t i = 0; i < count; ++i) {
        std::istringstream line(ReadLine());
        std::string mnemonic;
        line >> mnemonic;
        zavsim::TStoredCommand command;
        command.Mnemonic = zavsim::UnescapeRequest(mnemonic);
        if (long long param = 0; line >> param)
            command.Param = param;
        program.push_back(command);
    }
    return program;
}

std::string TRemoteSim::Ask(const std::string& request) const {
    const std::string line = request + "\n";
    std::size_t done = 0;
    while (done < line.size()) {
        const int n = send(static_cast<SOCKET>(socket_), line.data() + done,
                           static_cast<int>(line.size() - done), 0);
        if (n <= 0)
            throw std::runtime_error("zavsim_remote went away");
        done += static_cast<std::size_t>(n);
    }
    const std::string answer = ReadLine();
    if (answer.rfind("ok", 0) != 0)
        throw std::runtime_error("zavsim_remote: " + request + ": " + answer);
    return answer.size() > 3 ? answer.substr(3) : std::string();
}

std::string TRemoteSim::ReadLine() const {
    std::string line;
    char c;
    for (;;) {
        if (recv(static_cast<SOCKET>(socket_), &c, 1, 0) != 1)
            throw std::runtime_error("zavsim_remote went away");
        if (c == '\n')
            return line;
        line += c;
    }
}

} // namespace zav::test
