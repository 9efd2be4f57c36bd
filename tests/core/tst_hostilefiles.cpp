#include <QTest>
class TestHostileFiles : public QObject
{
    Q_OBJECT
private slots:
    void placeholder() {}
};
QTEST_GUILESS_MAIN(TestHostileFiles)
#include "tst_hostilefiles.moc"
