#include <QTest>

class Test_barlayout : public QObject
{
    Q_OBJECT
private slots:
    void placeholder() {}
};

QTEST_GUILESS_MAIN(Test_barlayout)
#include "tst_barlayout.moc"
