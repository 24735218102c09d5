// zavsim_remote: hosts simulators for a test program that cannot (one built for Windows
// and run under Wine). It listens on a local TCP port, runs the command given after "--"
// with ZAV_SIM_SERVER set to that port, serves its connections (remote_protocol.h) and
// exits with the command's status.

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <memory>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "remote_protocol.h"
#include "zavsim.h"

namespace {

// Reads one line without its end; false at the end of the connection.
bool ReadLine(int fd, std::string& line) {
    line.clear();
    char c;
    for (;;) {
        const ssize_t n = read(fd, &c, 1);
        if (n <= 0)
            return false;
        if (c == '\n')
            return true;
        line += c;
    }
}

bool WriteAll(int fd, const std::string& text) {
    std::size_t done = 0;
    while (done < text.size()) {
        const ssize_t n = send(fd, text.data() + done, text.size() - done, MSG_NOSIGNAL);
        if (n <= 0)
            return false;
        done += static_cast<std::size_t>(n);
    }
    return true;
}

// One client: its simulator lives from "start" to "stop" or the end of the connection.
void Serve(int fd, const std::string& portsDir) {
    std::unique_ptr<zavsim::TSimulator> sim;
    std::string line;
    while (ReadLine(fd, line)) {
        std::istringstream words(line);
        std::string verb;
        words >> verb;
        std::string answer;
        if (verb == "start") {
            std::vector<std::string> args;
            for (std::string w; words >> w;)
                args.push_back(w);
            zavsim::TSimOptions options;
            std::string error = zavsim::ParseSimOptions(args, options);
            options.PortsDir = portsDir;
            sim.reset(); // its link goes before the new one is made
            if (error.empty()) {
                try {
                    sim = std::make_unique<zavsim::TSimulator>(options);
                    sim->Start();
                } catch (const std::exception& e) {
                    error = e.what();
                }
            }
            answer = error.empty() ? "ok\n" : "error " + error + "\n";
        } else if (verb == "requests" && sim) {
            const auto requests = sim->Requests();
            answer = "ok " + std::to_string(requests.size()) + "\n";
            for (const auto& r : requests)
                answer += zavsim::EscapeRequest(r) + "\n";
        } else if (verb == "wait" && sim) {
            std::size_t count = 0;
            long long ms = 0;
            words >> count >> ms;
            const bool done = sim->WaitForRequests(count, std::chrono::milliseconds(ms));
            answer = done ? "ok 1\n" : "ok 0\n";
        } else if (verb == "state" && sim) {
            int coordinate = 0;
            words >> coordinate;
            answer = "ok " + std::to_string(static_cast<int>(sim->RunState(coordinate))) + "\n";
        } else if (verb == "program" && sim) {
            int coordinate = 0;
            words >> coordinate;
            const auto program = sim->Program(coordinate);
            answer = "ok " + std::to_string(program.size()) + "\n";
            for (const auto& command : program)
                answer += zavsim::EscapeRequest(command.Mnemonic) +
                          (command.Param ? " " + std::to_string(*command.Param) : "") + "\n";
        } else if (verb == "stop") {
            sim.reset();
            answer = "ok\n";
        } else {
            answer = "error no simulator, or unknown request: " + line + "\n";
        }
        if (!WriteAll(fd, answer))
            break;
    }
    close(fd);
}

} // namespace

int main(int argc, char** argv) {
    std::string portsDir;
    int i = 1;
    for (; i < argc && std::string(argv[i]) != "--"; ++i) {
        if (std::string(argv[i]) == "--ports-dir" && i + 1 < argc)
            portsDir = argv[++i];
    }
    if (portsDir.empty() || i + 1 >= argc) {
        std::fputs("usage: zavsim_remote --ports-dir DIR -- COMMAND [ARGS...]\n", stderr);
        return 2;
    }
    const int listener = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    if (listener < 0 || bind(listener, reinterpret_cast<sockaddr*>(&address), length) != 0 ||
        listen(listener, 4) != 0 ||
        getsockname(listener, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
        std::perror("zavsim_remote: listen");
        return 2;
    }
    setenv("ZAV_SIM_SERVER", std::to_string(ntohs(address.sin_port)).c_str(), 1);

    const pid_t child = fork();
    if (child == 0) {
        execvp(argv[i + 1], argv + i + 1);
        std::perror("zavsim_remote: exec");
        _exit(127);
    }
    // Connections are served one after another: the tests run one at a time.
    std::thread server([&] {
        for (;;) {
            const int fd = accept4(listener, nullptr, nullptr, SOCK_CLOEXEC);
            if (fd < 0)
                return; // shut down below
            Serve(fd, portsDir);
        }
    });
    int status = 0;
    waitpid(child, &status, 0);
    shutdown(listener, SHUT_RDWR); // ends the accept
    server.join();
    close(listener);
    if (WIFEXITED(status))
        return WEXITSTATUS(status);
    return 128 + (WIFSIGNALED(status) ? WTERMSIG(status) : 0);
}
