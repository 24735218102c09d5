#pragma once
// Where the catalogue puts a command it has built: a line to send and the text the
// operator sees for it. The command list implements it.

#include <string>

namespace zav {

class ICommandSink {
public:
    virtual ~ICommandSink() = default;
    virtual void Append(std::string command, std::string description) = 0;
};

} // namespace zav
