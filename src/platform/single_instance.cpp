// The single-instance socket and the hand-over of a later start's file. The listening side is
// plain POSIX: a listener must outlive a moment without file descriptors, and Qt's local server
// closes itself and deletes its socket when one accept fails.
#include "single_instance.h"

#include "files/open_path.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QFile>
#include <QLocalSocket>
#include <QStandardPaths>
#include <QtGlobal>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <utility>

#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

namespace kavrin {

namespace {

// A copy that is running answers at once, even mid-search: the kernel accepts for it.
constexpr int kConnectTimeoutMs = 2000;
constexpr int kWriteTimeoutMs = 5000;
// A path is far shorter; anything longer is not from a start of ours.
constexpr qint64 kMostHandedBytes = qint64{64} * 1024;
// Out of descriptors, the waiting starts stay queued in the kernel until some are free again.
constexpr std::chrono::milliseconds kAcceptRetry{200};

bool bindTo(int descriptor, const QByteArray& path)
{
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    if (path.size() >= qsizetype(sizeof address.sun_path))
        return false;
    std::memcpy(address.sun_path, path.constData(), std::size_t(path.size()));
    return ::bind(descriptor, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0;
}

} // namespace

SingleInstance::SingleInstance(QString socketPath, std::chrono::milliseconds idleLimit, QObject* parent)
    : QObject(parent), socketPath_(std::move(socketPath)), idleLimit_(idleLimit)
{
    acceptRetry_.setSingleShot(true);
    acceptRetry_.setInterval(kAcceptRetry);
    connect(&acceptRetry_, &QTimer::timeout, this, [this] { waitingStarts_.setEnabled(true); });
}

SingleInstance::~SingleInstance()
{
    if (listener_ < 0)
        return;
    ::close(listener_);
    QFile::remove(socketPath_);
}

bool SingleInstance::handOverToRunningCopy(const QString& path)
{
    if (socketPath_.isEmpty())
        return false;
    if (sendToRunningCopy(path))
        return true;
    if (listen())
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
    // The running copy reads until we close, so the bytes need no framing. The name's own bytes,
    // which need not be UTF-8.
    const QByteArray bytes = encodeFileName(path);
    if (socket.write(bytes) != bytes.size())
        return false;
    socket.disconnectFromServer();
    return socket.state() == QLocalSocket::UnconnectedState || socket.waitForDisconnected(kWriteTimeoutMs);
}

// Made aside and renamed into place, so that whatever a copy that died left at the path (a socket
// nobody answers on, a file of any content) is replaced in one step. Only this user may connect.
bool SingleInstance::listen()
{
    const QByteArray path = QFile::encodeName(socketPath_);
    const QByteArray aside = path + '.' + QByteArray::number(QCoreApplication::applicationPid());
    ::unlink(aside.constData()); // left by a copy that had our process id
    const int descriptor = ::socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    const bool listening = descriptor >= 0 && bindTo(descriptor, aside) && ::chmod(aside.constData(), S_IRUSR | S_IWUSR) == 0
        && ::listen(descriptor, SOMAXCONN) == 0 && ::rename(aside.constData(), path.constData()) == 0;
    if (!listening) {
        if (descriptor >= 0)
            ::close(descriptor);
        ::unlink(aside.constData());
        return false;
    }
    listener_ = descriptor;
    waitingStarts_.setSocket(descriptor);
    waitingStarts_.setEnabled(true);
    connect(&waitingStarts_, &QSocketNotifier::activated, this, &SingleInstance::acceptWaitingStarts);
    return true;
}

void SingleInstance::acceptWaitingStarts()
{
    for (;;) {
        const int connection = ::accept4(listener_, nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC);
        if (connection >= 0) {
            receive(connection);
            continue;
        }
        if (errno == EINTR || errno == ECONNABORTED)
            continue;
        if (errno != EAGAIN && errno != EWOULDBLOCK) {
            // No descriptor or memory to spare: keep listening, and try again in a moment.
            waitingStarts_.setEnabled(false);
            acceptRetry_.start();
        }
        return;
    }
}

void SingleInstance::receive(int descriptor)
{
    auto* socket = new QLocalSocket(this);
    if (!socket->setSocketDescriptor(descriptor)) {
        ::close(descriptor);
        delete socket;
        return;
    }
    // A flood stops at the limit and is never taken for a path.
    socket->setReadBufferSize(kMostHandedBytes + 1);
    connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
        if (socket->bytesAvailable() > kMostHandedBytes)
            drop(socket);
    });
    connect(socket, &QLocalSocket::disconnected, this, [this, socket] {
        socket->deleteLater();
        const QByteArray bytes = socket->readAll();
        if (bytes.size() <= kMostHandedBytes)
            emit fileHandedOver(decodeFileName(bytes));
    });
    QTimer::singleShot(idleLimit_, socket, [this, socket] { drop(socket); });
}

// Closed without a word: what it sent so far is no path.
void SingleInstance::drop(QLocalSocket* socket)
{
    disconnect(socket, nullptr, this, nullptr);
    socket->abort();
    socket->deleteLater();
}

} // namespace kavrin
