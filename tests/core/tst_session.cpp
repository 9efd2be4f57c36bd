#include "datatable.h"

#include "app/barlayout.h"
#include "app/keycodes.h"
#include "app/session.h"
#include "dialogs/spinstep.h"
#include "editing/editorentries.h"
#include "platform/desktopexec.h"
#include "platform/filesystem.h"
#include "platform/pastekeys.h"
#include "platform/sessionplatform.h"
#include "platform/sjiscodec.h"

#include <QDir>
#include <QFileInfo>
#include <QMetaEnum>
#include <QScopeGuard>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <atomic>
#include <numeric>
#include <thread>
#include <vector>

using namespace Qt::StringLiterals;

namespace {
using Kind = KeyCommand::Kind;
const ClipEntry unset{u"未設定"_s, QString()};

/** Answers each question in turn as `answers` says (y yes), then yes; a new file is `created`. */
struct Questions final : FileQuestions
{
    QString answers;
    QString created;
    int asked = 0;
    bool yes() { return QStringView(answers).mid(asked++).startsWith(u'y') || asked > answers.size(); }
    std::optional<QString> newFilePath() override { return yes() ? std::optional(created) : std::nullopt; }
    bool replaceOtherVersion(const QString &) override { return yes(); }
    bool emptyFile(const QString &) override { return yes(); }
};

/** Entry i is named "n<i>" with text "t<i>"; -1 stands for `unset`. */
QList<ClipEntry> numbered(const QList<int> &order)
{
    QList<ClipEntry> entries;
    for (const int i : order)
        entries.append(i < 0 ? unset : ClipEntry{u"n%1"_s.arg(i), u"t%1"_s.arg(i)});
    return entries;
}

QList<int> upTo(int count)
{
    QList<int> order(count);
    std::iota(order.begin(), order.end(), 0);
    return order;
}

/** Moving entries relies on every slot past the entries being empty. */
bool spareSlotsEmpty(const EditorEntries &e)
{
    for (int slot = e.count(); slot < EditorEntries::slotCount; ++slot)
        if (!e.text(slot).isEmpty())
            return false;
    return true;
}
} // namespace

class TestSession : public QObject
{
    Q_OBJECT

private slots:
    void propertiesOk_data()
    {
        // Width, count and height: as typed, as laid out, as the fields show them afterwards.
        columns<QString, QString, QString>({"typed", "applied", "shown"});
        QTest::newRow("plain values, not clamped") << "150|7|600" << "150|7|600" << "150|7|600";
        QTest::newRow("empty fields keep the values in use") << "||" << "2400|14|240" << "2400|14|240";
        QTest::newRow("45 buttons are 30") << "2400|45|240" << "2400|30|240" << "2400|30|240";
        QTest::newRow("0 buttons are 1") << "2400|0|240" << "2400|1|240" << "2400|1|240";
        QTest::newRow("fractions round to nearest") << "1800.6|6.5|249.5" << "1801|6|250" << "1800.6|6.5|249.5";
        QTest::newRow("no number keeps the value in use") << "wide|many|0x20" << "2400|14|240" << "2400|14|240";
        QTest::newRow("zero sizes are taken") << "0|5|0" << "0|5|0" << "0|5|0";
        QTest::newRow("beyond 16 bits or negative, too") << "40000|5|-100" << "2400|5|240" << "2400|5|240";
        QTest::newRow("too big for 16-bit twips: narrower, lower buttons") << "32700|30|2000" << "32657|30|921" << "32657|30|921";
    }
    void propertiesOk()
    {
        const QStringList t = fetched<QString>("typed").split(u'|');
        Session session;
        const AppliedProperties result = session.applyProperties({t[0], t[1], t[2], true, false});
        session.layOut(result.width, result.count, result.height);
        const Settings &in = session.settings();
        const QStringList applied{QString::number(in.buttonWidth), QString::number(in.buttonNum), QString::number(in.buttonHeight)};
        QTEST(applied.join(u'|'), "applied");
        QTEST(QStringList({result.shown.width, result.shown.count, result.shown.height}).join(u'|'), "shown");
        QVERIFY(in.onTop() && result.shown.onTop && !in.controlsHidden());
        QCOMPARE(session.propertyFields(), (PropertyFields{applied[0], applied[1], applied[2], true, false}));
    }

