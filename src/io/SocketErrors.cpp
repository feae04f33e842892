#include "io/SocketErrors.h"

#include <algorithm>
#include <array>
#include <utility>

namespace rz::io {
namespace {

struct ErrorText {
    int code;
    std::u16string_view text;
};

// Sorted by code.
constexpr std::array kErrorTexts{
    ErrorText{kErrOutOfMemory, u"Out of memory"},
    ErrorText{10004, u"Interrupted function call."},
    ErrorText{10009, u"File handle is not valid."},
    ErrorText{10013, u"Permission denied."},
    ErrorText{10014, u"Bad address."},
    ErrorText{10022, u"Invalid argument."},
    ErrorText{10024, u"Too many open files."},
    ErrorText{10035, u"Resource temporarily unavailable."},
    ErrorText{10036, u"Operation now in progress."},
    ErrorText{10037, u"Operation already in progress."},
    ErrorText{10038, u"Socket operation on nonsocket."},
    ErrorText{10039, u"Destination address required."},
    ErrorText{10040, u"Message too long."},
    ErrorText{10041, u"Protocol wrong type for socket."},
    ErrorText{10042, u"Bad protocol option."},
    ErrorText{10043, u"Protocol not supported."},
    ErrorText{10044, u"Socket type not supported."},
    ErrorText{10045, u"Operation not supported."},
    ErrorText{10046, u"Protocol family not supported."},
    ErrorText{10047, u"Address family not supported by protocol family."},
    ErrorText{10048, u"Address already in use."},
    ErrorText{10049, u"Cannot assign requested address."},
    ErrorText{10050, u"Network is down."},
    ErrorText{10051, u"Network is unreachable."},
    ErrorText{10052, u"Network dropped connection on reset."},
    ErrorText{10053, u"Software caused connection abort."},
    ErrorText{10054, u"Connection reset by peer."},
    ErrorText{10055, u"No buffer space available."},
    ErrorText{10056, u"Socket is already connected."},
    ErrorText{10057, u"Socket is not connected."},
    ErrorText{10058, u"Cannot send after socket shutdown."},
    ErrorText{10059, u"Too many references."},
    ErrorText{10060, u"Connection timed out."},
    ErrorText{10061, u"Connection refused."},
    ErrorText{10062, u"Cannot translate name."},
    ErrorText{10063, u"Name too long."},
    ErrorText{10064, u"Host is down."},
    ErrorText{10065, u"No route to host."},
    ErrorText{10066, u"Directory not empty."},
    ErrorText{10067, u"Too many processes."},
    ErrorText{10068, u"User quota exceeded."},
    ErrorText{10069, u"Disk quota exceeded."},
    ErrorText{10070, u"Stale file handle reference."},
    ErrorText{10071, u"Item is remote."},
    ErrorText{10091, u"Network subsystem is unavailable."},
    ErrorText{10092, u"Winsock.dll version out of range."},
    ErrorText{10093, u"Successful WSAStartup not yet performed."},
    ErrorText{10101, u"Graceful shutdown in progress."},
    ErrorText{11001, u"Host not found."},
    ErrorText{11002, u"Nonauthoritative host not found."},
    ErrorText{11003, u"This is a nonrecoverable error."},
    ErrorText{11004, u"Valid name, no data record of requested type."},
    ErrorText{kErrWrongProtocolOrState,
              u"Wrong protocol or connection state for the requested transaction or request"},
    ErrorText{kErrInvalidArgument, u"The argument passed to a function was not in the correct "
                                   u"format or in the specified range."},
    ErrorText{kErrUnsupportedType, u"Unsupported variant type."},
    ErrorText{kErrInvalidState, u"Invalid operation at current state"},
};

static_assert(std::is_sorted(kErrorTexts.begin(), kErrorTexts.end(),
                             [](const ErrorText& a, const ErrorText& b) { return a.code < b.code; }));

} // namespace

std::u16string_view socketErrorText(int code)
{
    auto it = std::lower_bound(kErrorTexts.begin(), kErrorTexts.end(), code,
                               [](const ErrorText& e, int c) { return e.code < c; });
    if (it != kErrorTexts.end() && it->code == code)
        return it->text;
    return kUnknownSocketErrorText;
}

int socketErrorCode(QAbstractSocket::SocketError error)
{
    using E = QAbstractSocket::SocketError;
    switch (error) {
    case E::ConnectionRefusedError: return 10061;
    case E::RemoteHostClosedError: return 10054;
    case E::HostNotFoundError: return 11001;
    case E::SocketAccessError: return 10013;
    case E::SocketResourceError: return 10055;
    case E::SocketTimeoutError: return 10060;
    case E::DatagramTooLargeError: return 10040;
    case E::NetworkError: return 10050;
    case E::AddressInUseError: return 10048;
    case E::SocketAddressNotAvailableError: return 10049;
    case E::UnsupportedSocketOperationError: return 10045;
    case E::UnfinishedSocketOperationError: return 10036;
    case E::TemporaryError: return 10035;
    case E::OperationError: return kErrWrongProtocolOrState;
    default: return -1; // no counterpart: reads as "Unknown error."
    }
}

} // namespace rz::io
