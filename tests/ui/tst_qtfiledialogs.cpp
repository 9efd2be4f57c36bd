#include "platform/qtfiledialogs.h"

#include <QApplication>
#include <QFile>
#include <QFileDialog>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <functional>

namespace {

/** Runs `act` on the file dialog once it is up, from inside its own event loop. */
void whenDialogIsUp(std::function<void(QFileDialog &)> act)
{
    auto *timer = new QTimer(qApp);
    timer->setInterval(10);
    QObject::connect(timer, &QTimer::timeout, qApp, [timer, act] {
        if (auto *dialog = qobject_cast<QFileDialog *>(QApplication::activeModalWidget())) {
            timer->stop();
            timer->deleteLater();
            act(*dialog);
        }
    });
    timer->start();
}

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

    explicit Seen(const QFileDialog &dialog)
        : filters(dialog.nameFilters())
        , selectedFilter(dialog.selectedNameFilter())
        , noOverwriteQuestion(dialog.testOption(QFileDialog::DontConfirmOverwrite))
        , qtDialog(dialog.testOption(QFileDialog::DontUseNativeDialog))
        , defaultSuffix(dialog.defaultSuffix())
        , acceptMode(dialog.acceptMode())
        , fileMode(dialog.fileMode())
    {
    }
    Seen() = default;
};

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
    QStringList paths;
    for (const char *name : {"b.cdt", "a.cdt", "c.txt"}) {
        QFile file(m_dir.filePath(QString::fromLatin1(name)));
        QVERIFY(file.open(QIODevice::WriteOnly));
        paths.append(file.fileName());
    }
    std::optional<Seen> seen;
    whenDialogIsUp([&](QFileDialog &dialog) {
        seen.emplace(dialog);
        dialog.setDirectory(m_dir.path());
        dialog.selectFile(QStringLiteral("\"b.cdt\" \"a.cdt\" \"c.txt\""));
        QMetaObject::invokeMethod(&dialog, "accept");
    });
    const auto chosen = QtFileDialogs().openFiles();
    QVERIFY(seen);
    checkCommonSettings(*seen);
    QCOMPARE(seen->acceptMode, QFileDialog::AcceptOpen);
    QCOMPARE(seen->fileMode, QFileDialog::ExistingFiles);
    QVERIFY(chosen.has_value());
    QCOMPARE(QSet<QString>(chosen->begin(), chosen->end()),
             QSet<QString>(paths.begin(), paths.end()));
}

void TestQtFileDialogs::openCancelledIsNothing()
{
    whenDialogIsUp([](QFileDialog &dialog) { dialog.reject(); });
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
    const auto saveAs = [&](const QString &name) {
        whenDialogIsUp([&, name](QFileDialog &dialog) {
            seen.append(Seen(dialog));
            dialog.setDirectory(m_dir.path());
            dialog.selectFile(name);
            QMetaObject::invokeMethod(&dialog, "accept");
        });
        return QtFileDialogs().saveFile();
    };
    QCOMPARE(saveAs(QStringLiteral("新規")), m_dir.filePath(QStringLiteral("新規")));
    // An existing file is taken without a question (no box would answer one here).
    QCOMPARE(saveAs(QStringLiteral("old.cdt")), existing);
    QCOMPARE(seen.size(), 2);
    for (const Seen &one : seen) {
        checkCommonSettings(one);
        QCOMPARE(one.acceptMode, QFileDialog::AcceptSave);
    }
    QVERIFY(!QFile::exists(m_dir.filePath(QStringLiteral("新規"))));
}

void TestQtFileDialogs::saveCancelledIsNothing()
{
    whenDialogIsUp([](QFileDialog &dialog) { dialog.reject(); });
    QCOMPARE(QtFileDialogs().saveFile(), std::nullopt);
}

QTEST_MAIN(TestQtFileDialogs)
#include "tst_qtfiledialogs.moc"