    void keys_data()
    {
        // A key pressed on a bar button: its code, and the command on a snippet or a control button.
        columns<int, bool, unsigned, int, Kind, Kind, int>(
                {"qtKey", "keypad", "scanCode", "code", "onSnippet", "onControl", "listed"});
        QTest::newRow("F1 renames") << int(Qt::Key_F1) << false << 0u << 112 << Kind::Rename << Kind::None << 0;
        QTest::newRow("F2 edits") << int(Qt::Key_F2) << false << 0u << 113 << Kind::Edit << Kind::None << 0;
        QTest::newRow("F3 shows the text") << int(Qt::Key_F3) << false << 0u << 114 << Kind::Display << Kind::None << 0;
        QTest::newRow("F4 the clipboard") << int(Qt::Key_F4) << false << 0u << 115 << Kind::Kakunin << Kind::Kakunin << 0;
        QTest::newRow("F5 reloads") << int(Qt::Key_F5) << false << 0u << 116 << Kind::Reload << Kind::Reload << 0;
        QTest::newRow("F6 the read files") << int(Qt::Key_F6) << false << 0u << 117 << Kind::ReadFiles << Kind::ReadFiles << 0;
        QTest::newRow("F7 opens the file") << int(Qt::Key_F7) << false << 0u << 118 << Kind::OpenFile << Kind::OpenFile << 0;
        QTest::newRow("F8 the properties") << int(Qt::Key_F8) << false << 0u << 119 << Kind::Properties << Kind::Properties << 0;
        QTest::newRow("F9 nothing") << int(Qt::Key_F9) << false << 0u << 120 << Kind::None << Kind::None << 0;
        QTest::newRow("F24, the last") << int(Qt::Key_F24) << false << 0u << 135 << Kind::None << Kind::None << 0;
        QTest::newRow("0 the tenth file") << int(Qt::Key_0) << false << 0u << 48 << Kind::LoadListed << Kind::LoadListed << 10;
        QTest::newRow("9 the ninth") << int(Qt::Key_9) << false << 0u << 57 << Kind::LoadListed << Kind::LoadListed << 9;
        QTest::newRow("Shift+1 is 1") << int(Qt::Key_Exclam) << false << 10u << 49 << Kind::LoadListed << Kind::LoadListed << 1;
        QTest::newRow("Shift+0 is 0") << int(Qt::Key_ParenRight) << false << 19u << 48 << Kind::LoadListed << Kind::LoadListed << 10;
        QTest::newRow("! elsewhere is nothing") << int(Qt::Key_Exclam) << false << 0u << 0 << Kind::None << Kind::None << 0;
        QTest::newRow("keypad 5 is no file number") << int(Qt::Key_5) << true << 84u << 0 << Kind::None << Kind::None << 0;
        QTest::newRow("Return") << int(Qt::Key_Return) << false << 0u << 13 << Kind::None << Kind::None << 0;
        QTest::newRow("Delete") << int(Qt::Key_Delete) << false << 0u << 46 << Kind::None << Kind::None << 0;
    }
    void keys()
    {
        const int code = keycodes::fromQtKey(fetched<int>("qtKey"), fetched<bool>("keypad"), fetched<unsigned>("scanCode"));
        QTEST(code, "code");
        QTEST(keyCommand(code, 1).kind, "onSnippet");
        QTEST(keyCommand(code, 2).kind, "onControl");
        QCOMPARE(keyCommand(code, 1).listed, fetched<int>("listed"));
    }

    void menuAndCaption()
    {
        Session session;
        QCOMPARE(session.menuState(true), (MenuState{true, false, false, false, false, false}));
        session.setDataFileName(u"/x.cdt"_s);
        session.setSettings({14, 240, 2400, 1, 0});
        QCOMPARE(session.menuState(false), (MenuState{false, true, true, false, false, false}));
        session.setSettings({14, 240, 2400, 1, 1});
        session.options.clickPaste = true;
        QCOMPARE(session.menuState(true), (MenuState{true, true, true, true, true, false}));
        QCOMPARE(captionFor(u"定型文.cdt"_s), u"定型文"_s);
        QCOMPARE(captionFor(u"a.cd"_s), QString());
        QCOMPARE(captionFor(u"abc"_s), QString());
    }

