// The floor for start-up time and memory: the least a Qt Widgets program does.
#include <QApplication>
#include <QWidget>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QWidget window;
    window.setWindowTitle(QStringLiteral("barewindow"));
    window.resize(160, 400);
    window.show();
    return app.exec();
}
