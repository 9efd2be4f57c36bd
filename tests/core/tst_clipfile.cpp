#include <QTest>

class Test_clipfile : public QObject
{
    Q_OBJECT
private slots:
    void placeholder() {}
};

QTEST_GUILESS_MAIN(Test_clipfile)
#include "tst_clipfile.moc"