    void readFileList()
    {
        QTemporaryDir dir;
        const QString a = dir.filePath("a.cdt");
        QVERIFY(filesystem::writeWholeFile(a, "#a\r\n"));
        Session session;
        session.addFile("a.cdt", a, true);
        // A Windows path naming a file beside Start.ini becomes that file in all three lists.
        session.addFile("A.CDT", "C:\\clips\\A.CDT");
        session.acceptFiles();
        QCOMPARE(session.listedPath(1, dir.path()), a);
        QCOMPARE(session.names(), (QStringList{"a.cdt", "a.cdt"}));
        QCOMPARE(session.acceptedPaths(), (QStringList{a, a}));
    }

    // Saves go to the file whose entries the bar shows; the list's rows are only a choice
    // until its OK, and its Cancel takes the selection back with the rows. A deleted row's
    // place goes to the next, or to the new last row.
    void saveTarget_data()
    {
        // inUse: of a.cdt, b.cdt (accepted), -1 none; steps: s<row> select, d delete, + add c.cdt, c cancel
        columns<int, QString, int, QString>({"inUse", "steps", "selected", "target"});
        QTest::newRow("another row clicked") << 0 << "s1" << 1 << "a.cdt";
        QTest::newRow("a row past the list: none") << 0 << "s2" << -1 << "a.cdt";
        QTest::newRow("the file in use deleted") << 0 << "s0d" << 0 << "a.cdt";
        QTest::newRow("the last row deleted") << 0 << "s1d" << 0 << "a.cdt";
        QTest::newRow("every row deleted") << 1 << "dd" << -1 << "b.cdt";
        QTest::newRow("another row clicked, cancelled") << 0 << "s1c" << 0 << "a.cdt";
        QTest::newRow("a file added and chosen, cancelled") << 1 << "+s2c" << 1 << "b.cdt";
        QTest::newRow("every row deleted, cancelled") << 0 << "ddc" << 0 << "a.cdt";
        QTest::newRow("none in use, a row clicked, cancelled") << -1 << "s0c" << -1 << "";
    }
    void saveTarget()
    {
        QFETCH(int, inUse);
        QFETCH(QString, steps);
        Session session;
        session.addFile("a.cdt", "/a.cdt", true);
        session.addFile("b.cdt", "/b.cdt", true);
        session.setDataFileNum(inUse);
        session.setDataFileName(session.paths().value(inUse));
        session.selectFile(inUse);
        for (qsizetype i = 0; i < steps.size(); ++i) {
            switch (steps[i].toLatin1()) {
            case 's': session.selectFile(steps[++i].digitValue()); break;
            case 'd': session.removeSelectedFile(); break;
            case '+': session.addFile("c.cdt", "/c.cdt"); break;
            case 'c': session.restoreFiles(); break;
            }
        }
        QTEST(session.selectedFile(), "selected");
        QTEST(QFileInfo(session.dataFileName()).fileName(), "target");
    }

