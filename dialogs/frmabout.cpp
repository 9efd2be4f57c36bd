#include "dialogs/frmabout.h"

#include "app/program.h"

frmAbout::frmAbout(Program &program) : QWidget(nullptr, Qt::Dialog), m_program(program)
{
    setWindowTitle(QStringLiteral("Snipdeckのﾊﾞｰｼﾞｮﾝ情報"));
}

frmAbout::~frmAbout() = default;
