// Long random sequences of what a user can do, with another program saving the clip files
// now and then and the disk full at times, checked after every step against a model of
// what the user confirmed.
// SNIPDECK_SEED replays a sequence; SNIPDECK_STEPS sets its length.
#include "testprogram.h"

#include "app/barlayout.h"
#include "files/startini.h"

#include <QFileInfo>
#include <QRandomGenerator>

#include <sys/resource.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <functional>
#include <memory>

namespace {

using Answer = MessageBoxes::Answer;

const QStringList kPool = {"a.cdt", "b.cdt", "c.cdt"};
const QStringList kNewNames = {"a.cdt", "c.cdt", "d.cdt", "e.cdt"};
const QStringList kFieldTexts = {"0", "-5", "32767", "99999999", "abc", "", "1", "30", "31"};
const QList<int> kKeys = {Qt::Key_F1, Qt::Key_F2, Qt::Key_F3, Qt::Key_F4, Qt::Key_F5, Qt::Key_F6, Qt::Key_F7,
                          Qt::Key_F8, Qt::Key_1, Qt::Key_2, Qt::Key_3, Qt::Key_4, Qt::Key_0, Qt::Key_Return};
const ClipEntry kUnset{form1text::unset, QString()};

/** A button's text as the clipboard gets it: LF line ends, where the bar keeps CR LF. */
QString onClipboard(QString text)
{
    return text.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(u'\r', u'\n');
}

QByteArray encoded(const QList<ClipEntry> &entries)
{
    QByteArray bytes;
    clipfile::encode(entries, &bytes);
    return bytes;
}

class Run
{
public:
    explicit Run(quint32 seed) : rng(seed)
    {
        for (const QString &name : kPool)
            m_list.append(t.writeBytes(name, encoded(randomEntries())));
        t.writeStartIni(TestProgram::defaultNumbers, m_list);
        m_inUse = 0; // as Start.ini says
        startProgram();
    }

    void step()
    {
        t.boxes.shown.clear();
        if (!program->form3().isVisible()) // what the dialog starts from
            m_working = m_list;
        if (chance(5)) {
            externalSave();
        } else if (program->form6().isVisible()) {
            onRename();
        } else if (program->form5().isVisible()) {
            onEditor();
        } else if (program->form4().isVisible()) {
            onProperties();
        } else if (program->form3().isVisible()) {
            onReadFiles();
        } else if (program->form2().isVisible()) {
            done = "content view closed";
            QTest::mouseClick(&program->form2().Label1(), Qt::LeftButton);
        } else if (chance(2)) {
            restart();
        } else {
            onBar();
        }
        QCoreApplication::processEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        if (m_reloadPending && main().isEnabled()) {
            m_reloadPending = false;
            reloadIfChanged();
        }
    }

    void check()
    {
        Form1 &bar = main();
        // The files hold what the user confirmed last, or what another program wrote.
        for (auto it = m_expected.cbegin(); it != m_expected.cend(); ++it)
            QVERIFY2(t.readBytes(it.key()) == it.value(), qPrintable(it.key()));

        // The bar: every entry up to the count shown, laid out as the numbers say.
        QCOMPARE(bar.GetButtonNum(), m_count);
        QCOMPARE(bar.GetDataFileName(), shown());
        QCOMPARE(program->form3().List2(), program->form3().isVisible() ? m_working : m_list);
        if (program->form3().isVisible()) { // the dialog shows the list it works on
            QStringList names;
            for (const QString &path : std::as_const(m_working))
                names << QFileInfo(path).fileName();
            QCOMPARE(itemTexts(program->form3().List1()), names);
        }
        QCOMPARE(program->session().entries(), confirmed());
        const bool hidden = bar.GetControlShowFlag() == 1;
        QVERIFY(barlayout::fits(bar.GetButtonWidth(), m_count, bar.GetButtonHeight(), hidden));
        const barlayout::Layout layout = barlayout::compute(bar.GetButtonWidth(), m_count, bar.GetButtonHeight(), hidden);
        for (int i = 0; i < barlayout::snippetButtons; ++i)
            QCOMPARE(bar.Command1(i).isHidden(), i >= m_count);
        QCOMPARE(bar.Command2(0).isHidden(), hidden);
        QCOMPARE(bar.size(), QSize(twips::toPixels(layout.windowWidth - barlayout::frameWidth),
                                   twips::toPixels(layout.windowHeight - barlayout::frameHeight)));

        // No window is left disabled with nothing open over it.
        const bool dialogUp = program->form2().isVisible() || program->form3().isVisible() || program->form4().isVisible()
                || program->form5().isVisible() || program->form6().isVisible();
        QCOMPARE(bar.isEnabled(), !dialogUp);
        if (program->form5().isVisible())
            QCOMPARE(program->form5().isEnabled(), !program->form6().isVisible());
    }

