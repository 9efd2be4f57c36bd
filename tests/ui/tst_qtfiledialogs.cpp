#include "platform/qtfiledialogs.h"

#include <QApplication>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <functional>

namespace {

/** Acts on the file dialog from inside its own event loop, for as long as the driver
    lives: `act` runs whenever a file dialog is up, so an answer the dialog was not ready
    for (its folder still loading) is simply given again. */
class DialogDriver
{
public:
    explicit DialogDriver(std::function<void(QFileDialog &)> act)
    {
        m_timer.setInterval(20);
        QObject::connect(&m_timer, &QTimer::timeout, &m_timer, [this, act] {
            QWidget *modal = QApplication::activeModalWidget();
            if (auto *dialog = qobject_cast<QFileDialog *>(modal)) {
                act(*dialog);
            } else if (auto *other = qobject_cast<QDialog *>(modal)) {
                // A question from the file dialog (overwrite?) would wait for ever.
                ++m_otherBoxes;
                other->reject();
            }
        });
        m_timer.start();
    }

    /** Boxes other than the file dialog that came up (and were closed). */
    int otherBoxes() const { return m_otherBoxes; }

private:
    QTimer m_timer;
    int m_otherBoxes = 0;
};

/** What a test checks of a dialog, read while it is up and compared once it is gone (a
    failed check inside its event loop would leave it open). */
struct Seen
{
    QStringList filters;
    QString selectedFilter;
    bool noOverwriteQuestion = false;
    bool qtDialog = false;
    QString defaultSuffix;
    QFileDialog::AcceptMode acceptMode = QFileDialog::AcceptOpen;
    QFileDialog::FileMode fileMode = QFileDialog::AnyFile;
    QString title;
    QStringList labels; ///< look in, file name, file type, accept, reject

    explicit Seen(const QFileDialog &dialog)
        : filters(dialog.nameFilters())
        , selectedFilter(dialog.selectedNameFilter())
        , noOverwriteQuestion(dialog.testOption(QFileDialog::DontConfirmOverwrite))
        , qtDialog(dialog.testOption(QFileDialog::DontUseNativeDialog))
        , defaultSuffix(dialog.defaultSuffix())
        , acceptMode(dialog.acceptMode())
        , fileMode(dialog.fileMode())
        , title(dialog.windowTitle())
        , labels{dialog.labelText(QFileDialog::LookIn), dialog.labelText(QFileDialog::FileName),
                 dialog.labelText(QFileDialog::FileType), dialog.labelText(QFileDialog::Accept),
                 dialog.labelText(QFileDialog::Reject)}
    {
    }
    Seen() = default;
};

/** Types a name into the dialog's file name box, in `folder`, as a user would. */
void type(QFileDialog &dialog, const QString &folder, const QString &name)
{
    if (dialog.directory().absolutePath() != QDir(folder).absolutePath())
        dialog.setDirectory(folder);
    if (auto *edit = dialog.findChild<QLineEdit *>(QStringLiteral("fileNameEdit")))
        edit->setText(name);
}

void checkCommonSettings(const Seen &seen)
{
    QCOMPARE(seen.filters,
             (QStringList{QStringLiteral("すべてのファイル (*.*)"),
                          QStringLiteral("ｸﾘｯﾌﾟﾃﾞｰﾀﾌｧｲﾙ (*.cdt)")}));
    QCOMPARE(seen.selectedFilter, QStringLiteral("ｸﾘｯﾌﾟﾃﾞｰﾀﾌｧｲﾙ (*.cdt)"));
    QVERIFY(seen.noOverwriteQuestion);
    QVERIFY(seen.qtDialog);
    QVERIFY(seen.defaultSuffix.isEmpty());
}

} // namespace

class TestQtFileDialogs : public QObject
{
    Q_OBJECT

private slots:
    void openTakesSeveralFilesAsFullPaths();
    void openCancelledIsNothing();
    void saveTakesATypedNameWithoutAskingOrAddingAnExtension();
    void saveCancelledIsNothing();

private:
    QTemporaryDir m_dir;
};

