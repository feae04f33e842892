#pragma once
// The local test socket: a UDP socket on port 56789 that answers every datagram another
// program sends it with a message box showing the datagram's length. At most one box is open
// at a time; datagrams that arrive while it is open are dropped, so a flood cannot bury the
// program in boxes.
#include <QObject>
#include <QUdpSocket>

#include <functional>
#include <string>

namespace rz::io {

inline constexpr quint16 kLocalTestPort = 56789;
inline constexpr std::u16string_view kTestSocketErrorTitle = u"Wifi_Sock Error ";

struct TestSocketNotices {
    // An OK box with this text (the byte count of a datagram). Modal: it returns when closed.
    std::function<void(const std::u16string& text)> message;
    // A critical-error box with a title and a text.
    std::function<void(const std::u16string& title, const std::u16string& text)> error;
};

class LocalTestSocket : public QObject {
    Q_OBJECT
public:
    explicit LocalTestSocket(TestSocketNotices notices, QObject* parent = nullptr);
    ~LocalTestSocket() override;

    // Closes the socket and binds it again to `port` on every address. A failure is
    // reported as an error box and leaves the socket closed.
    bool bind(quint16 port = kLocalTestPort);
    void close();
    bool isBound() const;

private:
    void readDatagrams();
    void onError(QAbstractSocket::SocketError error);
    void discardPending();

    TestSocketNotices notices;
    QUdpSocket* socket = nullptr;
    bool boxOpen = false;
};

} // namespace rz::io