    // The file in use, without windows: what each load and save comes to, which questions
    // it asks, what the file holds afterwards, and how often the bar is told to reload.
    // Steps: l load, s save {b, y}, u save an entry Shift-JIS cannot hold, n create a new
    // set, h hold the file busy (a message box opens), r let go, k a change reported; and
    // as another program: o saves "#other", e empties the file, d deletes it, v removes its
    // folder, w saves in place over and over from then on. `before` is what the file holds
    // at first (none: no file, "big": over the limit, "mem": unreadable).
    void fileInUse_data()
    {
        // answers: y or n for each question, in turn; outcome: of the last step
        columns<QString, QString, QString, QString, int, QByteArray, int>(
                {"before", "steps", "answers", "outcome", "questions", "after", "reloads"});
        const QByteArray mine("#b\r\ny\r\n");
        QTest::newRow("loaded") << "#a\r\nx" << "l" << "" << "Loaded" << 0 << QByteArray("#a\r\nx") << 0;
        QTest::newRow("missing") << "none" << "l" << "" << "Missing" << 0 << QByteArray() << 0;
        QTest::newRow("too large") << "big" << "l" << "" << "TooLarge" << 0 << QByteArray() << 0;
        QTest::newRow("unreadable") << "mem" << "l" << "" << "Unreadable" << 0 << QByteArray() << 0;
        QTest::newRow("saved as read: UTF-8 and LF kept") << "#日本\nx\n" << "ls" << "" << "Saved" << 0 << QByteArray("#b\ny\n") << 0;
        QTest::newRow("saved again, unasked") << "#a\r\n" << "lss" << "" << "Saved" << 0 << mine << 0;
        QTest::newRow("another's save since: kept") << "#a\r\n" << "los" << "n" << "Kept" << 1 << QByteArray("#other\r\n") << 0;
        QTest::newRow("another's save since: replaced") << "#a\r\n" << "los" << "y" << "Saved" << 1 << mine << 0;
        QTest::newRow("another's save after ours") << "#a\r\n" << "lsos" << "n" << "Kept" << 1 << QByteArray("#other\r\n") << 0;
        QTest::newRow("emptied since: nothing to lose") << "#a\r\n" << "les" << "" << "Saved" << 0 << mine << 0;
        QTest::newRow("deleted since: written anew") << "#a\r\n" << "lds" << "" << "Saved" << 0 << mine << 0;
        QTest::newRow("no file in use, none created") << "none" << "s" << "n" << "NoFile" << 1 << QByteArray() << 0;
        QTest::newRow("no file in use, one created") << "none" << "s" << "y" << "Saved" << 1 << mine << 0;
        QTest::newRow("a new set over the file in use: asked, kept") << "#a\r\n" << "ln" << "n" << "Kept" << 1 << QByteArray("#a\r\n") << 0;
        QTest::newRow("a new set over the file in use: emptied") << "#a\r\n" << "ln" << "y" << "Saved" << 1 << QByteArray("#未設定\r\n\r\n").replace("未設定", "\x96\xa2\x90\xdd\x92\xe8") << 0;
        QTest::newRow("an entry Shift-JIS cannot hold") << "#a\r\n" << "lu" << "" << "Unencodable" << 0 << QByteArray("#a\r\n") << 0;
        QTest::newRow("a change while busy waits, then reloads once") << "#a\r\n" << "lhokkr" << "" << "Loaded" << 0 << QByteArray("#other\r\n") << 1;
        QTest::newRow("the program's own save is no change") << "#a\r\n" << "lsk" << "" << "Saved" << 0 << mine << 0;
        QTest::newRow("folder gone: the system's reason") << "#a\r\n" << "lvs" << "" << "Failed" << 0 << QByteArray() << 0;
        // What the program knows is always what it wrote, so each save after another's asks.
        QTest::newRow("another saving in place all along") << "#a\r\n" << "lw" + QString(50, u's') << "" << "" << 0 << QByteArray() << 0;
    }
    void fileInUse()
    {
        QFETCH(QString, before);
        QTemporaryDir dir;
        const QString folder = dir.filePath(u"in"_s);
        QString path = folder + u"/a.cdt"_s;
        QVERIFY(QDir().mkdir(folder));
        if (before == u"mem")
            path = u"/proc/self/mem"_s; // a file no one reads at its start
        else if (before == u"big")
            QVERIFY(QFile(path).open(QIODevice::WriteOnly) && QFile::resize(path, clipfile::maxFileSize + 1));
        else if (before != u"none")
            QVERIFY(filesystem::writeWholeFile(path, before.toUtf8()));
        Questions questions;
        questions.answers = fetched<QString>("answers");
        questions.created = path;
        FileInUse file;
        if (before != u"none")
            file.setPath(path);
        QSignalSpy reloads(&file, &FileInUse::changedOnDisk);
        QString outcome;
        std::atomic<bool> stop = false;
        std::thread other;
        const auto joined = qScopeGuard([&] { stop = true; if (other.joinable()) other.join(); });
        const auto kindOf = [](auto kind) { return QString::fromLatin1(QMetaEnum::fromType<decltype(kind)>().valueToKey(int(kind))); };
        for (const QChar step : fetched<QString>("steps")) {
            switch (step.unicode()) {
            case 'l': outcome = kindOf(file.load(path).kind); break;
            case 's': {
                const SaveOutcome saved = file.save({{u"b"_s, u"y"_s}}, questions);
                outcome = kindOf(saved.kind);
                if (other.joinable() && saved.kind == SaveOutcome::Kind::Saved)
                    QCOMPARE(file.known().content, std::optional(Digester::of("#b\r\ny\r\n")));
                break;
            }
            case 'u': outcome = kindOf(file.save({{u"😀"_s, QString()}}, questions).kind); break;
            case 'n': outcome = kindOf(file.create(path, {unset}, questions).kind); break;
            case 'o': QVERIFY(filesystem::writeWholeFile(path, "#other\r\n")); break;
            case 'e': QVERIFY(filesystem::writeWholeFile(path, "")); break;
            case 'd': QVERIFY(QFile::remove(path)); break;
            case 'v': QVERIFY(QDir(folder).removeRecursively()); break;
            case 'w':
                other = std::thread([&] { // in place, over all of what the program writes
                    for (int i = 0; !stop; ++i)
                        if (QFile out(path); out.open(QIODevice::ReadWrite))
                            out.write(QByteArray("#other ") + QByteArray::number(i % 7) + "\r\n");
                });
                QVERIFY(QTest::qWaitFor([&] { return filesystem::readWholeFile(path)->startsWith("#other"); }));
                break;
            case 'h': file.hold(&questions); break;
            case 'r': file.release(&questions); QCoreApplication::processEvents(); break;
            case 'k': file.checkDisk(); QCoreApplication::processEvents(); break;
            }
        }
        if (other.joinable()) { // how often the other program came between is its own affair
            QVERIFY(questions.asked > 0);
            return;
        }
        QTEST(int(reloads.size()), "reloads");
        QTEST(outcome, "outcome");
        QTEST(questions.asked, "questions");
        if (before != u"mem" && before != u"big")
            QTEST(filesystem::readWholeFile(path).value_or(QByteArray()), "after");
    }

