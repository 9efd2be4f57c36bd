// Another program's text field for the end-to-end tests: a window titled "field" whose line
// edit prints its whole text, one line per change, as soon as it changes.
#include <QApplication>
#include <QLineEdit>

#include <cstdio>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QLineEdit field;
    field.setWindowTitle(QStringLiteral("field"));
    QObject::connect(&field, &QLineEdit::textChanged, &field, [](const QString &text) {
        std::printf("%s\n", qPrintable(QString(text).replace(u'\n', u' ')));
        std::fflush(stdout);
    });
    field.resize(300, 40);
    field.show();
    return QApplication::exec();
}
