#pragma once

#include "app/limits.h"

#include <QList>

#include <array>

/** The arithmetic of the button bar: where each button goes and how big the window is. */
namespace barlayout {

inline constexpr int snippetButtons = limits::slotCount;
inline constexpr int controlButtons = 5;
/** Twips the window is wider than one button, and higher than its buttons. */
inline constexpr int frameWidth = 110;
inline constexpr int frameHeight = 400;
/** Gap between the last snippet button and the first control button. */
inline constexpr int controlGap = 100;
inline constexpr int twipsPerPixel = 15;

struct Layout
{
    int buttonWidth = 0;
    int buttonNum = 0; ///< at least 1: a count below 1 lays out the default 14
    int buttonHeight = 0;
    bool controlsShown = true;
    QList<int> snippetTops;                   ///< one per shown snippet button
    std::array<int, controlButtons> controlTops{}; ///< meaningful when controlsShown
    double windowHeight = 0;                  ///< outer height, twips
    int windowWidth = 0;                      ///< outer width, twips
};

/** The layout for width, count and height. Positions and sizes are 16-bit twips, and every
    request is laid out: a count beyond 31 is 31, a negative width or height is 0, a width
    too wide for the window is cut to the widest that fits, and a height too tall for the
    column is cut to the tallest at which all its buttons fit. */
Layout compute(int width, int count, int height, bool controlsHidden);

/** Whether compute() lays the bar out with exactly this width, count and height. */
bool fits(int width, int count, int height, bool controlsHidden);

struct ButtonSize
{
    int width = 0;
    int height = 0;
};

/** The button width and height that an outer window size (twips) asks for. */
ButtonSize fromWindowSize(double outerWidth, double outerHeight, int buttonNum,
                          bool controlsHidden);

/** Twips to whole pixels. */
int toPixels(double twips);

} // namespace barlayout
