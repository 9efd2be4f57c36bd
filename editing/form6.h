#pragma once

#include <QWidget>

class Program;

/** The rename dialog for a snippet button (mode 1) or an editor entry (mode 2). */
class Form6 final : public QWidget
{
    Q_OBJECT

public:
    explicit Form6(Program &program);
    ~Form6() override;

    void SetButtonInfo(int DMode, int BNumber);

private:
    Program &m_program;
    int EditMode = 0;
    int ButtonNumber = 0;
};
