#pragma once
// Error numbers and texts of the socket layer: the Windows Sockets codes with their standard
// short descriptions (the controller tool's messages show these numbers and words on every
// platform), the socket class's own errors, and the mapping from Qt's socket errors.
#include <QAbstractSocket>

#include <string>
#include <string_view>

namespace rz::io {

// Errors raised by the socket class itself.
inline constexpr int kErrInvalidState = 40020;
inline constexpr int kErrInvalidArgument = 40014;
inline constexpr int kErrUnsupportedType = 40018;
inline constexpr int kErrWrongProtocolOrState = 40006;
inline constexpr int kErrOutOfMemory = 7;

inline constexpr std::u16string_view kUnknownSocketErrorText = u"Unknown error.";

// The text for an error number; codes without an entry give "Unknown error.".
std::u16string_view socketErrorText(int code);

// The Windows Sockets number that stands for a Qt socket error; errors without a
// counterpart give -1, which reads as "Unknown error.".
int socketErrorCode(QAbstractSocket::SocketError error);

} // namespace rz::io
