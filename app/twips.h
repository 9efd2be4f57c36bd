#pragma once

#include <QPoint>
#include <QRect>

class QWidget;

/** Twips (1/1440 inch) to Qt's device-independent pixels, at a fixed 15 twips a pixel. */
namespace twips {

int toPixels(double twips);
double fromPixels(int pixels);

/** A rectangle given in twips, in pixels; the edges are rounded, so rectangles that touch
    in twips touch in pixels. */
QRect rect(double left, double top, double width, double height);

/** Places a child control at a position and size given in twips. */
void place(QWidget &control, double left, double top, double width, double height);

/** The window frame's screen position, in twips. */
double windowTop(const QWidget &window);
double windowLeft(const QWidget &window);

/** Moves the window frame to a screen position given in twips. */
void moveWindow(QWidget &window, double left, double top);

/** Sets a fixed client size from an outer size in twips, less the frame's allowance. */
void setFixedOuterSize(QWidget &window, double width, double height, double frameWidth,
                       double frameHeight);

} // namespace twips
