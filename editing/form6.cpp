#include "editing/form6.h"

#include "app/program.h"

Form6::Form6(Program &program) : QWidget(nullptr, Qt::Dialog), m_program(program)
{
    setWindowTitle(QStringLiteral("ﾎﾞﾀﾝ名の変更"));
}

Form6::~Form6() = default;

void Form6::SetButtonInfo(int DMode, int BNumber)
{
    EditMode = DMode;
    ButtonNumber = BNumber;
}
