// The single-instance socket and the hand-over of a later start's file.
#include "single_instance.h"

#include <QLocalSocket>
#include <QStandardPaths>

#include <utility>

namespace kavrin {

namespace {

// A copy that is running answers at once, even mid-search: the kernel accepts for it.
constexpr int kConnectTimeoutMs = 2000;
constexpr int kWriteTimeoutMs = 5000;
// A path is far shorter; anything longer is not from a start of ours.
constexpr qint64 kMostHandedBytes = qint64{64} * 1024;

} // namespace

SingleInstance::SingleInstance(QString socketPath, QObject* parent)
    : QObject(parent), socketPath_(std::move(socketPath))
{
    // Only this user may connect. With an access option Qt also makes the socket aside and renames
    // it into place, which is what replaces leftovers below.
    server_.setSocketOptions(QLocalServer::UserAccessOption);
    connect(&server_, &QLocalServer::newConnection, this, &SingleInstance::receive);
}

bool SingleInstance::handOverToRunningCopy(const QString& path)
{
    if (socketPath_.isEmpty())
        return false;
    if (sendToRunningCopy(path))
        return true;
    // Whatever a copy that died left in the socket's place (a socket nobody answers on, a file of
    // any content) is replaced, so no leftover stops a start.
    if (server_.listen(socketPath_))
        return false;
    // A copy that started a moment ago; or something that cannot be replaced, and this copy runs alone.
    return sendToRunningCopy(path);
}

QString SingleInstance::DefaultSocketPath()
{
    const QString runtime = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    return runtime.isEmpty() ? QString() : runtime + QStringLiteral("/" KAVRIN_APP_ID ".socket");
}

bool SingleInstance::sendToRunningCopy(const QString& path) const
{
    QLocalSocket socket;
    socket.connectToServer(socketPath_);
    if (!socket.waitForConnected(kConnectTimeoutMs))
        return false;
    // The running copy reads until we close, so the bytes need no framing.
    const QByteArray bytes = path.toUtf8();
    if (socket.write(bytes) != bytes.size())
        return false;
    socket.disconnectFromServer();
    return socket.state() == QLocalSocket::UnconnectedState || socket.waitForDisconnected(kWriteTimeoutMs);
}

void SingleInstance::receive()
{
    while (QLocalSocket* socket = server_.nextPendingConnection()) {
        socket->setParent(this);
        // A flood stops at the limit and is never taken for a path.
        socket->setReadBufferSize(kMostHandedBytes + 1);
        connect(socket, &QLocalSocket::disconnected, this, [this, socket] {
            socket->deleteLater();
            const QByteArray bytes = socket->readAll();
            if (bytes.size() <= kMostHandedBytes)
                emit fileHandedOver(QString::fromUtf8(bytes));
        });
    }
}

} // namespace kavrin
