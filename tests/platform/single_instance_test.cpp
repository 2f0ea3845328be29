// The single-instance lock across real processes: a second copy ends at once, a crashed copy's lock is taken over.
#include "single_instance.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

class SingleInstanceTest : public QObject {
    Q_OBJECT

private:
    QTemporaryDir runtimeDir_;

    std::unique_ptr<QProcess> start()
    {
        auto process = std::make_unique<QProcess>();
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtimeDir_.path());
        process->setProcessEnvironment(environment);
        process->start(QStringLiteral(KAVRIN_INSTANCE_HELPER));
        return process;
    }

    static QByteArray firstLine(QProcess& process)
    {
        while (!process.canReadLine() && process.state() != QProcess::NotRunning)
            process.waitForReadyRead(10000);
        return process.readLine().trimmed();
    }

    static void end(QProcess& process)
    {
        process.closeWriteChannel();
        QVERIFY(process.waitForFinished(10000));
    }

    QString lockPath() const
    {
        return runtimeDir_.filePath(QStringLiteral("kavrin-solve.lock"));
    }

private slots:
    void initTestCase()
    {
        QVERIFY(runtimeDir_.isValid());
    }

    void secondCopyEndsWhileFirstRuns()
    {
        const auto first = start();
        QCOMPARE(firstLine(*first), QByteArray("first"));

        const auto second = start();
        QVERIFY(second->waitForFinished(10000));
        QCOMPARE(second->readAllStandardOutput().trimmed(), QByteArray("second"));
        QCOMPARE(second->exitCode(), 3);
        QCOMPARE(first->state(), QProcess::Running);

        end(*first);
        QVERIFY(!QFile::exists(lockPath()));
        const auto third = start();
        QCOMPARE(firstLine(*third), QByteArray("first"));
        end(*third);
    }

    void lockOfKilledCopyDoesNotBlock()
    {
        const auto crashed = start();
        QCOMPARE(firstLine(*crashed), QByteArray("first"));
        crashed->kill();
        QVERIFY(crashed->waitForFinished(10000));
        QVERIFY(QFile::exists(lockPath()));

        const auto next = start();
        QCOMPARE(firstLine(*next), QByteArray("first"));
        end(*next);
    }

    void secondLockInOneProcessCounts()
    {
        const QString path = runtimeDir_.filePath(QStringLiteral("same-process.lock"));
        const kavrin::SingleInstance first(path);
        const kavrin::SingleInstance second(path);
        QVERIFY(!first.anotherInstanceRunning());
        QVERIFY(second.anotherInstanceRunning());
    }

    void unusableLockFolderStillStarts()
    {
        const kavrin::SingleInstance instance(runtimeDir_.filePath(QStringLiteral("missing/folder/x.lock")));
        QVERIFY(!instance.anotherInstanceRunning());
    }
};

QTEST_GUILESS_MAIN(SingleInstanceTest)
#include "single_instance_test.moc"
