#pragma once

#include <QString>

class QWidget;

/** Modal message boxes. */
class MessageBoxes
{
public:
    enum class Icon { None, Exclamation, Information, Question };
    enum class Buttons { Ok, OkCancel };
    enum class Answer { Ok, Cancel };

    virtual ~MessageBoxes() = default;

    /** Shows a modal box and returns the button pressed. A CR LF in `text` breaks the line. */
    virtual Answer show(const QString &text, const QString &title, Icon icon,
                        Buttons buttons = Buttons::Ok) = 0;
};
