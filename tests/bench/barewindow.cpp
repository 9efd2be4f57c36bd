// A bare Qt Widgets window: what every Qt program pays to start, measured next to snipdeck.

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
