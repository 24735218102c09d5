#pragma once
// The language catalogue: the form texts of one group of windows at a time and the
// message table, filled from the language files lang/<L>/<L><section>.lng beside the
// executable, with built-in English texts (each beginning with "*") where a file
// supplies none.

#include <stdexcept>
#include <string>
#include <vector>

#include "localisation/main_form_texts.h"
#include "state/encoded_stream.h"
#include "state/views.h"

namespace zav {

class TCommonDatas;

// A line number part that is no 32-bit decimal integer.
class EConvertError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The messages of the catalogue, by number (the {N} of the messages file). msgNone stands
// for no second part of a composed line.
enum TCatalogueMessage : int {
    msgNone = 0,
    msgFileNotFound = 1,
    msgFileNotFoundEnd,
    msgPortLabel,
    msgPortOpenError,
    msgDataBits,
    msgStopBits,
    msgParityNone,
    msgParityOdd,
    msgParityEven,
    msgParityMark,
    msgParitySpace,
    msgTransferError,
    msgTransferNotReady,
    msgBadParameter,
    msgWrongCommandInList,
    msgBadFileName,
    msgSoftwareName,
    msgContactOffice,
    msgIntendedFor,
    msgBadUnitsScale,
    msgBadPortNumber,
    msgNoReply,
    msgLanguageFileDamaged,
    msgNotInStandby,
    msgSetLanguage,
    msgRecoveryStarted,
    msgBadReplyTime,
    msgRecordingTo,
    msgRecordingCompleted,
    msgCoordinate,
    msgInCommunicationMode,
    msgExecutionStarted,
    msgExecutionSuspended,
    msgProgramError,
    msgExecutionCompleted,
    msgCommunicationError,
    msgIncorrectCommand,
    msgExecutionResumed,
    msgIncorrectData,
    msgRecoveryClearBuffers,
    msgRecoveryStopCommunication,
    msgDescUnknown,
    msgDescST,
    msgDescCoordinate,
    msgDescPS,
    msgDescLD,
    msgDescED,
    msgDescBG,
    msgDescEN,
    msgDescMV,
    msgDescSteps,
    msgRangeSteps,
    msgRangeTo,
    msgRangeEnter,
    msgRangeNumberFrom,
    msgDescStepsPerSec,
    msgDescPerSec,
    msgRangeSpeed,
    msgDescSS,
    msgRangeStartSpeed,
    msgDescAL,
    msgRangeAcceleration,
    msgDescRS,
    msgDescSP,
    msgDescMs,
    msgRangePause,
    msgDescDS,
    msgDescLL,
    msgDescJP,
    msgDescTimes,
    msgRangeCycles,
    msgDescDL,
    msgDescDR,
    msgDescSF,
    msgRangeOutput,
    msgDescWL,
    msgRangeInput,
    msgDescWH,
    msgDescCF,
    msgDescMH,
    msgDescML,
    msgDescHM,
    msgDescLB,
    msgDescSB,
    msgDescSD,
    msgDescSC,
};
static_assert(msgDescSC == 86, "the catalogue's numbered messages end at 86");

// Messages of this program's own, numbered after the last message of the catalogue
// (86). Every shipped language has them, in this order; the built-in table in
// lang.cpp holds their English texts.
enum TOwnMessage : int {
    msgListNotSent = msgDescSC + 1,
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
    msgPortFileMissing, // + file name + msgPortFileMissingEnd
    msgPortFileMissingEnd,
    msgPortFileNotWritten, // + file name
    msgPortLost,           // + port number + msgPortLostEnd
    msgPortLostEnd,
    msgDiscarded, // + byte count + msgDiscardedEnd
    msgDiscardedEnd,
    msgBuildDate,
    msgToolkitVersion,
    msgPortClosed, // after the port's name
    msgSettingsFolder,
    msgSerialDevices,
    msgRefresh,
    msgCancel,
    msgPortLinkFailed, // + the link and the reason
    msgPortOpenedLog,  // "Com1 (/dev/ttyUSB0)" + this + the port's settings
    msgPortClosedLog,  // "Com1" + this
    msgBaud,           // after the baud rate
    msgSettingRefused,
    msgNoSuchDevice,
    msgNoPermission,
    msgDeviceBusy,
    msgListStoppedAtLine, // a data transfer error stopped the list at line n ...
    msgListStoppedOf,     // ... of m
    msgCtlLine,           // + n + msgCtlLineOf + m: the command-line companion's send progress
    msgCtlLineOf,
    msgProgressElapsed,   // the send progress: line n of m + this + 0:12
    msgProgressRemaining, // ... + this + 1:03
    msgSendStoppedAtLine, // + n + msgListStoppedOf + m: the operator stopped the send
    msgStopSending,       // the button
    msgStopSendingHint,
    msgSendHint,
    msgRecentFiles,              // the File menu's submenu
    msgRecentFileGone,           // + file name: chosen in "Recent files" but no longer there
    msgSessionNotSaved,          // + reason: Data/session.dat could not be written
    msgReconnectWaiting,         // "Com1 (/dev/ttyUSB0)" + this
    msgPortReconnected,          // "Com1 (/dev/ttyUSB0)" + this + the port's settings
    msgReconnectOtherDevice,     // "Com1 (/dev/ttyUSB0)" + this + the device there ...
    msgReconnectOtherDeviceLost, // ... + this + the lost device ...
    msgReconnectOtherDeviceEnd,  // ... + this
    msgReconnectHint,            // tool-tip of the program settings' reconnect check box
    msgStopOutstanding,          // + n + this: Stop left out a coordinate whose stop is unanswered
    msgStopOutstandingEnd,
    msgRecordingCut, // + n + this: a recording ended by the error recovery's ED
    msgRecordingCutEnd,
    msgLinesOutOfRange,       // + "3 (MV100000000), 4 (SD5000000)": after a scale change
    msgListNotSentOutOfRange, // + the same list: Send refused
    msgValueLimited,          // + the value typed + msgValueSentAs + the command sent
    msgValueSentAs,
    msgTrackingSent,        // + "SS200, SD200, AL0, SC1"
    msgReplyTimeoutRefused, // the error settings dialog's reply time is not 1..10000
    msgSettingDefaultTaken, // + file name + ": " + msgSettingsLine + "17 (3)", ...
    msgSettingsLine,
    msgOk,           // a message box's button
    msgExit,         // File > Exit
    msgLanguageName, // the language's own name, offered in the language dialog
    msgDriverPort,   // a serial device whose driver is the generic port driver
    msgFileMissing,  // why a file could not be used, before the system's text
    msgFileNoPermission,
    msgFileReadOnly,
    msgFileDiskFull,
    msgSelectCoordinate, // + n
    msgCoordinateStates,
    msgCoordinateStatesHint,
    msgStepsInOneUnit,
    msgChangeScale,
    msgOperationLog,
    msgCommandList,
    msgCommandListHint,
    msgDirectControlHint,
    msgLoadingList,
    msgResponseList,
    msgClearResponses,
    msgSendProgressName,
    msgMovement,
    msgMaximumSpeed,
    msgStartSpeed,
    msgAccelerationValue,
    msgAccelerationHint,
    msgMovementScale,
    msgTrackStartSpeed,
    msgTrackSpeed,
    msgTrackAcceleration,
    msgTrackScale,
    msgSendTrackStartSpeed,
    msgSendTrackSpeed,
    msgSendTrackAcceleration,
    msgSendTrackScale,
    msgToolBG, // the direct-control tools
    msgToolDL,
    msgToolDR,
    msgToolRS,
    msgToolDS,
    msgToolEN,
    msgToolMVn,
    msgToolMV,
    msgToolSP,
    msgToolHM,
    msgToolML,
    msgToolMH,
    msgToolSF,
    msgToolCF,
    msgToolWL,
    msgToolWH,
    msgToolLL,
    msgToolLP,
    msgToolLB,
    msgToolSB,
    msgToolLD1,
    msgToolED,
    msgToolST,
    msgToolPS1,
    msgValueAcceleration, // a tool's value field, after its command
    msgValueMaxSpeed,
    msgValueStartSpeed,
    msgValueSteps,
    msgValuePause,
    msgValueInput,
    msgValueOutput,
    msgValueRepeats,
    msgEnterAddsCommand,   // after a value field's name
    msgReadFromController, // the read-back window
    msgAddToEnd,
    msgShowCommandCodes,
    msgAddToCommandList,
    msgReadCommands,
    msgReceivedText,
    msgAddToEndHint,
    msgShowCodesHint,
    msgAddToListHint,
    msgPortClosedNotSent, // + port number + msgPortClosedNotSentEnd
    msgPortClosedNotSentEnd,
    msgPressIgnored, // + the control's caption + msgPressIgnoredEnd
    msgPressIgnoredEnd,
    msgCloseSending, // + n + msgListStoppedOf + m + msgCloseSendingEnd: asked on closing
    msgCloseSendingEnd,
    msgCloseReading,      // asked on closing during a read-back
    msgCloseRecordingCut, // + coordinate + msgCloseRecordingCutEnd
    msgCloseRecordingCutEnd,
    msgNotSerialDevice, // why a port did not open: the device takes no line settings
    msgPreview,         // the motion preview: menu item and window title
    msgPreviewPlot,
    msgPreviewPlotHint,
    msgPreviewSummary,
    msgPreviewCoordinate, // + n + ": " + end position + units + ", " + duration
    msgPreviewList,
    msgPreviewSeconds, // after a duration
    msgPreviewAtLeast, // before a duration that is a lower bound
    msgPreviewCut,     // + line number
    msgPreviewTimeAxis,
    msgPreviewSteps,
    msgPreviewNothing,
    msgPreviewLowerBound,
    msgPreviewAccelUnit,
    msgPreviewAccelUnitHint,
    msgPreviewClose,
    msgCheckDirectMotion, // the program check's warnings, in the grid's tool-tips
    msgCheckLdWithoutEd,
    msgCheckLdInsideRecording,
    msgCheckJpWithoutLl,
    msgCheckSbWithoutLb,
    msgCheckMoveBeforeSd,
    msgCheckMachineWait,
    msgCheckWarningOne,          // n + this: the count under the grid; exactly one
    msgCheckWarningsEndingIn1,   // 21, 31, 101 ...
    msgCheckWarningsFew,         // 2 to 4, 22 to 24 ...
    msgCheckWarningsMany,        // the other counts
    msgCheckSendQuestion,        // "3 warnings" + this: asked by Send
    msgAskBeforeSendingWarnings, // the program settings' check box
    msgAskBeforeSendingHint,
    msgYes, // a message box's buttons
    msgNo,
    msgJournalUnreadable, // a journal that cannot be opened
    msgJournalTruncatedHeader,
    msgJournalDamagedLine, // + the line number
    msgJournalNewerVersion,
    msgJournalTooLarge,
    msgJournalWriteFailed, // + the file name
    msgJournalMenu,        // the menu item of the journal window
    msgJournalTitle,
    msgJournalNone,
    msgJournalProblem, // + the reader's reason
    msgJournalFile,
    msgJournalList,
    msgJournalStarted,
    msgJournalEndLabel,
    msgJournalEndOpen,
    msgJournalEndCompleted,
    msgJournalEndStopped,
    msgJournalEndDeviceLost,
    msgJournalColTime, // the journal table's columns
    msgJournalColLine,
    msgJournalColRequest,
    msgJournalColEcho,
    msgJournalColReply,
    msgJournalColOutcome,
    msgJournalColLatency,
    msgJournalAccepted, // the outcomes of a line
    msgJournalCommandError,
    msgJournalDataError,
    msgJournalNoAnswer,
    msgJournalLineStopped,
    msgJournalRefresh,
    msgJournalClose,
    msgJournalTableName, // accessible names
    msgJournalSummaryName,
    msgSendFromLine, // the grid's context menu
    msgSendLineOnly,
    msgFromLineInRecording, // %1 the chosen line, %2 its LD's line
    msgLineOnlyInRecording, // %1 the chosen line, %2 and %3 the recording's first and last lines
    msgReadCoordinate,      // the read-back window
    msgReadCoordinateName,
    msgReadCoordinateHint,
    msgKeepRecording,
    msgKeepRecordingHint,
    msgResumeTitle, // the resume offer
    msgResumeIntro, // %1 the list, %2 its start time, %3 why
    msgResumeUnnamedList,
    msgResumeCutOpen,
    msgResumeCutLost,
    msgResumeLastAcked,
    msgResumeNoneAcked,
    msgResumeInRecording,
    msgResumeFromLine,
    msgResumeInFlight,
    msgResumeResend,
    msgResumeNothingLeft,
    msgResumeButton,
    msgStartAgainButton,
    msgDismissButton,
    msgResumeListChanged,
    msgResumeReplaceList,
    msgResumeUnreadable,
    msgResumeAfterSend,
    msgResumeEdRefused,
    msgEchoMismatch,
    msgEchoMismatchSent,
    msgEchoMismatchEchoed,
    msgEchoMismatchEnd,
    msgEchoCheckOption,
    msgEchoCheckHint,
    msgLinkHealthName,
    msgLinkShort,
    msgLinkMs,
    msgLinkTipTitle,
    msgLinkTipInTime,
    msgLinkTipEchoMismatch,
    msgLinkTipEchoMissing,
    msgLinkTipTransfer,
    msgLinkTipTimeouts,
    msgLinkTipPortLosses,
    msgLinkTipTimes,
    msgLinkTipSlowest,
    msgLinkTipNoTimes,
    msgLinkTipColours,
    msgJournalEchoMismatch, // the journal window's outcome of a line whose echo differed
    msgOwnEnd               // one past the last
};

class TLang {
public:
    static constexpr int InitialFormTexts = 58; // "f1" + table A
    // "msg", the messages 1..85, the empty 86, and the program's own messages after it
    // (a number without a built-in text is unused and stays empty).
    static constexpr int InitialMessages = msgOwnEnd;
    // Section "addf": the texts of every dialog, 1..62.
    static constexpr int DialogTextCount = 62;