void TestQtFileDialogs::openTakesSeveralFilesAsFullPaths()
{
    for (const char *name : {"b.cdt", "a.cdt", "c.txt", "notes"}) {
        QFile file(m_dir.filePath(QString::fromLatin1(name)));
        QVERIFY(file.open(QIODevice::WriteOnly));
    }
    std::optional<Seen> seen;
    QStringList listed;
    int boxes = 0;
    // Types the names, picks "all files" and clicks Open once the folder has been read, as
    // the user would.
    const auto open = [&](const QString &typed) {
        int ticks = 0;
        DialogDriver driver([&](QFileDialog &dialog) {
            if (ticks++ == 0) {
                seen.emplace(dialog);
                type(dialog, m_dir.path(), typed);
                QTest::keyClick(dialog.findChild<QComboBox *>(QStringLiteral("fileTypeCombo")),
                                Qt::Key_Up);
            }
            const auto *view = dialog.findChild<QListView *>(QStringLiteral("listView"));
            listed.clear();
            for (int row = 0; row < view->model()->rowCount(view->rootIndex()); ++row)
                listed.append(view->model()->index(row, 0, view->rootIndex()).data().toString());
            if (listed.size() < 4 && ticks < 100)
                return;
            QPushButton *openButton =
                    dialog.findChild<QDialogButtonBox *>()->button(QDialogButtonBox::Open);
            // Clicked after this tick: a box it brings up must meet the driver.
            if (ticks < 150)
                QMetaObject::invokeMethod(openButton, [openButton] { QTest::mouseClick(openButton, Qt::LeftButton); },
                                          Qt::QueuedConnection);
            else
                dialog.reject(); // it would not close
        });
        const auto chosen = QtFileDialogs().openFiles();
        boxes += driver.otherBoxes();
        return chosen ? QSet<QString>(chosen->begin(), chosen->end()) : QSet<QString>();
    };
    QCOMPARE(open(QStringLiteral("\"b.cdt\" \"a.cdt\"")),
             (QSet<QString>{m_dir.filePath("a.cdt"), m_dir.filePath("b.cdt")}));
    QVERIFY(seen);
    checkCommonSettings(*seen);
    QCOMPARE(seen->acceptMode, QFileDialog::AcceptOpen);
    QCOMPARE(seen->fileMode, QFileDialog::ExistingFiles);
    QCOMPARE(seen->title, QStringLiteral("開く"));
    QCOMPARE(seen->labels, (QStringList{"ファイルの場所(&I):", "ファイル名(&N):", "ファイルの種類(&T):",
                                        "開く(&O)", "キャンセル"}));
    // "*.*" keeps its caption but lists names without a dot too.
    listed.sort();
    QCOMPARE(listed, (QStringList{"a.cdt", "b.cdt", "c.txt", "notes"}));
    // A name that is not there closes the dialog without a word; the caller leaves it out.
    QCOMPARE(open(QStringLiteral("gone.cdt")), QSet<QString>{m_dir.filePath("gone.cdt")});
    QCOMPARE(boxes, 0);
}

void TestQtFileDialogs::openCancelledIsNothing()
{
    DialogDriver driver([](QFileDialog &dialog) { dialog.reject(); });
    QCOMPARE(QtFileDialogs().openFiles(), std::nullopt);
}

void TestQtFileDialogs::saveTakesATypedNameWithoutAskingOrAddingAnExtension()
{
    const QString existing = m_dir.filePath(QStringLiteral("old.cdt"));
    {
        QFile file(existing);
        QVERIFY(file.open(QIODevice::WriteOnly));
    }
    QList<Seen> seen;
    int questions = 0;
    const auto saveAs = [&](const QString &name) {
        bool first = true;
        DialogDriver driver([&, name](QFileDialog &dialog) {
            if (std::exchange(first, false))
                seen.append(Seen(dialog));
            type(dialog, m_dir.path(), name);
            QMetaObject::invokeMethod(&dialog, "accept");
        });
        const auto chosen = QtFileDialogs().saveFile();
        questions += driver.otherBoxes();
        return chosen;
    };
    QCOMPARE(saveAs(QStringLiteral("新規")), m_dir.filePath(QStringLiteral("新規")));
    // An existing file is taken without a question.
    QCOMPARE(saveAs(QStringLiteral("old.cdt")), existing);
    QCOMPARE(questions, 0);
    QCOMPARE(seen.size(), 2);
    for (const Seen &one : seen) {
        checkCommonSettings(one);
        QCOMPARE(one.acceptMode, QFileDialog::AcceptSave);
        QCOMPARE(one.title, QStringLiteral("名前を付けて保存"));
        QCOMPARE(one.labels.at(3), QStringLiteral("保存(&S)"));
    }
    QVERIFY(!QFile::exists(m_dir.filePath(QStringLiteral("新規"))));
}

void TestQtFileDialogs::saveCancelledIsNothing()
{
    DialogDriver driver([](QFileDialog &dialog) { dialog.reject(); });
    QCOMPARE(QtFileDialogs().saveFile(), std::nullopt);
}

QTEST_MAIN(TestQtFileDialogs)
#include "tst_qtfiledialogs.moc"
