#include <QTest>

class Test_sjiscodec : public QObject
{
    Q_OBJECT
private slots:
    void placeholder() {}
};

QTEST_GUILESS_MAIN(Test_sjiscodec)
#include "tst_sjiscodec.moc"
