// The single-instance lock within one process; test_start covers it across real copies of the program.
#include "single_instance.h"

#include <QTemporaryDir>
#include <QTest>

class SingleInstanceTest : public QObject {
    Q_OBJECT

private:
    QTemporaryDir runtimeDir_;

private slots:
    void secondLockCountsAndAnUnusableFolderStillStarts()
    {
        const QString path = runtimeDir_.filePath(QStringLiteral("same-process.lock"));
        const kavrin::SingleInstance first(path);
        const kavrin::SingleInstance second(path);
        QVERIFY(!first.anotherInstanceRunning());
        QVERIFY(second.anotherInstanceRunning());
        const kavrin::SingleInstance nowhere(runtimeDir_.filePath(QStringLiteral("missing/folder/x.lock")));
        QVERIFY(!nowhere.anotherInstanceRunning());
    }
};

QTEST_GUILESS_MAIN(SingleInstanceTest)
#include "single_instance_test.moc"
