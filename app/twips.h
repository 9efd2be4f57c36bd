#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>

class QWidget;

/** Twips (1/1440 inch) to Qt's device-independent pixels, at a fixed 15 twips a pixel. */
namespace twips {

/** The least room a window keeps between its edges and its controls. */
constexpr double leastMargin = 120;

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

/** Gives the window one size, the user's resizing and the window manager's steps aside. */
void fixSize(QWidget &window, QSize size);

/** Grows the window's controls (and those in its frames) where the font in use needs more
    room than their twips give: each to hold its whole text and the underline of its access
    letter. Controls below or right of a grown one move on so that nothing overlaps (a row
    of controls with one top moves as one and keeps one height), and the window grows to
    hold them, never past the screen it is on. Every edge keeps at least `leastMargin`; a
    window widened for its title widens its controls with it. Call once the controls are
    placed. */
void fitToTexts(QWidget &window);

/** The size `control` needs for its whole text in its font, never less than its size:
    single-line texts with room for the access letter's underline, wrapped ones at the
    control's width. Controls whose content scrolls (lists, text boxes) need what they have. */
QSize neededSize(const QWidget &control);

} // namespace twips
