#pragma once

#include <QWidget>

class Program;

/** The button content editor: all names and texts of the bar at once, and the one writer
    of clip data files. */
class Form5 final : public QWidget
{
    Q_OBJECT

public:
    explicit Form5(Program &program);
    ~Form5() override;

    /** Writes the main window's buttons to the clip data file in use. Returns whether the
        file now holds them. */
    bool ClipFileWrite();

private:
    Program &m_program;
};
