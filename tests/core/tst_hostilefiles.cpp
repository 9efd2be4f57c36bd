// Clip data files as they arrive from outside: huge, binary, with far too many entries. None
// may crash or hang the reader; each loads what the format allows and saves back safely.

#include "files/clipfile.h"
#include "platform/filesystem.h"
#include "platform/sjiscodec.h"

#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

namespace {
constexpr qsizetype MiB = 1024 * 1024;
using Entries = QList<ClipEntry>;
} // namespace

class TestHostileFiles : public QObject
{
    Q_OBJECT

private slots:
    void loads_data();
    void loads();
    void junkLoadsWellFormedAndSavesSafely_data();
    void junkLoadsWellFormedAndSavesSafely();

private:
    QTemporaryDir m_dir;
    const QString m_path = m_dir.filePath(u"hostile.cdt"_qs);
};

void TestHostileFiles::loads_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<Entries>("expected");
    const QString kana(25 * MiB, u'あ');
    const QByteArray kanaBytes = sjis::encode(kana).value(); // 50 MiB
    QTest::newRow("50 MiB caption") << QByteArray("#") + kanaBytes + "\r\n" << Entries{{kana, QString()}};
    QTest::newRow("50 MiB text line, no line end") << QByteArray("#A\r\n") + kanaBytes << Entries{{"A", kana}};
    // An editor that writes bare LF: the whole file is one line, so one caption.
    const QByteArray lf = QByteArray("#") + QByteArray("#x\n").repeated(16 * MiB);
    QTest::newRow("48 MiB of bare LF lines") << lf << Entries{{QString::fromLatin1(lf.mid(1)), QString()}};
    QString headers;
    Entries thirty;
    for (int i = 0; i < 100000; ++i) {
        headers += u"#見出し%1\r\n本文%1\r\n"_qs.arg(i);
        if (i < clipfile::maxEntries)
            thirty.append({u"見出し%1"_qs.arg(i), u"本文%1"_qs.arg(i)});
    }
    QTest::newRow("100,000 entries") << sjis::encode(headers).value() << thirty;
}

void TestHostileFiles::loads()
{
    QFETCH(QByteArray, bytes);
    QVERIFY(filesystem::writeWholeFile(m_path, bytes));
    const auto result = clipfile::read(m_path);
    QCOMPARE(result.status, clipfile::ReadResult::Status::Ok);
    QFETCH(Entries, expected);
    QCOMPARE(result.entries.size(), expected.size());
    QVERIFY(result.entries == expected); // not QCOMPARE: a failure must not print 50 MiB
}

void TestHostileFiles::junkLoadsWellFormedAndSavesSafely_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QRandomGenerator random(20260); // fixed: a failure must be repeatable
    QByteArray uniform(8 * MiB, Qt::Uninitialized);
    random.fillRange(reinterpret_cast<quint32 *>(uniform.data()), uniform.size() / 4);
    QTest::newRow("8 MiB of random bytes") << uniform;
    // Bytes the reader treats specially, densely packed.
    static constexpr char alphabet[] = {'#', '\r', '\n', '\0', '\x81', '\x82', '\xa0', '\xff', '\x5c', '\xe0',
                                        '\xfc', 'a', ' '};
    QByteArray dense(8 * MiB, Qt::Uninitialized);
    for (char &c : dense)
        c = alphabet[random.bounded(int(sizeof(alphabet)))];
    QTest::newRow("8 MiB of headers, line ends, lead bytes") << dense;
    for (const char c : {'\r', '#', '\0', '\x81'})
        QTest::addRow("only 0x%02x", uchar(c)) << QByteArray(4 * MiB, c);
}

void TestHostileFiles::junkLoadsWellFormedAndSavesSafely()
{
    QFETCH(QByteArray, bytes);
    QVERIFY(filesystem::writeWholeFile(m_path, bytes));
    const auto result = clipfile::read(m_path);
    QCOMPARE(result.status, clipfile::ReadResult::Status::Ok);
    QVERIFY(result.entries.size() <= clipfile::maxEntries);
    for (const ClipEntry &entry : result.entries) {
        QVERIFY(!entry.caption.contains(u'\r'));
        QVERIFY(!QString(entry.text).remove(u"\r\n"_qs).contains(u'\r'));
        QVERIFY(!entry.text.startsWith(u"\r\n"_qs));
    }
    // Saving what was read either works and reads back the same, or is refused and the
    // file keeps every byte.
    const auto written = clipfile::write(m_path, result.entries, result.encoding);
    if (written.ok()) {
        QVERIFY(clipfile::read(m_path).entries == result.entries);
    } else {
        QCOMPARE(written.status, clipfile::WriteResult::Status::Unencodable);
        QVERIFY(written.entryIndex >= 0 && written.entryIndex < result.entries.size());
        QVERIFY(filesystem::readWholeFile(m_path) == bytes);
    }
}

QTEST_GUILESS_MAIN(TestHostileFiles)
#include "tst_hostilefiles.moc"
