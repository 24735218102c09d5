#pragma once
// What the program-editing classes use of the objects below them: the send list, the
// shared state, the command catalogue, the messages and the operation log. The owner
// of those objects fills it in; it outlives every class that holds one.

namespace zav {

class ILog;
class TCommandList;
class TCommonDatas;
class TLang;
class TZavCommands;

struct TEditingContext {
    TCommandList& MemoSend; // the send list
    TCommonDatas& Datas;
    TZavCommands& Commands;
    const TLang& Lang;
    ILog& Log;
};

} // namespace zav
