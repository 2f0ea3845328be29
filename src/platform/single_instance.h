// One running copy per user: the first start listens on a local socket in the runtime folder, and a
// later start hands it the file it was asked to open, then ends.
#pragma once

#include <QObject>
#include <QString>
#include <QTimer>

#include <chrono>

class QLocalSocket;
class QSocketNotifier;

namespace kavrin {

// A later start writes its path and closes at once; a connection silent for longer is dropped.
inline constexpr std::chrono::milliseconds kHandOverIdleLimit{5000};

class SingleInstance final : public QObject {
    Q_OBJECT
public:
    explicit SingleInstance(QString socketPath = DefaultSocketPath(),
                            std::chrono::milliseconds idleLimit = kHandOverIdleLimit, QObject* parent = nullptr);
    ~SingleInstance() override;

    // Hands `path` (empty: no file) to the copy already running and returns true; otherwise makes
    // this copy the one later starts hand their files to and returns false. Nothing left on disk
    // stops a start: a socket nobody answers on is replaced, and where no socket can be made at
    // all (no runtime folder, a folder in its place) this copy runs alone.
    bool handOverToRunningCopy(const QString& path);

    // In the user's runtime folder, so copies run by other users do not count.
    static QString DefaultSocketPath();

signals:
    // A later start's file, or an empty path when it named none.
    void fileHandedOver(const QString& path);

private:
    bool sendToRunningCopy(const QString& path) const;
    bool listen();
    void acceptWaitingStarts();
    void receive(int descriptor);
    void drop(QLocalSocket* socket);

    QString socketPath_;
    std::chrono::milliseconds idleLimit_;
    int listener_ = -1;
    QSocketNotifier* waitingStarts_ = nullptr;
    QTimer acceptRetry_;
};

} // namespace kavrin
