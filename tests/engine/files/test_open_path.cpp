// Paths from outside: the command line's text, quotes that belong to a name, names that are not
// UTF-8, and reads that nothing in a file's place can hold up.
#include "files/open_path.h"
#include "test_files.h"

#include <QByteArray>
#include <QChar>
#include <QFile>
#include <QList>
#include <QMetaType>
#include <QObject>
#include <QString>
#include <QTemporaryDir>
#include <QTest>

#include <initializer_list>
#include <optional>

#include <sys/stat.h>
#include <unistd.h>

using kavrin::BoundedRead;

Q_DECLARE_METATYPE(BoundedRead::Kind)

namespace {

QString escaped(std::initializer_list<char16_t> units)
{
    QString text;
    for (const char16_t unit : units)
        text += QChar(unit);
    return text;
}

} // namespace

class OpenPathTest : public QObject {
    Q_OBJECT

private slots:
    void commandLine_data()
    {
        QTest::addColumn<QStringList>("argv");
        QTest::addColumn<QString>("path");
        const QString program = QStringLiteral("/opt/kavrin/Kavrin_Solve");
        QTest::newRow("quoted path kept as one argument")
            << QStringList{program, "\"/home/ann/my puzzles/a.kvr\""} << "/home/ann/my puzzles/a.kvr";
        QTest::newRow("unquoted path split at its blank")
            << QStringList{program, "/home/ann/my", "puzzles/a.kvr"} << "/home/ann/my puzzles/a.kvr";
        QTest::newRow("no arguments") << QStringList{program} << "";
        QTest::newRow("no argv at all") << QStringList{} << "";
        QTest::newRow("inner quotes removed") << QStringList{program, "/tmp/\"odd\"/a\".kvr"} << "/tmp/odd/a.kvr";
        QTest::newRow("quotes only") << QStringList{program, "\"\""} << "";
    }
    void commandLine()
    {
        QFETCH(QStringList, argv);
        QTEST(kavrin::cleanedPath(kavrin::commandLineText(argv)), "path");
    }

    // Names relative to the scratch folder: the files there, the name given, the name taken.
    void quotesBelongToNamesThatExist_data()
    {
        QTest::addColumn<QStringList>("files");
        QTest::addColumn<QString>("given");
        QTest::addColumn<QString>("taken");
        QTest::newRow("a name with quotes that exists")
            << QStringList{"name with \"quote\".kvr"} << "name with \"quote\".kvr" << "name with \"quote\".kvr";
        QTest::newRow("a quoted name that does not")
            << QStringList{"plain.kvr"} << "\"plain.kvr\"" << "plain.kvr";
        QTest::newRow("both exist: the name as given")
            << QStringList{"both.kvr", "\"both.kvr\""} << "\"both.kvr\"" << "\"both.kvr\"";
        QTest::newRow("neither exists") << QStringList{} << "\"gone\".kvr" << "gone.kvr";
    }
    void quotesBelongToNamesThatExist()
    {
        QFETCH(QStringList, files);
        QFETCH(QString, given);
        QFETCH(QString, taken);
        QTemporaryDir folder;
        for (const QString& file : files)
            QVERIFY(kavrin::test::writeFileNamedByBytes(QFile::encodeName(folder.filePath(file)), "x"));
        QCOMPARE(kavrin::cleanedPath(folder.filePath(given)), folder.filePath(taken));
    }

