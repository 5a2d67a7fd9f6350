// The channel on systems other than Linux: QtNetwork's local server, a socket file that only
// this user may use.
#include "start/InstanceChannel.h"

#include <QLocalServer>
#include <QLocalSocket>

InstanceChannel::InstanceChannel(const QString& name, QObject* parent) : QObject(parent), mName(name) {}

InstanceChannel::~InstanceChannel() = default;

bool InstanceChannel::Listen(bool holdingLock) {
    auto* server = new QLocalServer(this);
    server->setSocketOptions(QLocalServer::UserAccessOption);
    bool listening = server->listen(mName);
    // A socket file left by a program that was killed; the lock says its owner is gone.
    if (!listening && server->serverError() == QAbstractSocket::AddressInUseError && holdingLock) {
        QLocalServer::removeServer(mName);
        listening = server->listen(mName);
    }
    if (!listening) {
        delete server;
        return false;
    }
    connect(server, &QLocalServer::newConnection, this, [this, server] {
        while (QLocalSocket* socket = server->nextPendingConnection()) {
            connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
            connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
                if (!socket->canReadLine())
                    return;
                if (socket->readLine() == kShowPanel)
                    emit ShowRequested();
                socket->disconnectFromServer();
            });
        }
    });
    return true;
}

bool InstanceChannel::Ask(const QString& name) {
    QLocalSocket socket;
    socket.connectToServer(name);
    if (!socket.waitForConnected(500))
        return false;
    socket.write(kShowPanel);
    const bool sent = socket.waitForBytesWritten(1000);
    socket.disconnectFromServer();
    if (socket.state() != QLocalSocket::UnconnectedState)
        socket.waitForDisconnected(1000);
    return sent;
}
