#include "files/form3.h"

#include "app/form1.h"
#include "app/program.h"

#include <QCloseEvent>
#include <QListWidget>

Form3::Form3(Program &program) : QWidget(nullptr, Qt::Tool), m_program(program)
{
    setWindowTitle(QStringLiteral("読込ﾌｧｲﾙ選択"));
    m_list1 = new QListWidget(this);
}

Form3::~Form3() = default;

void Form3::SetFlag(int Flag, int Index)
{
    FocusFlag = Flag;
    FocusIndex = Index;
}

void Form3::appendEntry(const QString &name, const QString &path)
{
    m_list1->addItem(name);
    m_list2.append(path);
}

void Form3::OKClick()
{
    hide();
    m_program.form1().setEnabled(true);
}

void Form3::Command2_Click()
{
    m_program.form1().setEnabled(true);
    hide();
}

void Form3::closeEvent(QCloseEvent *event)
{
    // The list lives as long as the program: closing the window cancels instead.
    event->ignore();
    Command2_Click();
}