    TestProgram t;
    QRandomGenerator rng;
    std::unique_ptr<Program> program;
    QString done; ///< what the step did, for the report of a failure

private:
    Form1 &main() { return program->form1(); }
    int pick(qsizetype bound) { return int(rng.bounded(int(bound))); }
    bool chance(int percent) { return pick(100) < percent; }

    QString randomName()
    {
        static const QStringList parts = {"a", "Bc", "&x", " ", "ｱｲｳ", "漢字", "9", "未設定"};
        QString name;
        for (int i = pick(4); i > 0; --i)
            name += parts.at(pick(parts.size()));
        return name;
    }

    QList<ClipEntry> randomEntries()
    {
        QList<ClipEntry> entries;
        for (int i = pick(20); i > 0; --i)
            entries.append({randomName(), chance(30) ? QString() : randomName() + "x\r\n y"});
        // Every save by another program differs from any before it.
        entries.append({QStringLiteral("n%1").arg(rng.generate()), QStringLiteral("z")});
        return entries;
    }

    void startProgram()
    {
        program = std::make_unique<Program>(Services{t.clipboard, t.boxes, t.fileDialogs, t.windowOrder, t.launcher, t.paster},
                                            t.dir.path());
        program->start();
        for (const QString &name : kPool + kNewNames)
            if (!m_expected.contains(name))
                m_expected[name] = t.readBytes(name);
        load(shown());
    }

    /** The file whose entries the bar shows: the one last chosen, or created. */
    QString shown() const { return m_list.value(m_inUse); }

    void setEntries(const QList<ClipEntry> &entries, int count)
    {
        for (int i = 0; i < barlayout::snippetButtons; ++i)
            m_buttons[i] = i < entries.size() ? entries.at(i) : kUnset;
        m_count = count;
    }

    void load(const QString &path)
    {
        m_knownPath = path;
        m_knownBytes = path.isEmpty() ? QByteArray() : disk(path);
        if (path.isEmpty()) { // nothing to read: the buttons are unset, the count stays
            setEntries({}, m_count);
            return;
        }
        const QList<ClipEntry> entries = clipfile::read(path).entries;
        setEntries(entries, entries.isEmpty() ? 14 : int(entries.size()));
    }

    void reloadIfChanged()
    {
        const QString loaded = shown();
        if (loaded == m_knownPath && disk(loaded) != m_knownBytes)
            load(loaded);
    }

