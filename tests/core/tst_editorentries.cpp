#include "editing/editorentries.h"

#include <QTest>

namespace {

using Entries = QList<ClipEntry>;

/** Entries named "n0".."n<count-1>" with texts "t0"... */
Entries numbered(int count)
{
    Entries entries;
    for (int i = 0; i < count; ++i)
        entries.append({QStringLiteral("n%1").arg(i), QStringLiteral("t%1").arg(i)});
    return entries;
}

const ClipEntry kUnset{QStringLiteral("未設定"), QString()};

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
    void textSlotsRejectIndexesOutside();
    void removeAtEveryPosition_data();
    void removeAtEveryPosition();
    void removeOnlyEntryLeavesNothingSelected();
    void insertMovesLaterEntriesWithTheirTexts();
    void insertAndAppendStopAtThirty();
    void swapAndMoveLimits();
    void replaceKeepsPlaceAndCount();
    void editorTextLineBreaks_data();
    void editorTextLineBreaks();
};

void TestEditorEntries::loadKeepsThirtyAndClearsTheRest()
{
    EditorEntries e;
    e.load(numbered(31));
    QCOMPARE(e.count(), 30);
    QCOMPARE(e.entries(), numbered(30));
    QVERIFY(e.isFull());
    QVERIFY(spareSlotsEmpty(e));

    // A second load leaves nothing of the first behind.
    e.setText(30, QStringLiteral("spare"));
    e.load(numbered(3));
    QCOMPARE(e.count(), 3);
    QVERIFY(spareSlotsEmpty(e));
}

void TestEditorEntries::textSlotsRejectIndexesOutside()
{
    EditorEntries e;
    QVERIFY(e.setText(0, QStringLiteral("a")));
    QVERIFY(e.setText(30, QStringLiteral("b")));
    QVERIFY(!e.setText(31, QStringLiteral("c")));
    QVERIFY(!e.setText(-1, QStringLiteral("d")));
    QCOMPARE(e.text(30), QStringLiteral("b"));
    QCOMPARE(e.text(31), QString());
    QCOMPARE(e.text(-1), QString());
    QVERIFY(!e.setName(0, QStringLiteral("no entry yet")));
}

void TestEditorEntries::removeAtEveryPosition_data()
{
    QTest::addColumn<int>("count");
    QTest::addColumn<int>("index");
    QTest::addColumn<int>("selected");
    QTest::newRow("first of five") << 5 << 0 << 0;
    QTest::newRow("middle of five") << 5 << 2 << 2;
    QTest::newRow("last of five selects the one before") << 5 << 4 << 3;
    QTest::newRow("first of thirty") << 30 << 0 << 0;
    QTest::newRow("last of thirty") << 30 << 29 << 28;
    QTest::newRow("index past the end changes nothing") << 5 << 5 << -1;
    QTest::newRow("negative index changes nothing") << 5 << -1 << -1;
}

void TestEditorEntries::removeAtEveryPosition()
{
    QFETCH(int, count);
    QFETCH(int, index);
    QFETCH(int, selected);
    EditorEntries e;
    e.load(numbered(count));
    QCOMPARE(e.remove(index), selected);

    Entries expected = numbered(count);
    if (index >= 0 && index < count)
        expected.removeAt(index);
    // Each later entry keeps its own text after the shift.
    QCOMPARE(e.entries(), expected);
    QVERIFY(spareSlotsEmpty(e));
}

void TestEditorEntries::removeOnlyEntryLeavesNothingSelected()
{
    EditorEntries e;
    e.load(numbered(1));
    QCOMPARE(e.remove(0), -1);
    QCOMPARE(e.count(), 0);
    QVERIFY(spareSlotsEmpty(e));
}

void TestEditorEntries::insertMovesLaterEntriesWithTheirTexts()
{
    EditorEntries e;
    e.load(numbered(29));
    QVERIFY(e.insert(0, kUnset));
    QCOMPARE(e.count(), 30);
    Entries expected = numbered(29);
    expected.prepend(kUnset);
    QCOMPARE(e.entries(), expected);
    // Slot 30 is never an entry's text, and inserting never fills it.
    QCOMPARE(e.text(30), QString());

    EditorEntries tail;
    tail.load(numbered(3));
    QVERIFY(tail.insert(3, kUnset)); // at the end
    QVERIFY(tail.insert(1, kUnset));
    QCOMPARE(tail.entries(),
             (Entries{numbered(1).at(0), kUnset, numbered(2).at(1), numbered(3).at(2), kUnset}));
    QVERIFY(!tail.insert(6, kUnset));
    QVERIFY(!tail.insert(-1, kUnset));
}

void TestEditorEntries::insertAndAppendStopAtThirty()
{
    EditorEntries e;
    e.load(numbered(29));
    QVERIFY(e.append(kUnset));
    QCOMPARE(e.count(), 30);
    QVERIFY(!e.append(kUnset));
    QVERIFY(!e.insert(0, kUnset));
    QCOMPARE(e.count(), 30);
    QCOMPARE(e.name(0), QStringLiteral("n0"));
    QCOMPARE(e.name(29), kUnset.caption);
}

void TestEditorEntries::swapAndMoveLimits()
{
    EditorEntries e;
    e.load(numbered(4));
    QVERIFY(e.swap(3, 2));
    QCOMPARE(e.entries(),
             (Entries{numbered(4).at(0), numbered(4).at(1), numbered(4).at(3), numbered(4).at(2)}));
    QVERIFY(!e.swap(3, 4));
    QVERIFY(!e.swap(0, -1));

    QVERIFY(!e.canMoveUp(0));
    QVERIFY(e.canMoveDown(0));
    QVERIFY(e.canMoveUp(3));
    QVERIFY(!e.canMoveDown(3));

    EditorEntries single;
    single.load(numbered(1));
    QVERIFY(!single.canMoveUp(0));
    QVERIFY(!single.canMoveDown(0));
}

void TestEditorEntries::replaceKeepsPlaceAndCount()
{
    EditorEntries e;
    e.load(numbered(3));
    QVERIFY(e.replace(1, kUnset));
    QCOMPARE(e.entries(), (Entries{numbered(3).at(0), kUnset, numbered(3).at(2)}));
    QVERIFY(!e.replace(3, kUnset));
}

void TestEditorEntries::editorTextLineBreaks_data()
{
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QString>("shown");
    QTest::newRow("one line") << QStringLiteral("abc") << QStringLiteral("abc");
    QTest::newRow("CR LF") << QStringLiteral("a\r\nb\r\n") << QStringLiteral("a\nb\n");
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
