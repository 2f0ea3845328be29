// The single-instance socket within one process: the hand-over, and what may stand in the socket's
// place; test_start and test_window_manager cover it across real copies of the program.
#include "single_instance.h"
#include "test_files.h"

#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <cstring>

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace {

// What a copy that was killed leaves: a socket file with no one behind it.
bool leaveDeadSocket(const QString& path)
{
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    const QByteArray name = QFile::encodeName(path);
    std::memcpy(address.sun_path, name.constData(), std::min(name.size(), qsizetype(sizeof address.sun_path - 1)));
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    const bool bound = fd >= 0 && ::bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0;
    if (fd >= 0)
        ::close(fd);
    return bound && QFile::exists(path);
}

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
        kavrin::SingleInstance second(path);
        const QString handed = QStringLiteral("/home/p/ünï code, \"quoted\".kvr");
        QCOMPARE(second.handOverToRunningCopy(handed), handedOver);
        if (handedOver) {
            QTRY_COMPARE(received.size(), 1);
            QCOMPARE(received[0][0].toString(), handed);
        } else {
            QTest::qWait(50);
            QCOMPARE(received.size(), 0);
        }
    }
};

QTEST_GUILESS_MAIN(SingleInstanceTest)
#include "single_instance_test.moc"
