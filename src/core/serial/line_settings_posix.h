#pragma once
// Line settings of the port as POSIX terminal attributes.

#include <termios.h>

#include "serial/com_port.h"

namespace zav {

// Raw 8-bit line: no echo, no line editing, no signals, no character translation, no
// software or hardware flow control; a read returns as soon as one byte is there.
void MakeRawTermios(termios& t);

// Sets speed, data bits, parity and stop bits of t. False, with t untouched, for what the
// driver cannot do: 1.5 stop bits, 14400 and 56000 baud (no POSIX speed constant), mark
// and space parity where CMSPAR is missing, and values out of range.
bool SetLineTermios(const TLineSettings& settings, termios& t);

} // namespace zav