    void barLayout()
    {
        const barlayout::Layout layout = barlayout::compute(2400, 5, 300, false);
        QCOMPARE(layout.snippetTops, (QList<int>{0, 300, 600, 900, 1200}));
        QCOMPARE(layout.controlTops, (std::array<int, 5>{1600, 1900, 2200, 2500, 2800}));
        QCOMPARE(layout.windowHeight, 3500.0);
        QCOMPARE(layout.windowWidth, 2510);
        QCOMPARE(barlayout::fromWindowSize(2510, 1610, 4, true).height, 302); // 302.5 rounds to even
    }

    void everyRequestIsLaidOut_data()
    {
        // asked: width, count, height
        columns<QList<int>, bool, QList<int>, double>({"asked", "hidden", "laidOut", "windowHeight"});
        QTest::newRow("5 × 300 without controls") << QList{2400, 5, 300} << true << QList{2400, 5, 300} << 1900.0;
        QTest::newRow("count 0 is 14") << QList{2400, 0, 240} << false << QList{2400, 14, 240} << 5060.0;
        QTest::newRow("count beyond the buttons is 31") << QList{2400, 40, 240} << true << QList{2400, 31, 240} << 7840.0;
        // 17 + 5 buttons of 1500 would reach 33,100 twips: the tallest that fits is 1466.
        QTest::newRow("too tall: lower buttons") << QList{2400, 17, 1500} << false << QList{2400, 17, 1466} << 32752.0;
        QTest::newRow("30 of 1000 fit without controls") << QList{2400, 30, 1000} << true << QList{2400, 30, 1000} << 30400.0;
        QTest::newRow("too wide: the widest window") << QList{32700, 5, 240} << false << QList{32657, 5, 240} << 2900.0;
        QTest::newRow("negative sizes are 0") << QList{-1, 5, -240} << false << QList{0, 5, 0} << 500.0;
    }
    void everyRequestIsLaidOut()
    {
        QFETCH(QList<int>, asked);
        QFETCH(bool, hidden);
        QFETCH(QList<int>, laidOut);
        const barlayout::Layout layout = barlayout::compute(asked[0], asked[1], asked[2], hidden);
        QCOMPARE((QList<int>{layout.buttonWidth, layout.buttonNum, layout.buttonHeight}), laidOut);
        QTEST(layout.windowHeight, "windowHeight");
        QCOMPARE(layout.snippetTops.size(), laidOut[1]);
        // Resizing the window to that size asks for the same buttons.
        const auto size = barlayout::fromWindowSize(layout.windowWidth, layout.windowHeight, laidOut[1], hidden);
        QCOMPARE((QList{size.width, size.height}), (QList{laidOut[0], laidOut[2]}));
        QCOMPARE(barlayout::fits(asked[0], asked[1], asked[2], hidden),
                 asked[0] == laidOut[0] && asked[2] == laidOut[2] && asked[1] <= 31);
    }

