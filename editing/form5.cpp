#include "editing/form5.h"

#include "app/program.h"

Form5::Form5(Program &program) : QWidget(nullptr, Qt::Dialog), m_program(program)
{
    setWindowTitle(QStringLiteral("ﾎﾞﾀﾝ内容編集"));
}

Form5::~Form5() = default;

bool Form5::ClipFileWrite()
{
    return false;
}
