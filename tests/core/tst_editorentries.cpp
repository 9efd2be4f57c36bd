#include "editing/editorentries.h"

#include <QTest>

namespace {
using Entries = QList<ClipEntry>;
const ClipEntry unset{u"未設定"_qs, QString()};

/** Entry i is named "n<i>" with text "t<i>"; -1 stands for `unset`. */
Entries numbered(const QList<int> &order)
{
    Entries entries;
    for (const int i : order)
        entries.append(i < 0 ? unset : ClipEntry{u"n%1"_qs.arg(i), u"t%1"_qs.arg(i)});
    return entries;
}

QList<int> upTo(int count)
{
    QList<int> order;
    for (int i = 0; i < count; ++i)
        order.append(i);
    return order;
}

/** Every slot from the entry count up must be empty: moving entries relies on it. */
bool spareSlotsEmpty(const EditorEntries &e)
{
    for (int slot = e.count(); slot < EditorEntries::slotCount; ++slot)
        if (!e.text(slot).isEmpty())
            return false;
    return true;
}
} // namespace

class TestEditorEntries : public QObject
{
    Q_OBJECT

private slots:
    void loadKeepsThirtyAndClearsTheRest();
    void textSlots();
    void edit_data();
    void edit();
    void editorTextLineBreaks_data();
    void editorTextLineBreaks();
};

void TestEditorEntries::loadKeepsThirtyAndClearsTheRest()
{
    EditorEntries e;
    e.load(numbered(upTo(31)));
    QCOMPARE(e.entries(), numbered(upTo(30)));
    QVERIFY(e.isFull());
    QVERIFY(e.setText(30, u"spare"_qs));
    e.load(numbered(upTo(3))); // leaves nothing of the first load behind
    QCOMPARE(e.entries(), numbered(upTo(3)));
    QVERIFY(!e.isFull());
    QVERIFY(spareSlotsEmpty(e));
}

void TestEditorEntries::textSlots()
{
    EditorEntries e;
    QVERIFY(e.setText(30, u"b"_qs));
    QVERIFY(!e.setText(31, u"c"_qs));
    QVERIFY(!e.setText(-1, u"d"_qs));
    QCOMPARE(e.text(30), u"b"_qs);
    QCOMPARE(e.text(31), QString());
    QCOMPARE(e.text(-1), QString());
    QVERIFY(!e.setName(0, u"no entry yet"_qs));
    e.load(numbered(upTo(2)));
    QVERIFY(e.setName(1, u"x"_qs));
    QCOMPARE(e.name(1), u"x"_qs);
    QCOMPARE(e.name(2), QString());
}

void TestEditorEntries::edit_data()
{
    // One operation on entries 0..count-1: its result (a bool as 0 or 1, or the selection
    // after a removal) and the entries after it.
    QTest::addColumn<int>("count");
    QTest::addColumn<QString>("op");
    QTest::addColumn<int>("at");
    QTest::addColumn<int>("result");
    QTest::addColumn<QList<int>>("after");
    QTest::newRow("remove first") << 5 << "remove" << 0 << 0 << QList<int>{1, 2, 3, 4};
    QTest::newRow("remove middle") << 5 << "remove" << 2 << 2 << QList<int>{0, 1, 3, 4};
    QTest::newRow("remove last selects the one before") << 30 << "remove" << 29 << 28 << upTo(29);
    QTest::newRow("remove the only entry") << 1 << "remove" << 0 << -1 << QList<int>{};
    QTest::newRow("remove past the end") << 5 << "remove" << 5 << -1 << upTo(5);
    QTest::newRow("remove at -1") << 5 << "remove" << -1 << -1 << upTo(5);
    QTest::newRow("insert first makes thirty") << 29 << "insert" << 0 << 1 << QList<int>{-1} + upTo(29);
    QTest::newRow("insert in the middle") << 3 << "insert" << 1 << 1 << QList<int>{0, -1, 1, 2};
    QTest::newRow("insert at the end") << 3 << "insert" << 3 << 1 << QList<int>{0, 1, 2, -1};
    QTest::newRow("insert past the end") << 3 << "insert" << 4 << 0 << upTo(3);
    QTest::newRow("insert at -1") << 3 << "insert" << -1 << 0 << upTo(3);
    QTest::newRow("insert into thirty") << 30 << "insert" << 0 << 0 << upTo(30);
    QTest::newRow("append makes thirty") << 29 << "append" << 0 << 1 << upTo(29) + QList<int>{-1};
    QTest::newRow("append to thirty") << 30 << "append" << 0 << 0 << upTo(30);
    QTest::newRow("replace keeps the place") << 3 << "replace" << 1 << 1 << QList<int>{0, -1, 2};
    QTest::newRow("replace past the end") << 3 << "replace" << 3 << 0 << upTo(3);
    QTest::newRow("swap with the one above") << 4 << "swap" << 3 << 1 << QList<int>{0, 1, 3, 2};
    QTest::newRow("swap with no entry below") << 4 << "swapdown" << 3 << 0 << upTo(4);
    QTest::newRow("swap with -1") << 4 << "swap" << 0 << 0 << upTo(4);
    QTest::newRow("up from the top") << 4 << "up" << 0 << 0 << upTo(4);
    QTest::newRow("up from the bottom") << 4 << "up" << 3 << 1 << upTo(4);
    QTest::newRow("down from the top") << 4 << "down" << 0 << 1 << upTo(4);
    QTest::newRow("down from the bottom") << 4 << "down" << 3 << 0 << upTo(4);
    QTest::newRow("up, only entry") << 1 << "up" << 0 << 0 << upTo(1);
    QTest::newRow("down, only entry") << 1 << "down" << 0 << 0 << upTo(1);
}

void TestEditorEntries::edit()
{
    QFETCH(int, count);
    QFETCH(QString, op);
    QFETCH(int, at);
    EditorEntries e;
    e.load(numbered(upTo(count)));
    const int result = op == u"remove" ? e.remove(at)
            : op == u"insert"          ? e.insert(at, unset)
            : op == u"append"          ? e.append(unset)
            : op == u"replace"         ? e.replace(at, unset)
            : op == u"swap"            ? e.swap(at, at - 1)
            : op == u"swapdown"        ? e.swap(at, at + 1)
            : op == u"up"              ? e.canMoveUp(at)
                                       : e.canMoveDown(at);
    QTEST(result, "result");
    QFETCH(QList<int>, after);
    QCOMPARE(e.entries(), numbered(after)); // each entry keeps its own text
    QVERIFY(spareSlotsEmpty(e));
}

void TestEditorEntries::editorTextLineBreaks_data()
{
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QString>("shown");
    QTest::newRow("one line") << u"abc"_qs << u"abc"_qs;
    QTest::newRow("CR LF") << u"a\r\nb\r\n"_qs << u"a\nb\n"_qs;
    QTest::newRow("empty") << QString() << QString();
}

void TestEditorEntries::editorTextLineBreaks()
{
    QFETCH(QString, stored);
    QFETCH(QString, shown);
    QCOMPARE(editortext::toEditor(stored), shown);
    QCOMPARE(editortext::fromEditor(shown), stored);
}

QTEST_GUILESS_MAIN(TestEditorEntries)
#include "tst_editorentries.moc"