    QByteArray disk(const QString &path) const { return t.readBytes(QFileInfo(path).fileName()); }
    /** Runs a step that may ask to overwrite, with a random answer scripted, at times on a full
        disk. A save asks exactly when `target` holds what the program has not seen, a new file when
        it holds anything; returns whether `entries` were saved there (the user may cancel). */
    bool save(const QString &target, const std::function<void()> &action,
              const std::function<QList<ClipEntry>()> &entries, bool newFile = false)
    {
        const QByteArray bytes = disk(target);
        const bool mustAsk = !bytes.isEmpty() && (newFile || target != m_knownPath || bytes != m_knownBytes);
        const Answer answer = chance(50) ? Answer::Ok : Answer::Cancel;
        const bool full = chance(15);
        t.boxes.answers = QList<Answer>(4, answer);
        t.boxes.shown.clear();
        rlimit limit{};
        getrlimit(RLIMIT_FSIZE, &limit);
        const rlimit noSpace{0, limit.rlim_max}; // not a byte more fits in a file
        setrlimit(RLIMIT_FSIZE, full ? &noSpace : &limit);
        action();
        setrlimit(RLIMIT_FSIZE, &limit);
        t.boxes.answers.clear();
        bool asked = false;
        for (const auto &box : t.boxes.shown)
            asked |= box.text.startsWith(newFile ? frmmenutext::replaceQuestion : form5text::overwriteQuestion);
        if (asked != mustAsk) {
            QTest::qFail(mustAsk ? "the overwrite question did not come" : "an overwrite question came", __FILE__, __LINE__);
            return false;
        }
        if (asked && answer == Answer::Cancel)
            return false;
        if (asked && !newFile) // the user has seen the other version
            std::tie(m_knownPath, m_knownBytes) = std::pair(target, bytes);
        if (full && t.messages().value(asked) != form5text::clipFileUnwritable + "\r\nﾌｧｲﾙ:" + target + "\r\n原因:" + qt_error_string(EFBIG))
            QTest::qFail(qPrintable("no word of the full disk: " + t.messages().join('|')), __FILE__, __LINE__);
        if (full)
            return false;
        std::tie(m_knownPath, m_knownBytes) = std::pair(target, encoded(entries()));
        m_expected[QFileInfo(target).fileName()] = m_knownBytes;
        return true;
    }
    void onBar()
    {
        Form1 &bar = main();
        const int choice = pick(100);
        if (choice < 20) {
            const int i = pick(m_count);
            done = QStringLiteral("button %1 pressed").arg(i);
            bar.Command1(i).click();
            QCOMPARE(t.clipboard.text(), onClipboard(m_buttons[i].text));
        } else if (choice < 60) {
            const bool snippet = chance(70) || bar.GetControlShowFlag() == 1;
            const int key = kKeys.at(pick(kKeys.size()));
            // Enter on 終了 would end the program.
            const int index = snippet ? pick(m_count) : pick(barlayout::controlButtons - (key == Qt::Key_Return));
            done = QStringLiteral("key %1 on %2 %3").arg(key, 0, 16).arg(snippet).arg(index);
            QTest::keyClick(snippet ? &bar.Command1(index) : &bar.Command2(index), Qt::Key(key));
            const int digit = key == Qt::Key_0 ? 10 : key - Qt::Key_0;
            if (digit >= 1 && digit <= 10 && digit <= m_list.size())
                m_inUse = digit - 1;
            if (key == Qt::Key_F5 || (digit >= 1 && digit <= 10 && digit <= m_list.size()))
                load(shown());
            if (key == Qt::Key_Return && snippet)
                QCOMPARE(t.clipboard.text(), onClipboard(m_buttons[index].text));
        } else if (choice < 65) {
            done = "on-top toggled";
            program->frmMenu().Menu_Allways_Click();
        } else if (choice < 70) {
            done = "control buttons toggled";
            program->frmMenu().Menu_ControlButton_Click();
        } else if (choice < 82) {
            done = "properties opened";
            bar.Command2(3).click();
        } else if (choice < 92) {
            done = "editor opened";
            program->frmMenu().SetIndex(pick(m_count));
            program->frmMenu().Menu_ButtonEdit_Click();
        } else if (choice < 95) {
            done = "read files opened";
            bar.Command2(2).click();
        } else {
            const QString path = t.path(kNewNames.at(pick(kNewNames.size())));
            done = "new file " + path;
            t.fileDialogs.saveAnswers = {path};
            if (save(path, [this] { program->frmMenu().Menu_NewFile_Click(); },
                     [] { return QList<ClipEntry>(14, kUnset); }, true)) {
                m_list.append(path); // only once it is written
                m_inUse = int(m_list.size()) - 1;
                setEntries({}, 14);
            }
        }
    }

