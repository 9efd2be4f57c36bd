#include "app/twips.h"

#include "app/barlayout.h"

#include <QWidget>

namespace twips {

int toPixels(double value)
{
    return barlayout::toPixels(value);
}

double fromPixels(int pixels)
{
    return double(pixels) * barlayout::twipsPerPixel;
}

QRect rect(double left, double top, double width, double height)
{
    const int x = toPixels(left);
    const int y = toPixels(top);
    return QRect(x, y, toPixels(left + width) - x, toPixels(top + height) - y);
}

void place(QWidget &control, double left, double top, double width, double height)
{
    control.setGeometry(rect(left, top, width, height));
}

double windowTop(const QWidget &window)
{
    return fromPixels(window.frameGeometry().y());
}

double windowLeft(const QWidget &window)
{
    return fromPixels(window.frameGeometry().x());
}

void moveWindow(QWidget &window, double left, double top)
{
    window.move(toPixels(left), toPixels(top));
}

void setFixedOuterSize(QWidget &window, double width, double height, double frameWidth,
                       double frameHeight)
{
    window.setFixedSize(toPixels(width - frameWidth), toPixels(height - frameHeight));
}

} // namespace twips
