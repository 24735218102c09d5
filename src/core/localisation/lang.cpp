#include "localisation/lang.h"

#include "state/common_datas.h"
#include "state/encoded_stream.h"
#include "state/paths.h"
#include "state/text_file.h"

namespace zav {

namespace {
// Built-in main-window texts, entries 1..57 of section "f1".
// clang-format off
const char* const FormTextTable[] = {
    "*Zav_program - ver.4.0.2",   // 1
    "*File",                      // 2
    "*PortSettings",              // 3
    "*ProgramSettings",           // 4
    "*Info",                      // 5
    "*Units",                     // 6
    "*steps",                     // 7
    "*other units",               // 8
    "*Scale",                     // 9
    "*steps",                     // 10
    "*Change",                    // 11
    "*Direction",                 // 12
    "*Motion",                    // 13
    "*movement",                  // 14
    "*permamnent motion",         // 15
    "*Velocity",                  // 16
    "*Maximum",                   // 17
    "*speed",                     // 18
    "*start",                     // 19
    "*Forward",                   // 20
    "*Backward",                  // 21
    "*Acceleration/Deceleration", // 22
    "*acceleration",              // 23
    "*no acceleration",           // 24
    "*Write",                     // 25
    "*Stop",                      // 26
    "*Simple control mode",       // 27
    "*Extended control mode",     // 28
    "*Open Port",                 // 29
    "*Close Port",                // 30
    "*Send",                      // 31
    "*ClearAll",                  // 32
    "*ClearCurrentstring",        // 33
    "*Direct Control",            // 34
    "*Loading",                   // 35
    "*Response",                  // 36
    "*Decreasing rounding",       // 37
    "*Increasing rounding",       // 38
    "*Mathematic rounding",       // 39
    "*Start",                     // 40
    "*Write and Start",           // 41
    "*Command",                   // 42
    "*Open from file",            // 43
    "*Save to file",              // 44
    "*Chose port",                // 45
    "*Port settings",             // 46
    "*Error handlings",           // 47
    "*Program settings",          // 48
    "*Language",                  // 49
    "*Program vers.",             // 50
    "*Load from device",          // 51
    "*Coordinates:    ",          // 52
    "*Coord",                     // 53
    "*program executing",         // 54
    "*Tracking mode",             // 55
    "*Tracking Speed",            // 56
    "*Apply",                     // 57
};

// Built-in messages 1..85; message 86 has no built-in text.
const char* const MessageTable[] =
    {
        " *File",                                                              // 1
        " *not found or damaged!",                                             // 2
        "*port: ",                                                             // 3
        "*Error opening port",                                                 // 4
        "*bit, ",                                                              // 5
        "*stop-bit: ",                                                         // 6
        "*parity: none; ",                                                     // 7
        "*parity: odd; ",                                                      // 8
        "*parity: even; ",                                                     // 9
        "*parity: 1; ",                                                        // 10
        "*parity: 0; ",                                                        // 11
        "*Data transfer error!",                                               // 12
        "*Data transfer function is not ready.  Application can malfunction!", // 13
        "*Parameter value is incorrect",                                       // 14
        "*There is a wrong command in the commands list!",                     // 15
        "*File name incorrect",                                                // 16
        "*Software Zav_Program",                                               // 17
        " *If have any questions, please, apply to the company office.",       // 18
        "* is intended for controllers QUAV series.",                          // 19
        "*Units scale value is incorrect.",                                    // 20
        "*Please, set correct port number",                                    // 21
        "*No reply from the controller!",                                      // 22
        "*One of language files is damaged.",                                  // 23
        "*Controller is not in a standby mode",                                // 24
        "* Set language \"",                                                   // 25
        "*Error recovering started",                                           // 26
        "*Insert correct time as integer, ms",                                 // 27
        "*Program recording to coordinate",                                    // 28
        "* completed ",                                                        // 29
        "*Coordinate ",                                                        // 30
        "* is in communication mode",                                          // 31
        "*: program executing started",                                        // 32
        "*Program executing is suspended. Chanel ",                            // 33
        "*Program error - coordinate",                                         // 34
        "*: Program executing completed",                                      // 35
        "*Communication error occurred. Possible, the program does not operate properly. Coordinate  ", // 36
        "*Error - incorrect command!",                           // 37
        "*Resume program executing - coordinate",                // 38
        "*Error - incorrect command data!",                      // 39
        "*Error recovering: clear program buffers and labels",   // 40
        "*Error recovering: stop controller communication mode", // 41
        "*!!!Command incorrect!!!",                              // 42
        "*Start/Stop program executing: ",                       // 43
        "* coordinate ",                                         // 44
        "*Set/take off pause: ",                                 // 45
        "*Start commands recording:  ",                          // 46
        "*End commands recording  ",                             // 47
        "*Program begin  ",                                      // 48
        "*Set \"Enable\"",                                       // 49
        "*Move  ",                                               // 50
        "* steps ",                                              // 51
        "*Input correct steps number: from  ",                   // 52
        "* to  ",                                                // 53
        "*Input correct ",                                       // 54
        "* number: from ",                                       // 55
        "* steps/sec  ",                                         // 56
        "* /sec ",                                               // 57
        "*Input correct speed: from ",                           // 58
        "*Start speed ",                                         // 59
        "*Input correct start speed: from  ",                    // 60
        "*Acceleration  ",                                       // 61
        "*Input correct acceleration: from ",                    // 62
        "*Reverse   ",                                           // 63
        "*Pause for  ",                                          // 64
        "* ms  ",                                                // 65
        "*Input correct pause duration from ",                   // 66
        "*Set \"Disable\"",                                      // 67
        "*Set label ",                                           // 68
        "*Repeat from label ",                                   // 69
        "* times ",                                              // 70
        "*Input correct cycles number from  ",                   // 71
        "*Forward motion  ",                                     // 72
        "*Backward motion ",                                     // 73
        "*Set signal to output ",                                // 74
        "*Input correct output number from  ",                   // 75
        "*Wait signal WL to input ",                             // 76
        "*Insert correct input number from ",                    // 77
        "*Wait signal WH to input ",                             // 78
        "*Clear signal from output  ",                           // 79
        "*Move till input signal MH ",                           // 80
        "*Move till input signal ML ",                           // 81
        "*Move till zero limit switch ",                         // 82
        "*Record commands to buffer ",                           // 83
        "*Repeat buffer ",                                       // 84
        "*speed ",                                               // 85
};

// The program's own messages, by number; numbers not listed stay empty.
struct TNumberedMessage {
    int Number;
    const char* Text;
};
constexpr TNumberedMessage NumberedMessages[] = {
    {msgListNotSent, "*The list was not sent: the exchange of the previous list is still running."},
    {msgReadRecording, "*Reading impossible. Controller is in program recording mode."},
    {msgNoCorrectProgram, "*no correct program"},
    {msgReadWrongCommand, "*There is a wrong command in the list!"},
    {msgReadDuringExchange, "*Reading is impossible while the command list is being sent."},
    {msgExchangeDuringRead, "*The list was not sent: a program is being read from the controller."},
    {msgReadItemsRefused,
     "*Items of the read program were left out (unknown form or parameter out of range): "},
    {msgLinesNotConverted, "*Lines of the command list were left unconverted (their value is not "
                           "a whole number of steps): "},
    {msgFileError, "*The file could not be saved or loaded: "},
    {msgRecoveryWriteFailed, "*Error recovering: controller communication mode was not stopped, "
                             "the port is closed or the write failed"},
    {msgFilesNotSaved, "*These files could not be saved:"},
    {msgInRecoverySequence, "*in the recovery sequence"},
    {msgRunStepNow, "*run this step now"},
    {msgPortFileMissing, "*Port settings file "},
    {msgPortFileMissingEnd, "* is missing or damaged; choose a port with Port settings > Chose port."},
    {msgPortFileNotWritten, "*Could not write the port settings file "},
    {msgPortLost, "*The connection to port Com"},
    {msgPortLostEnd, "* was lost (the device went away); the port is closed."},
    {msgDiscarded, "*Discarded "},
    {msgDiscardedEnd, "* bytes received from the controller without a reply terminator \"*\"."},
    {msgBuildDate, "*Build date: "},
    {msgToolkitVersion, "*Qt version: "},
    {msgPortClosed, "* (closed)"},
    {msgSettingsFolder, "*Settings folder: "},
    {msgSerialDevices, "*Serial devices (choose one to use it as this port):"},
    {msgRefresh, "*Refresh"},
    {msgCancel, "*Cancel"},
    {msgPortLinkFailed, "*The port could not be pointed at the device: "},
    {msgPortOpenedLog, "* opened: "},
    {msgPortClosedLog, "* closed"},
    {msgBaud, "* baud"},
    {msgSettingRefused, "*This serial port cannot take that setting; the line keeps its previous "
                        "settings."},
    {msgNoSuchDevice, "*there is no such device"},
    {msgNoPermission, "*no permission to use the device (add your user to the \"dialout\" group "
                      "and log in again)"},
    {msgDeviceBusy, "*the device is in use by another program"},
    {msgListStoppedAtLine, "*Data transfer error: the command list was stopped at line "},
    {msgListStoppedOf, "* of "},
    {msgCtlLine, "*line "},
    {msgCtlLineOf, "* of "},
    {msgProgressElapsed, "*, elapsed "},
    {msgProgressRemaining, "*, remaining about "},
    {msgSendStoppedAtLine, "*Sending stopped by the operator at line "},
    {msgStopSending, "*Stop sending"},
    {msgStopSendingHint, "*Send nothing after the reply to the command in flight (Esc)"},
    {msgSendHint, "*Send the command list (F5)"},
    {msgRecentFiles, "*Recent files"},
    {msgRecentFileGone, "*The file no longer exists; it was removed from the recent files: "},
    {msgSessionNotSaved, "*The recent files and the window's place were not saved: "},
    {msgReconnectWaiting, "*: the port will be reopened when this device is back."},
    {msgPortReconnected, "* reconnected: "},
    {msgReconnectOtherDevice, "*: another device appeared there ("},
    {msgReconnectOtherDeviceLost, "*), not the one that was lost ("},
    {msgReconnectOtherDeviceEnd, "*); it was not opened. Waiting for the lost device."},
    {msgReconnectHint, "*When the port's device goes away (an adapter pulled out), reopen the "
                       "port with the same settings as soon as that same device is back"},
    {msgStopOutstanding, "*No second stop is sent to coordinate "},
    {msgStopOutstandingEnd, "*: its first stop is not answered yet, and another would start the "
                            "program again."},
    {msgRecordingCut, "*Program recording to coordinate "},
    {msgRecordingCutEnd, "* was cut short by an error: the program stored in that coordinate is "
                         "incomplete."},
    {msgLinesOutOfRange, "*Lines outside the range of their command at this scale (marked; the "
                         "list is not sent until they are corrected): "},
    {msgListNotSentOutOfRange, "*The list was not sent: lines outside the range of their "
                               "command: "},
    {msgValueLimited, "*Value limited to the controller's range: "},
    {msgValueSentAs, "* is sent as "},
    {msgTrackingSent, "*Tracking mode sends: "},
    {msgReplyTimeoutRefused, "*The allowed reply waiting time must be a whole number of "
                             "milliseconds from 1 to 10000; the previous value is kept."},
    {msgSettingDefaultTaken, "*Values outside what the program accepts were replaced by their "
                             "defaults in "},
    {msgSettingsLine, "*line "},
    {msgOk, "*OK"},
    {msgExit, "*Exit"},
    {msgLanguageName, "*English"},
    {msgDriverPort, "*port"},
    {msgFileMissing, "*the file or its folder does not exist"},
    {msgFileNoPermission, "*no permission to use the file"},
    {msgFileReadOnly, "*the file or its disk is read-only"},
    {msgFileDiskFull, "*the disk is full"},
    {msgSelectCoordinate, "*Select coordinate "},
    {msgCoordinateStates, "*Coordinate states"},
    {msgCoordinateStatesHint, "*Set the state of each coordinate by hand"},
    {msgStepsInOneUnit, "*Steps in one unit"},
    {msgChangeScale, "*Change scale"},
    {msgOperationLog, "*Operation log"},
    {msgCommandList, "*Command list"},
    {msgCommandListHint, "*Commands to send. Drag a row, or press Ctrl+Up or Ctrl+Down, to move it; Delete removes it."},
    {msgDirectControlHint, "*Check to send commands directly"},
    {msgLoadingList, "*Loading"},
    {msgResponseList, "*Response"},
    {msgClearResponses, "*Clear the response list"},
    {msgSendProgressName, "*Send progress"},
    {msgMovement, "*Movement"},
    {msgMaximumSpeed, "*Maximum speed"},
    {msgStartSpeed, "*Start speed"},
    {msgAccelerationValue, "*Acceleration value"},
    {msgAccelerationHint, "*Acceleration/deceleration"},
    {msgMovementScale, "*Movement scale"},
    {msgTrackStartSpeed, "*Tracking start speed"},
    {msgTrackSpeed, "*Tracking speed"},
    {msgTrackAcceleration, "*Tracking acceleration"},
    {msgTrackScale, "*Tracking scale"},
    {msgSendTrackStartSpeed, "*Send tracking start speed"},
    {msgSendTrackSpeed, "*Send tracking speed"},
    {msgSendTrackAcceleration, "*Send tracking acceleration"},
    {msgSendTrackScale, "*Send tracking scale"},
    {msgToolBG, "*Begin program"},
    {msgToolDL, "*Motion forward"},
    {msgToolDR, "*Motion backward"},
    {msgToolRS, "*Reverse motion"},
    {msgToolDS, "*Prohibit motion"},
    {msgToolEN, "*Allow motion"},
    {msgToolMVn, "*Move step number"},
    {msgToolMV, "*Permanent motion"},
    {msgToolSP, "*Pause, ms"},
    {msgToolHM, "*Move to zero switch"},
    {msgToolML, "*Move until signal to input 1"},
    {msgToolMH, "*Move until signal to input 2"},
    {msgToolSF, "*Set signal (close relay)"},
    {msgToolCF, "*Clear signal (open relay)"},
    {msgToolWL, "*Wait until signal to input 1"},
    {msgToolWH, "*Wait until signal to input 2"},
    {msgToolLL, "*Set cycle label"},
    {msgToolLP, "*Repeat from label"},
    {msgToolLB, "*Load command into buffer"},
    {msgToolSB, "*Start commands from buffer in cycle"},
    {msgToolLD1, "*Load program to coordinate 1"},
    {msgToolED, "*End programming"},
    {msgToolST, "*Start/Stop"},
    {msgToolPS1, "*Pause or resume coordinate 1"},
    {msgValueAcceleration, "*acceleration value"},
    {msgValueMaxSpeed, "*maximum speed value"},
    {msgValueStartSpeed, "*start speed value"},
    {msgValueSteps, "*step number"},
    {msgValuePause, "*pause in ms"},
    {msgValueInput, "*input number"},
    {msgValueOutput, "*output number"},
    {msgValueRepeats, "*repeat count"},
    {msgEnterAddsCommand, "* (Enter adds the command)"},
    {msgReadFromController, "*Read from controller"},
    {msgAddToEnd, "*Add to the end"},
    {msgShowCommandCodes, "*Show command codes"},
    {msgAddToCommandList, "*Add to the command list"},
    {msgReadCommands, "*Read commands"},
    {msgReceivedText, "*Received text"},
    {msgAddToEndHint, "*Keep the earlier reads and list them all"},
    {msgShowCodesHint, "*Show the text received from the controller"},
    {msgAddToListHint, "*Replace the main window's command list by the list read"},
    {msgPortClosedNotSent, "*Port Com"},
    {msgPortClosedNotSentEnd, "* is closed: nothing was sent. Open the port first."},
    {msgPressIgnored, "*Pressed twice at once: the second press of \""},
    {msgPressIgnoredEnd, "*\" was ignored."},
    {msgCloseSending, "*A list is being sent, line "},
    {msgCloseSendingEnd, "*. Stop sending and close?"},
    {msgCloseReading, "*A program is being read from the controller. Stop reading and close?"},
    {msgCloseRecordingCut, "*Closing cut short the recording to coordinate "},
    {msgCloseRecordingCutEnd, "*: ED was sent, and the program stored in the coordinate is "
                              "incomplete."},
    {msgNotSerialDevice, "*the device takes no serial line settings (it is not a serial port)"},
    {msgPreview, "*Motion preview"},
    {msgPreviewPlot, "*Position against estimated time"},
    {msgPreviewPlotHint, "*Click a curve to select the list line that made it; Left and Right step through the points"},
    {msgPreviewSummary, "*Estimated durations"},
    {msgPreviewCoordinate, "*Coordinate "},
    {msgPreviewList, "*List"},
    {msgPreviewSeconds, "* s"},
    {msgPreviewAtLeast, "*at least "},
    {msgPreviewCut, "*Too long to draw whole: cut at line "},
    {msgPreviewTimeAxis, "*Time, s"},
    {msgPreviewSteps, "*steps"},
    {msgPreviewNothing, "*The list records no coordinate (LD1, LD2 or LD3 ... ED)."},
    {msgPreviewLowerBound, "*Waits for an input and moves to a switch or an input count as no time: the estimate is a lower bound. The controller's own timing may differ."},
    {msgPreviewAccelUnit, "*Acceleration, (steps/s)/s per unit of AL:"},
    {msgPreviewAccelUnitHint, "*The controller's unit of acceleration is not known to the program; the estimate takes this many (steps/s)/s for each unit of AL"},
    {msgPreviewClose, "*Close"},
    {msgCheckDirectMotion, "*moves a motor outside any recording: it is sent as a direct command and runs at once"},
    {msgCheckLdWithoutEd, "*this recording has no ED of its own: the program stays open in the controller"},
    {msgCheckLdInsideRecording, "*LD inside a recording: the recording before it ends without its ED"},
    {msgCheckJpWithoutLl, "*JP with no LL before it in its recording: there is no label to repeat from"},
    {msgCheckSbWithoutLb, "*SB with no LB before it: there is no buffer to repeat"},
    {msgCheckMoveBeforeSd, "*MV before any SD in its recording: the move runs at whatever speed the controller holds"},
    {msgCheckMachineWait, "*waits for a signal or a limit switch: its duration depends on the machine, so an estimated time is a lower bound"},
    {msgCheckWarningOne, "* warning"},
    {msgCheckWarningsEndingIn1, "* warnings"},
    {msgCheckWarningsFew, "* warnings"},
    {msgCheckWarningsMany, "* warnings"},
    {msgCheckSendQuestion, "* in the list. Send it all the same?"},
    {msgAskBeforeSendingWarnings, "*Ask before sending a list with warnings"},
    {msgAskBeforeSendingHint, "*Send asks once before it sends a list that the program check warns about. The warnings never keep a list from being sent."},
    {msgYes, "*Yes"},
    {msgNo, "*No"},
    {msgJournalUnreadable, "*the journal cannot be read"},
    {msgJournalTruncatedHeader, "*the journal's header is incomplete"},
    {msgJournalDamagedLine, "*the journal has a damaged line: "},
    {msgJournalNewerVersion, "*the journal was written by a newer version of the program"},
    {msgJournalTooLarge, "*the journal is larger than 100 MB and is not read"},
    {msgJournalWriteFailed, "*The send journal cannot be written: "},
    {msgJournalMenu, "*Send journal"},
    {msgJournalTitle, "*Journal of the last send"},
    {msgJournalNone, "*No send has been journalled yet."},
    {msgJournalProblem, "*The journal of the last send cannot be shown: "},
    {msgJournalFile, "*File: "},
    {msgJournalList, "*List: "},
    {msgJournalStarted, "*Started: "},
    {msgJournalEndLabel, "*End: "},
    {msgJournalEndOpen, "*did not end normally (cut off, or still running)"},
    {msgJournalEndCompleted, "*completed"},
    {msgJournalEndStopped, "*stopped"},
    {msgJournalEndDeviceLost, "*the device was lost"},
    {msgJournalColTime, "*Time"},
    {msgJournalColLine, "*Line"},
    {msgJournalColRequest, "*Request"},
    {msgJournalColEcho, "*Echo"},
    {msgJournalColReply, "*Reply"},
    {msgJournalColOutcome, "*Outcome"},
    {msgJournalColLatency, "*Latency, ms"},
    {msgJournalAccepted, "*done"},
    {msgJournalCommandError, "*command error"},
    {msgJournalDataError, "*data error"},
    {msgJournalNoAnswer, "*no reply"},
    {msgJournalLineStopped, "*stopped"},
    {msgJournalRefresh, "*Refresh"},
    {msgJournalClose, "*Close"},
    {msgJournalTableName, "*Lines of the journal"},
    {msgJournalSummaryName, "*Summary of the journal"},
    {msgSendFromLine, "*Send from this line"},
    {msgSendLineOnly, "*Send this line only"},
    {msgFromLineInRecording, "*Line %1 is inside the program recording that begins with LD on line %2: sent from here, the controller would store only the rest of that program. Send from line %2 (its LD) instead?"},
    {msgLineOnlyInRecording, "*Line %1 belongs to the program recording of lines %2 to %3: sent alone it would not be stored, the controller would carry it out at once as a direct command. Send the whole recording (lines %2 to %3) instead?"},
    {msgReadCoordinate, "*Coordinate"},
    {msgReadCoordinateName, "*Coordinate to read"},
    {msgReadCoordinateHint, "*Whose stored program is read: RD1, RD2 or RD3 (in direct control the command buffer is read)"},
    {msgKeepRecording, "*Keep LD n and ED around the list when it is taken over"},
    {msgKeepRecordingHint, "*Sending the taken-over list then records the program back into the coordinate it was read from"},
    {msgResumeTitle, "*Resume an interrupted send"},
    {msgResumeIntro, "*The send of %1 that started at %2 did not end normally: %3."},
    {msgResumeUnnamedList, "*a list not saved to a file"},
    {msgResumeCutOpen, "*the program ended during the send"},
    {msgResumeCutLost, "*the connection to the controller was lost"},
    {msgResumeLastAcked, "*The last line the controller acknowledged: line %1, %2."},
    {msgResumeNoneAcked, "*The controller acknowledged none of its lines."},
    {msgResumeInRecording, "*It was cut inside the program recording of lines %1 to %2, so the program stored in the controller is incomplete: resume sends ED first, then the whole recording again from its LD on line %1."},
    {msgResumeFromLine, "*Resume sends from line %1, the first line after those acknowledged."},
    {msgResumeInFlight, "*Line %1, %2, was in flight when the send was cut: the controller may have carried it out without its reply arriving."},
    {msgResumeResend, "*Send line %1 again"},
    {msgResumeNothingLeft, "*All its lines were acknowledged: nothing is left to send."},
    {msgResumeButton, "*Resume"},
    {msgStartAgainButton, "*Start again"},
    {msgDismissButton, "*Dismiss"},
    {msgResumeListChanged, "*The list file has changed since that send: resume sends the list as it was sent then, as the journal keeps it."},
    {msgResumeReplaceList, "*The list in the window is not the list of that send. Replace it with the list kept in the journal?"},
    {msgResumeUnreadable, "*A send journal could not be read and is left as it is: "},
    {msgResumeAfterSend, "*A send is running: the offer to resume an interrupted send comes when it has ended."},
    {msgResumeEdRefused, "*The recording was not sent again: the ED that ends the cut recording was not accepted."},
    {msgEchoMismatch, "*Echo check: line "},
    {msgEchoMismatchSent, "* was sent as \""},
    {msgEchoMismatchEchoed, "*\" but the controller echoed \""},
    {msgEchoMismatchEnd, "*\": it took another command, so the list was stopped."},
    {msgEchoCheckOption, "*Check the controller's echo of each command"},
    {msgEchoCheckHint, "*The controller repeats each command it received. When that differs from what was sent, the line changed the command and the controller has carried out or stored another one: the list stops there."},
    {msgLinkHealthName, "*Link health"},
    {msgLinkShort, "*Link "},
    {msgLinkMs, "* ms"},
    {msgLinkTipTitle, "*The line to the controller since the program started (in the bottom line: replies in time | echo mismatches | transfer errors | time-outs | connections lost | median/slowest reply time)"},
    {msgLinkTipInTime, "*replies in time: "},
    {msgLinkTipEchoMismatch, "*echoes that differ from the command sent: "},
    {msgLinkTipEchoMissing, "*echoes that did not come: "},
    {msgLinkTipTransfer, "*data transfer errors: "},
    {msgLinkTipTimeouts, "*commands without a reply in time: "},
    {msgLinkTipPortLosses, "*connections lost: "},
    {msgLinkTipTimes, "*reply time over the last 100 commands: median "},
    {msgLinkTipSlowest, "*, slowest "},
    {msgLinkTipNoTimes, "*reply time: no reply yet"},
    {msgLinkTipColours, "*Green: no fault. Amber: a fault in this run. Red: 3 or more faults among the last 100 commands."},
    {msgJournalEchoMismatch, "*echo differs"},
};
// clang-format on

static_assert(std::size(FormTextTable) == TLang::InitialFormTexts - 1);
static_assert(std::size(MessageTable) == 85);
static_assert(std::size(NumberedMessages) > 0 &&
              std::end(NumberedMessages)[-1].Number == TLang::InitialMessages - 1);

const std::string Empty;

// Lines are UTF-8 in memory; a line's length is counted in characters, as on disk.
std::size_t CharacterCount(const std::string& text) {
    std::size_t count = 0;
    for (char c : text)
        if ((static_cast<unsigned char>(c) & 0xC0) != 0x80)
            ++count;
    return count;
}

// A language name is a folder name; one that climbs out of lang/ is no language.
bool IsSafeLanguageName(const std::string& name) {
    return name.find('/') == std::string::npos && name.find('\\') == std::string::npos &&
           name != "." && name != "..";
}
} // namespace

TLang::TLang(TCommonDatas& datas, IMessageBox* messageBox, IOperationLog* log)
    : datas_(datas), messageBox_(messageBox), log_(log) {
    FormTexts = BuiltInFormTexts();
    Messages = BuiltInMessages();
    LoadMessages();
}

std::vector<std::string> TLang::BuiltInFormTexts() {
    std::vector<std::string> table{"f1"};
    table.insert(table.end(), std::begin(FormTextTable), std::end(FormTextTable));
    return table;
}

std::vector<std::string> TLang::BuiltInMessages() {
    std::vector<std::string> table{"msg"};
    table.insert(table.end(), std::begin(MessageTable), std::end(MessageTable));
    table.resize(InitialMessages);
    for (const auto& m : NumberedMessages)
        table.at(static_cast<std::size_t>(m.Number)) = m.Text;
    return table;
}

void TLang::AttachView(IMessageBox* messageBox, IOperationLog* log) {
    messageBox_ = messageBox;
    log_ = log;
}

const std::string& TLang::Message(int n) const {
    if (n < 0 || static_cast<std::size_t>(n) >= Messages.size())
        return Empty;
    return Messages[static_cast<std::size_t>(n)];
}

std::string TLang::FileErrorText(const EFileStreamError& error) const {
    int reason = 0;
    switch (error.Failure()) {
    case TFileFailure::Missing:
        reason = msgFileMissing;
        break;
    case TFileFailure::NoPermission:
        reason = msgFileNoPermission;
        break;
    case TFileFailure::ReadOnly:
        reason = msgFileReadOnly;
        break;
    case TFileFailure::DiskFull:
        reason = msgFileDiskFull;
        break;
    case TFileFailure::Other:
        break;
    }
    if (!reason || error.FileName().empty())
        return error.what();
    std::string text = error.FileName() + ": " + Message(reason);
    if (!error.SystemText().empty())
        text += " (" + error.SystemText() + ")";
    return text;
}

std::string TLang::SectionFileName(const std::string& key) const {
    const std::string& l = datas_.Language;
    return AppDir() + "lang/" + l + "/" + l + key + ".lng";
}

int TLang::ParseLineNumber(std::string& line) {
    const std::size_t brace = line.find('}');
    if (brace == std::string::npos || CharacterCount(line) <= 3) {
        line.clear();
        return 0;
    }
    const std::string numberPart = line.substr(0, brace + 1);
    line.erase(0, brace + 1);
    if (!line.empty() && line[0] == ' ')
        line.erase(0, 1);
    // Keep the characters '/' to ':' (the digits, '/' and ':') and read them as a number.
    std::string kept;
    for (char c : numberPart)
        if (c >= '/' && c <= ':')
            kept += c;
    std::int64_t value = 0;
    bool ok = !kept.empty();
    for (char c : kept) {
        if (c < '0' || c > '9' || value > 2147483647) {
            ok = false;
            break;
        }
        value = value * 10 + (c - '0');
    }
    if (!ok || value > 2147483647)
        throw EConvertError("Line number is not a valid integer: " + numberPart);
    return static_cast<int>(value);
}

void TLang::ReportMissingFile(const std::string& fileName) {
    if (messageBox_)
        messageBox_->ShowMessage(Message(msgFileNotFound) + fileName + Message(msgFileNotFoundEnd));
}

bool TLang::LoadSection(const std::string& key, std::vector<std::string>& table, bool reset) {
    const std::string fileName = SectionFileName(key);
    std::vector<std::string> lines;
    try {
        if (!IsSafeLanguageName(datas_.Language))
            throw EFileStreamError("Not a language name: " + datas_.Language);
        lines = LoadLanguageLines(fileName);
    } catch (const EFileStreamError&) {
        ReportMissingFile(fileName);
    }
    return ReadSection(key, lines, table, reset);
}

bool TLang::ReadSection(const std::string& key, const std::vector<std::string>& lines,
                        std::vector<std::string>& table, bool reset) {
    if (reset)
        for (auto& entry : table)
            entry.assign(1, ' ');
    const std::string fileName = SectionFileName(key);
    if (lines.size() > table.size())
        table.resize(lines.size());
    table[0] = key;
    bool result = true;
    sectionSupplied_ = false;
    for (std::size_t k = 1; k < lines.size(); ++k) {
        std::string text = lines[k];
        int number;
        try {
            number = ParseLineNumber(text);
        } catch (const EConvertError&) {
            ReportMissingFile(fileName);
            break;
        }
        if (number >= 0 && static_cast<std::size_t>(number) == k) {
            table[k] = std::move(text);
            sectionSupplied_ = true;
        } else
            result = false;
    }
    return result;
}

bool TLang::LoadFormTexts(const std::string& key) {
    return LoadSection(key, FormTexts, true);
}

bool TLang::LoadMessages() {
    const bool loaded = LoadSection("msg", Messages, false);
    if (mainForm_)
        mainForm_->MessagesLoaded();
    return loaded;
}

void TLang::LoadLanguage() {
    LoadFormTexts("f1");
    TranslateMainForm();
    LoadMessages();
}

void TLang::TranslateMainForm() {
    if (FormTexts.size() < InitialFormTexts || FormTexts[0] != "f1" || !sectionSupplied_)
        return;
    auto entry = [this](int n) -> const std::string& {
        return FormTexts[static_cast<std::size_t>(n)];
    };
    if (mainForm_) {
        IMainFormView& view = *mainForm_;
        view.SetControlCaption("Form1", -1, entry(1) + " - " + datas_.Version);
        for (const TMainFormText& t : MainFormTexts())
            view.SetControlCaption(t.Control, t.Item, entry(t.Entry));
        view.SetControlCaption("StTSpeed", -1, entry(17) + " " + entry(18));
        view.SetControlCaption("StTBeginSpeed", -1, entry(19) + " " + entry(18));
        view.SetControlCaption("lblTrackStSpeed", -1, entry(19) + " " + entry(18));
    }
    datas_.TextCoordinates = entry(52);
    datas_.TextCoord = entry(53);
    datas_.TextProgramExecuting = entry(54);
    datas_.TextScale = entry(9);
    datas_.TextSteps = entry(10);
    datas_.TextDecreasing = entry(37);
    datas_.TextIncreasing = entry(38);
    datas_.TextMathematic = entry(39);
    // The rounding label, the scale group and the coordinates panel follow at once.
    datas_.ShowComposedCaptions();
}

void TLang::ReportDamagedFile() {
    if (!log_)
        return;
    log_->SetTextColor(clRed);
    log_->AddLine(Message(msgLanguageFileDamaged));
}

} // namespace zav