    // Valid UTF-8 reads as Qt reads it; every other byte stands for itself, and comes back.
    void fileNameBytes_data()
    {
        QTest::addColumn<QByteArray>("name");
        QTest::addColumn<QString>("text");
        const auto utf8 = [](const char* bytes) { return QString::fromUtf8(bytes); };
        QTest::newRow("ASCII") << QByteArray("/home/ann/a b.kvr") << "/home/ann/a b.kvr";
        QTest::newRow("two, three and four bytes") << QByteArray("\xc3\xa9\xe2\x82\xac\xf0\x9f\x98\x80")
                                                   << utf8("\xc3\xa9\xe2\x82\xac\xf0\x9f\x98\x80");
        QTest::newRow("a byte-order mark inside") << QByteArray("a\xef\xbb\xbf") << escaped({u'a', 0xFEFF});
        QTest::newRow("not UTF-8") << QByteArray("\xff\xfe.kvr") << escaped({0xDCFF, 0xDCFE, u'.', u'k', u'v', u'r'});
        QTest::newRow("Latin-1") << QByteArray("caf\xe9") << escaped({u'c', u'a', u'f', 0xDCE9});
        QTest::newRow("overlong slash") << QByteArray("\xc0\xaf") << escaped({0xDCC0, 0xDCAF});
        QTest::newRow("encoded surrogate") << QByteArray("\xed\xa0\x80") << escaped({0xDCED, 0xDCA0, 0xDC80});
        QTest::newRow("past U+10FFFF") << QByteArray("\xf4\x90\x80\x80") << escaped({0xDCF4, 0xDC90, 0xDC80, 0xDC80});
        QTest::newRow("cut short") << QByteArray("\xe2\x82") << escaped({0xDCE2, 0xDC82});
        QTest::newRow("a stray byte after a four-byte character")
            << QByteArray("\xf0\x9f\x98\x80\x80") << utf8("\xf0\x9f\x98\x80") + QChar(char16_t(0xDC80));
    }
    void fileNameBytes()
    {
        QFETCH(QByteArray, name);
        QFETCH(QString, text);
        QCOMPARE(kavrin::decodeFileName(name), text);
        QCOMPARE(kavrin::encodeFileName(text), name);
    }

    void noNameWithANul() { QVERIFY(!kavrin::systemName(QStringLiteral("/etc/hostname") + QChar(0) + "x")); }

    // Each at a name that is not UTF-8, read with a cap of ten bytes.
    void readRegularFile_data()
    {
        QTest::addColumn<QString>("made"); // what stands at the path
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<BoundedRead::Kind>("kind");
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("small") << "file" << QByteArray("abc") << BoundedRead::Kind::Whole << QByteArray("abc");
        QTest::newRow("exactly the cap") << "file" << QByteArray("0123456789") << BoundedRead::Kind::Whole
                                         << QByteArray("0123456789");
        QTest::newRow("past the cap") << "file" << QByteArray("0123456789X") << BoundedRead::Kind::Cut
                                      << QByteArray("0123456789");
        QTest::newRow("nothing") << "nothing" << QByteArray() << BoundedRead::Kind::Missing << QByteArray();
        QTest::newRow("a file taken for a folder") << "under a file" << QByteArray() << BoundedRead::Kind::Missing
                                                   << QByteArray();
        QTest::newRow("a FIFO, without waiting for a writer") << "fifo" << QByteArray() << BoundedRead::Kind::NotRegular
                                                              << QByteArray();
        QTest::newRow("a folder") << "folder" << QByteArray() << BoundedRead::Kind::NotRegular << QByteArray();
        QTest::newRow("a link to an endless device") << "link" << QByteArray("/dev/zero") << BoundedRead::Kind::NotRegular
                                                     << QByteArray();
    }
    void readRegularFile()
    {
        QFETCH(QString, made);
        QFETCH(QByteArray, content);
        QTemporaryDir folder;
        const QByteArray at = QFile::encodeName(folder.path()) + "/at \xff";
        if (made == "file")
            QVERIFY(kavrin::test::writeFileNamedByBytes(at, content));
        else if (made == "under a file")
            QVERIFY(kavrin::test::writeFileNamedByBytes(at, "x"));
        else if (made == "fifo")
            QCOMPARE(::mkfifo(at.constData(), 0600), 0);
        else if (made == "folder")
            QCOMPARE(::mkdir(at.constData(), 0700), 0);
        else if (made == "link")
            QCOMPARE(::symlink(content.constData(), at.constData()), 0);
        const QByteArray path = made == "under a file" ? at + "/inside" : at;
        const BoundedRead read = kavrin::readRegularFile(kavrin::decodeFileName(path), 10);
        QTEST(read.kind, "kind");
        QTEST(read.bytes, "bytes");
        // Qt cannot spell the name to remove it.
        ::unlink(at.constData());
        ::rmdir(at.constData());
    }
};

QTEST_GUILESS_MAIN(OpenPathTest)
#include "test_open_path.moc"