    void spinStep_data()
    {
        // result: a width, stepped by 100 from 200 to 10000
        columns<QString, int, bool, int>({"text", "fallback", "up", "result"});
        QTest::newRow("down off the grid") << "2450" << 200 << false << 2350;
        QTest::newRow("down stops at the minimum") << "250" << 200 << false << 200;
        QTest::newRow("up stops at the maximum") << "9950" << 200 << true << 10000;
        QTest::newRow("fraction rounds first, half to even") << "2451.5" << 200 << true << 2552;
        QTest::newRow("no number steps from the fallback") << "0x10" << 300 << true << 400;
        QTest::newRow("huge number stays in range") << "1e300" << 200 << false << 10000;
    }
    void spinStep()
    {
        QTEST(spinstep::stepped(fetched<QString>("text"), fetched<int>("fallback"), spinstep::Range{100, 200, 10000},
                                fetched<bool>("up")),
              "result");
    }

    void editorEntries()
    {
        EditorEntries e;
        QVERIFY(e.setText(30, u"spare"_s));
        QVERIFY(!e.setText(31, u"c"_s) && !e.setText(-1, u"d"_s));
        QCOMPARE(e.text(30), u"spare"_s);
        QCOMPARE(e.text(31) + e.text(-1), QString());
        QVERIFY(!e.setName(0, u"no entry yet"_s));
        e.load(numbered(upTo(31)));
        QCOMPARE(e.entries(), numbered(upTo(30)));
        QVERIFY(e.setName(1, u"x"_s));
        QCOMPARE(e.name(1), u"x"_s);
        e.load(numbered(upTo(3))); // leaves nothing of the first load behind
        QCOMPARE(e.entries(), numbered(upTo(3)));
        QCOMPARE(e.name(3), QString());
        QVERIFY(spareSlotsEmpty(e));
        QCOMPARE(editortext::toEditor(u"a\r\nb\r\n"_s), u"a\nb\n"_s);
        QCOMPARE(editortext::fromEditor(u"a\nb\n"_s), u"a\r\nb\r\n"_s);
    }

