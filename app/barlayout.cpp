#include "app/barlayout.h"

#include "app/numbers.h"

#include <algorithm>

namespace barlayout {

Layout compute(int width, int count, int height, bool controlsHidden)
{
    Layout layout;
    layout.buttonNum = std::min(count >= 1 ? count : limits::defaultButtonNum, snippetButtons);
    layout.controlsShown = !controlsHidden;
    // The window must stay within 16-bit twips: a wider one is cut, and a taller column gets
    // lower buttons rather than lose any of them.
    const int rows = layout.buttonNum + (layout.controlsShown ? controlButtons : 0);
    const int fixed = frameHeight + (layout.controlsShown ? controlGap : 0);
    layout.buttonWidth = std::clamp(width, 0, numbers::int16Max - frameWidth);
    layout.buttonHeight = std::clamp(height, 0, (numbers::int16Max - fixed) / rows);

    const int h = layout.buttonHeight;
    for (int i = 0; i < layout.buttonNum; ++i)
        layout.snippetTops.append(i * h);
    int bottom = layout.buttonNum * h;
    if (layout.controlsShown) {
        for (int j = 0; j < controlButtons; ++j)
            layout.controlTops[j] = bottom + controlGap + j * h;
        bottom = layout.controlTops.back() + h;
    }
    layout.windowHeight = double(bottom + frameHeight);
    layout.windowWidth = layout.buttonWidth + frameWidth;
    return layout;
}

bool fits(int width, int count, int height, bool controlsHidden)
{
    const Layout layout = compute(width, count, height, controlsHidden);
    return layout.buttonWidth == width && layout.buttonHeight == height
            && (count < 1 || layout.buttonNum == count);
}

ButtonSize fromWindowSize(double outerWidth, double outerHeight, int buttonNum,
                          bool controlsHidden)
{
    const double w = numbers::roundHalfEven(outerWidth - frameWidth);
    const double a = numbers::roundHalfEven(outerHeight - frameHeight);
    double h = 0;
    if (controlsHidden) {
        h = a / std::max(buttonNum, 1);
    } else {
        const double room = a <= controlGap ? 0.0 : a - controlGap;
        h = room / (buttonNum + controlButtons);
    }
    return {static_cast<int>(std::clamp(w, double(numbers::int16Min), double(numbers::int16Max))),
            static_cast<int>(std::clamp(numbers::roundHalfEven(h), double(numbers::int16Min),
                                        double(numbers::int16Max)))};
}

int toPixels(double twips)
{
    return static_cast<int>(numbers::roundHalfEven(twips / twipsPerPixel));
}

} // namespace barlayout
