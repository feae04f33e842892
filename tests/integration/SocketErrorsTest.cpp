// Numbers and texts of the socket layer's error messages.
#include "io/SocketErrors.h"

#include <gtest/gtest.h>

namespace rz::io {
namespace {

TEST(SocketErrors, TextForEveryNumber)
{
    struct Case {
        int code;
        std::u16string_view text;
    } cases[] = {
        {10054, u"Connection reset by peer."},
        {10061, u"Connection refused."},
        {11001, u"Host not found."},
        {10004, u"Interrupted function call."},
        {11004, u"Valid name, no data record of requested type."},
        {10048, u"Address already in use."},
        {40020, u"Invalid operation at current state"},
        {40014, u"The argument passed to a function was not in the correct format or in the specified range."},
        {40018, u"Unsupported variant type."},
        {40006, u"Wrong protocol or connection state for the requested transaction or request"},
        {7, u"Out of memory"},
        {10003, u"Unknown error."},
        {11005, u"Unknown error."},
        {10005, u"Unknown error."},
        {0, u"Unknown error."},
        {-1, u"Unknown error."},
    };
    for (const Case& c : cases)
        EXPECT_EQ(socketErrorText(c.code), c.text) << c.code;
}

TEST(SocketErrors, QtErrorsMapToTheirWindowsSocketsNumbers)
{
    using E = QAbstractSocket::SocketError;
    struct Case {
        E error;
        int code;
    } cases[] = {
        {E::AddressInUseError, 10048},      {E::ConnectionRefusedError, 10061},
        {E::HostNotFoundError, 11001},      {E::RemoteHostClosedError, 10054},
        {E::SocketAccessError, 10013},      {E::DatagramTooLargeError, 10040},
        {E::SocketTimeoutError, 10060},     {E::NetworkError, 10050},
        {E::SocketAddressNotAvailableError, 10049},
        {E::OperationError, kErrWrongProtocolOrState},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(socketErrorCode(c.error), c.code);
        EXPECT_NE(socketErrorText(c.code), kUnknownSocketErrorText) << c.code;
    }
    EXPECT_EQ(socketErrorText(socketErrorCode(E::UnknownSocketError)), kUnknownSocketErrorText);
}

} // namespace
} // namespace rz::io
