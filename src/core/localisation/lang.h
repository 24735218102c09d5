#pragma once
// The language catalogue: the form texts of one group of windows at a time and the
// message table, filled from the language files lang/<L>/<L><section>.lng beside the
// executable, with built-in English texts (each beginning with "*") where a file
// supplies none.

#include <stdexcept>
#include <string>
#include <vector>

#include "state/views.h"

namespace zav {

class TCommonDatas;

// A line number part that is no 32-bit decimal integer.
class EConvertError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Messages of this program's own, numbered after the last message of the catalogue
// (86). Every shipped language has them, in this order; the built-in table in
// lang.cpp holds their English texts.
enum TOwnMessage : int {
    msgListNotSent = 87,
    msgReadRecording,
    msgNoCorrectProgram,
    msgReadWrongCommand,
    msgReadDuringExchange,
    msgExchangeDuringRead,
    msgReadItemsRefused,
    msgLinesNotConverted,
    msgFileError,
    msgRecoveryWriteFailed,
    msgFilesNotSaved,
    msgInRecoverySequence,
    msgRunStepNow,
    msgListStoppedAtLine, // a data transfer error stopped the list at line n ...
    msgListStoppedOf,     // ... of m
    msgNoiseDiscarded,
    msgOwnEnd // one past the last
};

class TLang {
public:
    static constexpr int InitialFormTexts = 58;       // "f1" + table A
    static constexpr int InitialMessages = msgOwnEnd; // "msg" + table C + empty 86 + own

    std::vector<std::string> FormTexts;
    std::vector<std::string> Messages;

    // Create: the built-in tables, then the messages of datas.Language.
    TLang(TCommonDatas& datas, IMessageBox* messageBox, IOperationLog* log);

    bool LoadFormTexts(const std::string& key);
    bool LoadMessages();
    // Cuts the line down to its text and returns its number (0 for no entry). Throws
    // EConvertError when the number part holds no valid integer.
    static int ParseLineNumber(std::string& line);
    void ReportDamagedFile();

    // Message n, or an empty text for a number beyond the table.
    const std::string& Message(int n) const;
    // lang/<L>/<L><key>.lng beside the executable.
    std::string SectionFileName(const std::string& key) const;

    void AttachView(IMessageBox* messageBox, IOperationLog* log);

private:
    // Loads a section file into table; reset blanks every entry first.
    bool LoadSection(const std::string& key, std::vector<std::string>& table, bool reset);
    void ReportMissingFile(const std::string& fileName);

    TCommonDatas& datas_;
    IMessageBox* messageBox_;
    IOperationLog* log_;
};

} // namespace zav
