#include "dialogs/form4.h"

#include "app/form1.h"
#include "app/numbers.h"
#include "app/program.h"
#include "editing/frmmenu.h"

#include <QAction>
#include <QCheckBox>
#include <QCloseEvent>
#include <QLineEdit>
#include <QPushButton>

namespace {

constexpr int kMaxCount = 30;
constexpr int kMinCount = 1;

/** The field's whole number, or `current` (written back into the field) when it holds
    none that fits 16 bits. */
int fieldValue(QLineEdit &field, int current)
{
    if (const auto value = numbers::parseInt16(field.text()))
        return *value;
    field.setText(QString::number(current));
    return current;
}

} // namespace

Form4::Form4(Program &program) : QWidget(nullptr, Qt::Dialog), m_program(program)
{
    setWindowTitle(QStringLiteral("Snipdeckのﾌﾟﾛﾊﾟﾃｨ"));
    m_check1 = new QCheckBox(QStringLiteral("常に手前に表示(&T)"), this);
    m_check2 = new QCheckBox(QStringLiteral("ｺﾝﾄﾛｰﾙﾎﾞﾀﾝを隠す(&H)"), this);
    m_text1 = new QLineEdit(this);
    m_text3 = new QLineEdit(this);
    m_text2 = new QLineEdit(this);
    m_command1 = new QPushButton(QStringLiteral("OK"), this);
    m_command2 = new QPushButton(QStringLiteral("ｷｬﾝｾﾙ"), this);
    connect(m_command1, &QPushButton::clicked, this, &Form4::Command1_Click);
    connect(m_command2, &QPushButton::clicked, this, &Form4::Command2_Click);
}

Form4::~Form4() = default;

void Form4::Command1_Click()
{
    Form1 &main = m_program.form1();
    if (m_text1->text().isEmpty())
        m_text1->setText(QString::number(main.GetButtonWidth()));
    if (m_text2->text().isEmpty())
        m_text2->setText(QString::number(main.GetButtonNum()));
    if (m_text3->text().isEmpty())
        m_text3->setText(QString::number(main.GetButtonHeight()));

    if (const auto count = numbers::parseDecimal(m_text2->text())) {
        if (*count > kMaxCount)
            m_text2->setText(QString::number(kMaxCount));
        if (numbers::parseDecimal(m_text2->text()).value_or(kMinCount) < kMinCount)
            m_text2->setText(QString::number(kMinCount));
    }

    const bool onTop = m_check1->isChecked();
    FrmMenu &menu = m_program.frmMenu();
    menu.Menu_Allways().setChecked(onTop);
    m_program.setAllOnTop(onTop);

    const bool hidden = m_check2->isChecked();
    menu.Menu_ControlButton().setChecked(hidden);

    main.SetWinZ(onTop ? 1 : 0);
    main.ControlSet(hidden ? 1 : 0);

    int width = fieldValue(*m_text1, main.GetButtonWidth());
    int count = fieldValue(*m_text2, main.GetButtonNum());
    int height = fieldValue(*m_text3, main.GetButtonHeight());
    const int flag = hidden ? 1 : 0;
    // A bar reaching beyond 16-bit twips cannot be shown: the field at fault keeps the
    // value in use.
    if (!main.CanLayOut(width, count, height, flag)) {
        if (main.CanLayOut(width, count, main.GetButtonHeight(), flag)) {
            height = main.GetButtonHeight();
        } else if (main.CanLayOut(main.GetButtonWidth(), count, height, flag)) {
            width = main.GetButtonWidth();
        } else {
            width = main.GetButtonWidth();
            height = main.GetButtonHeight();
            if (!main.CanLayOut(width, count, height, flag))
                count = main.GetButtonNum();
        }
        m_text1->setText(QString::number(width));
        m_text2->setText(QString::number(count));
        m_text3->setText(QString::number(height));
    }
    main.WindowSet(width, count, height);

    main.setEnabled(true);
    hide();
}

void Form4::Command2_Click()
{
    m_program.form1().setEnabled(true);
    hide();
}

void Form4::closeEvent(QCloseEvent *event)
{
    m_program.form1().setEnabled(true);
    event->accept();
}
