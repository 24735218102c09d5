#pragma once
// Turning the text a controller sends back for a stored program ("RD1*SD200*MV1000*ED*")
// into a command list. The controller's values are steps: the command texts keep them
// exactly, the descriptions show them in the current user units. Nothing is sent.

#include <string>
#include <vector>

namespace zav {

class TCommandList;
class TCommonDatas;
class TZavCommands;

struct TReadResult {
    bool HasWrongCommand = false;     // an unknown mnemonic was listed
    std::vector<std::string> Refused; // items left out, as received
};

class TReadProgramParser {
public:
    // Items are separated by "*" and may run across lines; a stray "*" is skipped. The
    // end mark and the request's echo (ED, RB, RD) are not listed. list is replaced.
    static TReadResult Parse(const std::vector<std::string>& lines, const TZavCommands& commands,
                             const TCommonDatas& datas, TCommandList& list);
};

} // namespace zav
