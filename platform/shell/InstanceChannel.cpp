#include "platform/shell/InstanceChannel.h"

#include "platform/shell/InstanceLock.h"
#include "platform/text/NativeName.h"

#include <QLocalServer>
#include <QLocalSocket>

namespace {

// A request is one line of UTF-8 text; nothing longer is taken from a socket.
constexpr qint64 kMaxMessage = 64 * 1024;

} // namespace

QString InstanceChannel::socketPath(const QString& name)
{
    return InstanceLock::lockPath(name) + QStringLiteral(".socket");
}

InstanceChannel::InstanceChannel(const QString& name, QObject* parent)
    : QObject(parent), m_path(socketPath(name)), m_server(new QLocalServer(this))
{
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    connect(m_server, &QLocalServer::newConnection, this, &InstanceChannel::readConnection);
}

InstanceChannel::~InstanceChannel()
{
    m_server->close();
}

bool InstanceChannel::listen()
{
    QLocalServer::removeServer(m_path);
    return m_server->listen(m_path);
}

void InstanceChannel::readConnection()
{
    while (QLocalSocket* socket = m_server->nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
            if (!socket->canReadLine() && socket->bytesAvailable() < kMaxMessage)
                return;
            QByteArray line = socket->readLine(kMaxMessage);
            if (line.endsWith('\n'))
                line.chop(1);
            // A path keeps the bytes of names that are not UTF-8.
            const QString message = NativeName::fromBytes(line);
            socket->write("ok\n");
            socket->flush();
            socket->disconnectFromServer();
            emit messageReceived(message);
        });
    }
}

bool InstanceChannel::send(const QString& name, const QString& message, int timeoutMs)
{
    QLocalSocket socket;
    socket.connectToServer(socketPath(name));
    if (!socket.waitForConnected(timeoutMs))
        return false;
    QByteArray line = NativeName::toBytes(message);
    line.replace('\n', ' ');
    socket.write(line + '\n');
    if (!socket.waitForBytesWritten(timeoutMs) || !socket.waitForReadyRead(timeoutMs))
        return false;
    return socket.readLine().startsWith("ok");
}
