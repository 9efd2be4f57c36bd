#include <QTest>

class Test_startini : public QObject
{
    Q_OBJECT
private slots:
    void placeholder() {}
};

QTEST_GUILESS_MAIN(Test_startini)
#include "tst_startini.moc"
