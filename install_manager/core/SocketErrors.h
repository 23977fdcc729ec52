// Socket failures reported as the socket control of the original platform
// reports them: its error numbers and texts, the status code built from the
// number, and the control's name as the source.
#pragma once

#include "core/VersionQuery.h"

#include <QAbstractSocket>

namespace stewardex {

inline constexpr const char* SocketSource = "WS";

// 10061 "Connection is forcefully rejected" for a refused connection, and so
// on; `otherDescription` words the errors without a number of their own.
SocketError socketError(QAbstractSocket::SocketError error, const QString& otherDescription);

// The status code of a control error: 0x800A0000 + the number, as a signed
// 32-bit value.
qint32 controlErrorScode(int number);

} // namespace stewardex