    std::vector<std::string> FormTexts;
    std::vector<std::string> Messages;

    // Create: the built-in tables, then the messages of datas.Language.
    TLang(TCommonDatas& datas, IMessageBox* messageBox, IOperationLog* log);

    bool LoadFormTexts(const std::string& key);
    bool LoadMessages();
    // Puts the lines of section key's file into table, as loading the file does; reset
    // blanks every entry first.
    bool ReadSection(const std::string& key, const std::vector<std::string>& lines,
                     std::vector<std::string>& table, bool reset);
    // Cuts the line down to its text and returns its number (0 for no entry). Throws
    // EConvertError when the number part holds no valid integer.
    static int ParseLineNumber(std::string& line);
    void ReportDamagedFile();

    // Message n, or an empty text for a number beyond the table.
    const std::string& Message(int n) const;
    // A file error for the operator: the file, the reason in this language and the
    // system's own text after it; the error's text where the reason is not known.
    std::string FileErrorText(const EFileStreamError& error) const;
    // lang/<L>/<L><key>.lng beside the executable.
    std::string SectionFileName(const std::string& key) const;

    void AttachView(IMessageBox* messageBox, IOperationLog* log);
    void AttachMainForm(IMainFormView* mainForm) { mainForm_ = mainForm; }

    // The main window's texts and the messages of the current language, at start-up.
    void LoadLanguage();
    // Puts section "f1" into the main window and the shared text slots, and refreshes
    // the captions composed from them. A section that supplied no entry (a missing or
    // empty file) leaves the window as it is: a window of blanks could not be used to
    // choose another language.
    void TranslateMainForm();

    // The built-in tables as Create fills them; numbers without a text are empty.
    static std::vector<std::string> BuiltInFormTexts();
    static std::vector<std::string> BuiltInMessages();

private:
    // Loads a section file into table; reset blanks every entry first.
    bool LoadSection(const std::string& key, std::vector<std::string>& table, bool reset);
    void ReportMissingFile(const std::string& fileName);

    TCommonDatas& datas_;
    IMessageBox* messageBox_;
    IOperationLog* log_;
    IMainFormView* mainForm_ = nullptr;
    bool sectionSupplied_ = false; // the last section loaded supplied at least one entry
};

} // namespace zav
