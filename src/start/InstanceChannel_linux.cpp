// The channel on Linux: a socket of the abstract namespace, which a killed program leaves nothing
// of, watched by the event loop. Made with the system's own calls: QtNetwork's local server would
// bring its library and those it pulls in (Kerberos, proxy lookup) into every running program,
// more than a mebibyte of resident memory for this one message.
#include "start/InstanceChannel.h"

#include <QSocketNotifier>
#include <QTimer>

#include <cerrno>
#include <cstddef>
#include <cstring>
#include <optional>

#include <sys/socket.h>
#include <sys/time.h>
#include <sys/un.h>
#include <unistd.h>

namespace {

struct Address {
    sockaddr_un un{};
    socklen_t length = 0;
};

// A NUL, then the name without a terminator: the address that the versions of this program built
// on QtNetwork listen on, so that a new start still reaches a running older one.
std::optional<Address> AddressOf(const QString& name) {
    const QByteArray bytes = name.toUtf8();
    Address address;
    if (bytes.isEmpty() || static_cast<std::size_t>(bytes.size()) + 1 > sizeof(address.un.sun_path))
        return std::nullopt;
    address.un.sun_family = AF_UNIX;
    std::memcpy(address.un.sun_path + 1, bytes.constData(), static_cast<std::size_t>(bytes.size()));
    address.length =
        static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + 1 + static_cast<std::size_t>(bytes.size()));
    return address;
}

// Watches a socket for reading; the socket is closed when the watcher goes.
QSocketNotifier* Watch(int fd, QObject* parent) {
    auto* notifier = new QSocketNotifier(fd, QSocketNotifier::Read, parent);
    QObject::connect(notifier, &QObject::destroyed, [fd] { ::close(fd); });
    return notifier;
}

} // namespace

InstanceChannel::InstanceChannel(const QString& name, QObject* parent) : QObject(parent), mName(name) {}

InstanceChannel::~InstanceChannel() = default;

bool InstanceChannel::Listen(bool /*holdingLock: an abstract name dies with its program*/) {
    const std::optional<Address> address = AddressOf(mName);
    if (!address)
        return false;
    const int listener = ::socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (listener < 0)
        return false;
    if (::bind(listener, reinterpret_cast<const sockaddr*>(&address->un), address->length) != 0 ||
        ::listen(listener, SOMAXCONN) != 0) {
        ::close(listener);
        return false;
    }
    QSocketNotifier* calls = Watch(listener, this);
    connect(calls, &QSocketNotifier::activated, this, [this, calls, listener] {
        for (;;) {
            const int caller = ::accept4(listener, nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC);
            if (caller < 0) {
                // Out of descriptors, the call would stay waiting and wake the loop again at once:
                // take calls again a second later.
                if (errno != EAGAIN && errno != EWOULDBLOCK && errno != EINTR && errno != ECONNABORTED) {
                    calls->setEnabled(false);
                    QTimer::singleShot(1000, calls, [calls] { calls->setEnabled(true); });
                }
                return;
            }
            // Each caller's first line is read as it arrives; one that sends nothing holds only its
            // own socket.
            QSocketNotifier* reader = Watch(caller, this);
            connect(reader, &QSocketNotifier::activated, this, [this, reader, caller, line = QByteArray()]() mutable {
                char bytes[64];
                const ssize_t n = ::read(caller, bytes, sizeof bytes);
                if (n < 0 && (errno == EAGAIN || errno == EINTR))
                    return;
                if (n > 0)
                    line.append(bytes, n);
                const qsizetype end = line.indexOf('\n');
                const QByteArray expected(kShowPanel);
                if (n > 0 && end < 0 && line.size() < expected.size())
                    return; // the rest is still on its way
                reader->setEnabled(false);
                reader->deleteLater();
                if (end >= 0 && line.left(end + 1) == expected)
                    emit ShowRequested();
            });
        }
    });
    return true;
}

bool InstanceChannel::Ask(const QString& name) {
    const std::optional<Address> address = AddressOf(name);
    if (!address)
        return false;
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return false;
    // Neither connecting nor sending may hang on a program that takes no calls.
    const timeval patience{0, 500000};
    ::setsockopt(fd, SOL_SOCKET, SO_SNDTIMEO, &patience, sizeof patience);
    const auto length = static_cast<ssize_t>(std::strlen(kShowPanel));
    const bool sent = ::connect(fd, reinterpret_cast<const sockaddr*>(&address->un), address->length) == 0 &&
                      ::send(fd, kShowPanel, static_cast<std::size_t>(length), MSG_NOSIGNAL) == length;
    // What was sent stays readable for the running program after this end is closed.
    ::close(fd);
    return sent;
}