    void onEditor()
    {
        Form5 &editor = program->form5();
        FrmMenu &menu = program->frmMenu();
        const int count = editor.entries().count();
        const int row = count > 0 ? pick(count) : -1;
        menu.SetIndex(row);
        editor.SelectEntry(row);
        const int choice = pick(10);
        done = QStringLiteral("editor: %1 on row %2").arg(choice).arg(row);
        if (choice == 0 && row >= 0) {
            menu.List_Insert_Click();
        } else if (choice == 1 && row >= 0) {
            menu.List_Kill_Click();
        } else if (choice == 2 && row > 0) {
            menu.List_Up_Click();
        } else if (choice == 2 && row >= 0 && row + 1 < count) {
            menu.List_Down_Click();
        } else if (choice == 3 && row >= 0) {
            menu.List_Delete_Click();
        } else if (choice == 4) {
            editor.Command3().click();
        } else if (choice == 5) {
            editor.Text1().setPlainText(randomName() + "\nline");
        } else if (choice == 6) {
            chance(50) ? editor.Command2().click() : void(editor.close());
        } else if (choice > 6) {
            QList<ClipEntry> edited = editor.entries().entries();
            if (edited.isEmpty())
                edited = QList<ClipEntry>(14, kUnset);
            if (save(shown(), [&editor] { editor.Command1().click(); }, [&] { return edited; }))
                setEntries(edited, int(edited.size()));
            else if (!QTest::currentTestFailed())
                QVERIFY(editor.isVisible() && editor.entries().entries() == edited);
        }
    }

    void onRename()
    {
        Form6 &rename = program->form6();
        const bool ofBar = !main().isEnabled() && !program->form5().isVisible();
        const int index = program->frmMenu().targetIndex();
        const QString name = randomName();
        rename.Text1().setText(name);
        const int choice = pick(4);
        done = QStringLiteral("rename: %1 %2").arg(choice).arg(name);
        if (choice < 2) {
            choice == 0 ? rename.Command2().click() : void(rename.close());
            return;
        }
        const auto ok = [&rename, choice] {
            choice == 2 ? rename.Command1().click() : QTest::keyClick(&rename.Text1(), Qt::Key_Return);
        };
        const auto renamed = [&] {
            QList<ClipEntry> entries = confirmed();
            if (ofBar && index < entries.size())
                entries[index].caption = name;
            return entries;
        };
        if (save(shown(), ok, renamed)) {
            if (ofBar)
                m_buttons[index].caption = name;
        } else if (!QTest::currentTestFailed()) {
            QVERIFY(rename.isVisible());
            QCOMPARE(rename.Text1().text(), name);
        }
    }

    void onProperties()
    {
        Form4 &properties = program->form4();
        const auto field = [this] {
            return chance(60) ? QString::number(pick(chance(50) ? 40 : 3000) - 5) : kFieldTexts.at(pick(kFieldTexts.size()));
        };
        const QString count = field();
        properties.Text1().setText(field());
        properties.Text2().setText(count);
        properties.Text3().setText(field());
        properties.Check1().setChecked(chance(50));
        properties.Check2().setChecked(chance(50));
        done = "properties: " + properties.Text1().text() + " " + count + " " + properties.Text3().text();
        if (chance(30)) {
            chance(50) ? properties.Command2().click() : void(properties.close());
            return;
        }
        properties.Command1().click();
        bool number = false;
        const qlonglong typed = count.toLongLong(&number);
        if (number)
            m_count = int(std::clamp<qlonglong>(typed, 1, 30));
    }

    void onReadFiles()
    {
        Form3 &files = program->form3();
        const int row = pick(m_working.size() + 1) - 1; // or none: OK then loads the first
        files.selectIndex(row);
        const int choice = pick(10);
        done = QStringLiteral("read files: %1 on row %2").arg(choice).arg(row);
        if (choice < 3) {
            chance(50) ? files.Command2().click() : void(files.close());
        } else if (choice < 5) {
            files.Command4().click();
            if (row >= 0)
                m_working.removeAt(row);
        } else if (choice < 6) {
            const QStringList added{t.path(kPool.at(pick(kPool.size())))};
            const bool cancelled = chance(50);
            t.fileDialogs.openAnswers = {cancelled ? std::nullopt : std::optional(added)};
            files.Command3().click();
            m_working += cancelled ? QStringList() : added;
        } else {
            files.Command1().click();
            QCOMPARE(t.messages(), m_working.isEmpty() ? QStringList{"読込ﾌｧｲﾙが選択されていません"} : QStringList());
            if (m_working.isEmpty())
                return;
            m_list = m_working;
            m_inUse = std::max(row, 0);
            load(shown());
        }
    }