    void edit_data()
    {
        // One operation on entries 0..count-1: its result (a bool, or the selection after a removal).
        columns<int, QString, int, int, QList<int>>({"count", "op", "at", "result", "after"});
        QTest::newRow("remove middle") << 5 << "remove" << 2 << 2 << QList<int>{0, 1, 3, 4};
        QTest::newRow("remove last selects the one before") << 30 << "remove" << 29 << 28 << upTo(29);
        QTest::newRow("remove the only entry") << 1 << "remove" << 0 << -1 << QList<int>{};
        QTest::newRow("remove past the end") << 5 << "remove" << 5 << -1 << upTo(5);
        QTest::newRow("remove at -1") << 5 << "remove" << -1 << -1 << upTo(5);
        QTest::newRow("insert first makes thirty") << 29 << "insert" << 0 << 1 << QList<int>{-1} + upTo(29);
        QTest::newRow("insert at the end") << 3 << "insert" << 3 << 1 << QList<int>{0, 1, 2, -1};
        QTest::newRow("insert past the end") << 3 << "insert" << 4 << 0 << upTo(3);
        QTest::newRow("insert at -1") << 3 << "insert" << -1 << 0 << upTo(3);
        QTest::newRow("insert into thirty") << 30 << "insert" << 0 << 0 << upTo(30);
        QTest::newRow("append makes thirty") << 29 << "append" << 0 << 1 << upTo(29) + QList<int>{-1};
        QTest::newRow("replace keeps the place") << 3 << "replace" << 1 << 1 << QList<int>{0, -1, 2};
        QTest::newRow("swap with the one above") << 4 << "swap" << 3 << 1 << QList<int>{0, 1, 3, 2};
        QTest::newRow("swap with no entry below") << 4 << "swapdown" << 3 << 0 << upTo(4);
        QTest::newRow("up from the top") << 4 << "up" << 0 << 0 << upTo(4);
        QTest::newRow("up from the bottom") << 4 << "up" << 3 << 1 << upTo(4);
        QTest::newRow("down from the top") << 4 << "down" << 0 << 1 << upTo(4);
        QTest::newRow("down from the bottom") << 4 << "down" << 3 << 0 << upTo(4);
    }
    void edit()
    {
        QFETCH(QString, op);
        QFETCH(int, at);
        EditorEntries e;
        e.load(numbered(upTo(fetched<int>("count"))));
        const int result = op == u"remove" ? e.remove(at)
                : op == u"insert"          ? e.insert(at, unset)
                : op == u"append"          ? e.append(unset)
                : op == u"replace"         ? e.replace(at, unset)
                : op == u"swap"            ? e.swap(at, at - 1)
                : op == u"swapdown"        ? e.swap(at, at + 1)
                : op == u"up"              ? e.canMoveUp(at)
                                           : e.canMoveDown(at);
        QTEST(result, "result");
        QCOMPARE(e.entries(), numbered(fetched<QList<int>>("after"))); // each entry keeps its own text
        QVERIFY(spareSlotsEmpty(e));
    }

    void platform_data()
    {
        // env: QT_QPA_PLATFORM|XDG_SESSION_TYPE|WAYLAND_DISPLAY|DISPLAY; args: without the program name; forced:
        // empty if nothing is forced; othersReachable: other programs' windows are X clients
        columns<QString, QByteArrayList, QString, bool, bool>({"env", "args", "forced", "displayFound", "othersReachable"});
        using Args = QByteArrayList;
        QTest::newRow("wayland display with xwayland runs on xcb") << "||wayland-0|:0" << Args{"-style", "fusion"} << "xcb" << true << false;
        QTest::newRow("session type alone marks the session") << "|wayland||:1" << Args{"-platformtheme", "gtk3"} << "xcb" << true << false;
        QTest::newRow("-platform without a value is none") << "|wayland||:1" << Args{"-platform"} << "xcb" << true << false;
        QTest::newRow("wayland without xwayland runs natively") << "|wayland|wayland-0|" << Args{} << "" << true << false;
        QTest::newRow("QT_QPA_PLATFORM is the user's choice") << "xcb|wayland|wayland-0|:0" << Args{} << "" << true << false;
        QTest::newRow("-platform is the user's choice") << "|wayland|wayland-0|:0" << Args{"-platform", "wayland"} << "" << true << false;
        QTest::newRow("x11 session") << "|x11||:0" << Args{} << "" << true << true;
        QTest::newRow("no display at all is refused") << "|||" << Args{} << "" << false << true;
        QTest::newRow("wayland session type without a display") << "|wayland||" << Args{} << "" << false << false;
        QTest::newRow("offscreen needs no display") << "offscreen|||" << Args{} << "" << true << true;
        QTest::newRow("--platform offscreen too") << "|||" << Args{"--platform", "offscreen"} << "" << true << true;
        QTest::newRow("-platform xcb overrides offscreen") << "offscreen|||" << Args{"-platform", "xcb"} << "" << false << true;
        QTest::newRow("the last -platform wins") << "|||" << Args{"-platform", "xcb", "-platform", "offscreen"} << "" << true << true;
        QTest::newRow("xcb with options needs a display") << "xcb:nograb|||" << Args{} << "" << false << true;
    }
    void platform()
    {
        std::vector<const char *> argv{"snipdeck"};
        for (const QByteArray &a : fetched<QByteArrayList>("args"))
            argv.push_back(a.constData());
        const QByteArrayList v = fetched<QString>("env").toUtf8().split('|');
        const auto d = sessionplatform::decide({v[0], v[1], v[2], v[3]},
                                               sessionplatform::platformArgument(int(argv.size()), argv.data()));
        QFETCH(QString, forced);
        QCOMPARE(d.forcedPlatform, forced.isEmpty() ? std::nullopt : std::optional(forced.toUtf8()));
        QTEST(d.displayFound, "displayFound");
        QTEST(d.otherWindowsReachable, "othersReachable");
    }

