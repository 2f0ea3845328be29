// The single-instance socket within one process: the hand-over, what may stand in the socket's
// place, and what a listener must outlast; test_start and test_window_manager cover it across real
// copies of the program.
#include "files/open_path.h"
#include "single_instance.h"
#include "test_files.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QList>
#include <QLocalSocket>
#include <QObject>
#include <QSignalSpy>
#include <QString>
#include <QTemporaryDir>
#include <QTest>
#include <QVariant>
#include <QtGlobal>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <vector>

#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace {

sockaddr_un addressOf(const QString& path)
{
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    const QByteArray name = QFile::encodeName(path);
    std::memcpy(address.sun_path, name.constData(), std::min(name.size(), qsizetype(sizeof address.sun_path - 1)));
    return address;
}

// What a copy that was killed leaves: a socket file with no one behind it.
bool leaveDeadSocket(const QString& path)
{
    const sockaddr_un address = addressOf(path);
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    const bool bound = fd >= 0 && ::bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0;
    if (fd >= 0)
        ::close(fd);
    return bound && QFile::exists(path);
}

// While it lives, every file descriptor the process may have is taken, by connections to the
// socket that wait to be accepted.
class DescriptorShortage {
public:
    explicit DescriptorShortage(const QString& socketPath)
    {
        ::getrlimit(RLIMIT_NOFILE, &saved_);
        rlimit low = saved_;
        low.rlim_cur = std::min<rlim_t>(saved_.rlim_cur, rlim_t(QDir("/proc/self/fd").count()) + 16);
        ::setrlimit(RLIMIT_NOFILE, &low);
        sockaddr_un address = addressOf(socketPath);
        for (;;) {
            const int connection = ::socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
            if (connection < 0) {
                reached_ = errno == EMFILE;
                break;
            }
            connections_.push_back(connection);
            if (::connect(connection, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0)
                break;
        }
    }
    ~DescriptorShortage()
    {
        for (const int connection : connections_)
            ::close(connection);
        ::setrlimit(RLIMIT_NOFILE, &saved_);
    }
    DescriptorShortage(const DescriptorShortage&) = delete;
    DescriptorShortage& operator=(const DescriptorShortage&) = delete;

    bool reached() const { return reached_ && connections_.size() > 1; }

private:
    rlimit saved_{};
    std::vector<int> connections_;
    bool reached_ = false;
};

} // namespace

class SingleInstanceTest : public QObject {
    Q_OBJECT

private slots:
    void laterStartHandsOverWhateverWasLeft_data()
    {
        QTest::addColumn<QString>("left"); // what stands at the socket's path before the first start
        QTest::addColumn<bool>("handedOver");
        QTest::newRow("garbage") << "garbage" << true;
        QTest::newRow("a socket nobody listens on") << "stale socket" << true;
        QTest::newRow("a folder: both run alone") << "folder" << false;
        QTest::newRow("no runtime folder: both run alone") << "no folder" << false;
    }
    void laterStartHandsOverWhateverWasLeft()
    {
        QFETCH(QString, left);
        QFETCH(bool, handedOver);
        QTemporaryDir runtime;
        const QString path = runtime.filePath(left == "no folder" ? "missing/kavrin.socket" : "kavrin.socket");
        if (left == "garbage")
            QVERIFY(kavrin::test::writeFile(path, QByteArray("\x01\xfe garbage from 1999", 20)));
        else if (left == "folder")
            QVERIFY(QDir().mkpath(path));
        else if (left == "stale socket")
            QVERIFY(leaveDeadSocket(path));

        kavrin::SingleInstance first(path);
        QVERIFY(!first.handOverToRunningCopy({}));
        QSignalSpy received(&first, &kavrin::SingleInstance::fileHandedOver);
        // File names are bytes: one that is not UTF-8 arrives as it left.
        const QString names[] = {QStringLiteral("/home/p/ünï code, \"quoted\".kvr"),
                                 kavrin::decodeFileName("/home/p/\xff\xfe.kvr")};
        for (const QString& handed : names) {
            kavrin::SingleInstance second(path);
            QCOMPARE(second.handOverToRunningCopy(handed), handedOver);
            if (handedOver) {
                QTRY_VERIFY(!received.isEmpty());
                QCOMPARE(received.takeFirst()[0].toString(), handed);
            }
        }
        QTest::qWait(50);
        QCOMPARE(received.size(), 0);
    }

    // Out of file descriptors, the running copy cannot take a later start at once; it takes it
    // once some are free, and the start after that still finds it.
    void keepsListeningWhenOutOfDescriptors()
    {
        QTemporaryDir runtime;
        const QString path = runtime.filePath("kavrin.socket");
        kavrin::SingleInstance first(path);
        QVERIFY(!first.handOverToRunningCopy({}));
        QSignalSpy received(&first, &kavrin::SingleInstance::fileHandedOver);
        {
            const DescriptorShortage shortage(path);
            QVERIFY(shortage.reached());
            QTest::qWait(100); // the running copy tries to take them
        }
        kavrin::SingleInstance later(path);
        QVERIFY(later.handOverToRunningCopy(QStringLiteral("/after.kvr")));
        QTRY_VERIFY(std::any_of(received.cbegin(), received.cend(),
                                [](const QList<QVariant>& signal) { return signal[0].toString() == QStringLiteral("/after.kvr"); }));
    }

    // A message longer than any path is cut off at once; one of the limit still counts.
    void overLongMessagesAreCutOff_data()
    {
        QTest::addColumn<qsizetype>("size");
        QTest::addColumn<bool>("handedOver");
        QTest::newRow("64 KiB") << qsizetype{64} * 1024 << true;
        QTest::newRow("one byte more") << qsizetype{64} * 1024 + 1 << false;
    }
    void overLongMessagesAreCutOff()
    {
        QFETCH(qsizetype, size);
        QFETCH(bool, handedOver);
        QTemporaryDir runtime;
        const QString path = runtime.filePath("kavrin.socket");
        // Never idle for long enough to be dropped for that.
        kavrin::SingleInstance first(path, std::chrono::hours(1));
        QVERIFY(!first.handOverToRunningCopy({}));
        QSignalSpy received(&first, &kavrin::SingleInstance::fileHandedOver);
        QLocalSocket sender;
        sender.connectToServer(path);
        QVERIFY(sender.waitForConnected());
        sender.write(QByteArray(size, '/'));
        if (handedOver) {
            sender.disconnectFromServer();
            QTRY_COMPARE(received.size(), 1);
            QCOMPARE(received[0][0].toString().size(), size);
        } else {
            QTRY_COMPARE(sender.state(), QLocalSocket::UnconnectedState);
            QCOMPARE(received.size(), 0);
        }
    }

    // A connection that never ends its message is dropped, and what it sent is no path.
    void silentConnectionsAreDropped()
    {
        QTemporaryDir runtime;
        const QString path = runtime.filePath("kavrin.socket");
        kavrin::SingleInstance first(path, std::chrono::milliseconds(50));
        QVERIFY(!first.handOverToRunningCopy({}));
        QSignalSpy received(&first, &kavrin::SingleInstance::fileHandedOver);
        QLocalSocket silent;
        silent.connectToServer(path);
        QVERIFY(silent.waitForConnected());
        silent.write("/half a pa");
        QTRY_COMPARE(silent.state(), QLocalSocket::UnconnectedState);
        QCOMPARE(received.size(), 0);
    }
};

QTEST_GUILESS_MAIN(SingleInstanceTest)
#include "single_instance_test.moc"