    void externalSave()
    {
        const QString current = QFileInfo(shown()).fileName();
        const QString name = chance(60) && !current.isEmpty() ? current : kPool.at(pick(kPool.size()));
        const QByteArray bytes = encoded(randomEntries());
        done = "another program saved " + name;
        if (chance(50)) {
            t.writeBytes(name, bytes);
        } else { // saved beside it and renamed over it
            t.writeBytes(name + ".new", bytes);
            QVERIFY(QFile::remove(t.path(name)));
            QVERIFY(QFile::rename(t.path(name + ".new"), t.path(name)));
        }
        m_expected[name] = bytes;
        // What the watch reports once the save has settled.
        program->session().file().checkDisk();
        if (main().isEnabled())
            reloadIfChanged();
        else
            m_reloadPending = true;
    }

    void restart()
    {
        done = "restarted";
        const Settings &in = program->session().settings();
        StartSettings before{in.buttonNum, in.buttonHeight, in.buttonWidth, in.winZ, in.controlShowFlag,
                             {}, {}, m_inUse, m_list};
        main().close();
        StartSettings saved = startini::parse(sjis::decode(t.readBytes("Start.ini")));
        saved.top.reset();
        saved.left.reset();
        QCOMPARE(saved, before);
        program.reset();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        startProgram();
    }

    // What the user has confirmed and what the program has seen.
    std::array<ClipEntry, barlayout::snippetButtons> m_buttons;
    int m_count = 14;
    QStringList m_list;    ///< the read-file list as last accepted
    QStringList m_working; ///< as the open read-file dialog holds it
    int m_inUse = -1;      ///< the entry whose file the bar shows
    QString m_knownPath;
    QByteArray m_knownBytes;
    bool m_reloadPending = false;
    QMap<QString, QByteArray> m_expected; ///< file name → bytes it must hold

    QList<ClipEntry> confirmed() const { return {m_buttons.begin(), m_buttons.begin() + m_count}; }
};

} // namespace

class TestCommandSequences : public QObject
{
    Q_OBJECT

private slots:
    void randomSequencesKeepEveryEdit()
    {
        std::signal(SIGXFSZ, SIG_IGN); // a full disk fails the write, and ends nothing
        bool fixed = false;
        const quint32 seed = qEnvironmentVariable("SNIPDECK_SEED").toUInt(&fixed);
        const quint32 first = fixed ? seed : QRandomGenerator::global()->generate();
        const qint64 steps = qEnvironmentVariable("SNIPDECK_STEPS").toLongLong();
        const qint64 total = steps > 0 ? steps : 3000;
        // Sequences of a few hundred steps each, so that a failure replays quickly.
        constexpr qint64 kSequence = 500;
        for (qint64 n = 0; n * kSequence < total; ++n) {
            const quint32 sequenceSeed = first + quint32(n);
            std::fprintf(stderr, "sequence seed %u (SNIPDECK_SEED=%u SNIPDECK_STEPS=%lld)\n",
                         sequenceSeed, sequenceSeed, static_cast<long long>(kSequence));
            Run s(sequenceSeed);
            for (qint64 i = 0; i < std::min(kSequence, total - n * kSequence); ++i) {
                s.step();
                if (!QTest::currentTestFailed())
                    s.check();
                if (QTest::currentTestFailed()) {
                    std::fprintf(stderr, "failed at step %lld of seed %u: %s\n",
                                 static_cast<long long>(i), sequenceSeed, qPrintable(s.done));
                    return;
                }
            }
        }
    }
};

QTEST_MAIN(TestCommandSequences)
#include "tst_commandsequences.moc"