    void pasteKeys_data()
    {
        // A window's WM_CLASS, instance and class each ended by a zero byte.
        using Keys = pastekeys::Keys;
        columns<QByteArray, Keys>({"wmClass", "keys"});
        QTest::newRow("browser") << QByteArray("Navigator\0firefox\0", 18) << Keys::ControlV;
        QTest::newRow("LibreOffice") << QByteArray("libreoffice\0libreoffice-writer\0", 31) << Keys::ControlV;
        QTest::newRow("no class") << QByteArray() << Keys::ControlV;
        QTest::newRow("GNOME Terminal") << QByteArray("gnome-terminal-server\0Gnome-terminal\0", 37) << Keys::ControlShiftV;
        QTest::newRow("Konsole") << QByteArray("konsole\0konsole\0", 16) << Keys::ControlShiftV;
        QTest::newRow("Xfce Terminal") << QByteArray("xfce4-terminal\0Xfce4-terminal\0", 30) << Keys::ControlShiftV;
        QTest::newRow("xterm pastes the primary selection") << QByteArray("xterm\0XTerm\0", 12) << Keys::LeaveAlone;
        QTest::newRow("urxvt too") << QByteArray("urxvt\0URxvt\0", 12) << Keys::LeaveAlone;
    }
    void pasteKeys()
    {
        QTEST(pastekeys::forWindowClass(fetched<QByteArray>("wmClass")), "keys");
    }

    void activeWindow_data()
    {
        // The root window's _NET_ACTIVE_WINDOW as the server returns it: type, item size, value.
        columns<uint, int, QByteArray, uint>({"type", "format", "value", "window"});
        constexpr uint window = 33, cardinal = 6;
        QTest::newRow("a window") << window << 32 << QByteArray("\x05\x00\x60\x00", 4) << 0x600005u;
        QTest::newRow("two, the first counts") << window << 32 << QByteArray("\x05\0\0\0\x07\0\0\0", 8) << 5u;
        QTest::newRow("none active") << window << 32 << QByteArray(4, '\0') << 0u;
        QTest::newRow("no item") << window << 32 << QByteArray() << 0u;
        QTest::newRow("a short item") << window << 32 << QByteArray("\x05\0", 2) << 0u;
        QTest::newRow("16-bit items") << window << 16 << QByteArray("\x05\0\0\0", 4) << 0u;
        QTest::newRow("another type") << cardinal << 32 << QByteArray("\x05\0\0\0", 4) << 0u;
        QTest::newRow("the property unset") << 0u << 0 << QByteArray() << 0u;
    }
    void activeWindow()
    {
        QTEST(uint(pastekeys::activeWindow(fetched<uint>("type"), fetched<int>("format"), fetched<QByteArray>("value"))),
              "window");
    }

    void argumentsBeforeFile_data()
    {
        columns<QStringList, QStringList>({"words", "arguments"});
        QTest::newRow("options before the file") << QStringList{"kate", "-b", "--new", "%f"} << QStringList{"-b", "--new"};
        QTest::newRow("nothing after the file code") << QStringList{"ed", "%F", "--late"} << QStringList{};
        QTest::newRow("other codes dropped") << QStringList{"app", "%i", "%c", "-x", "%k", "%u", "-y"} << QStringList{"-x"};
        QTest::newRow("percent sign kept") << QStringList{"app", "--ratio=50%%", "50%", "%U", "-y"}
                                           << QStringList{"--ratio=50%", "50%"};
        QTest::newRow("file code inside a word") << QStringList{"app", "-a", "--open=%f", "-z"} << QStringList{"-a"};
    }
    void argumentsBeforeFile()
    {
        QTEST(desktopexec::argumentsBeforeFile(fetched<QStringList>("words")), "arguments");
    }
};

QTEST_GUILESS_MAIN(TestSession)
#include "tst_session.moc"
