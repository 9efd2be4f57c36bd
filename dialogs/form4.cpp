#include "dialogs/form4.h"

#include "app/fonts.h"
#include "app/form1.h"
#include "app/program.h"
#include "app/session.h"
#include "app/twips.h"
#include "dialogs/form4text.h"
#include "dialogs/frmabout.h"
#include "dialogs/updown.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {

/** Outer size, and what the dialog frame takes of it (border and caption). */
constexpr double kOuterWidth = 3795;
constexpr double kOuterHeight = 3315;
constexpr double kFrameWidth = 90;
constexpr double kFrameHeight = 390;

constexpr spinstep::Range kWidthRange{100, 200, 10000};
constexpr spinstep::Range kCountRange{1, 1, limits::maxEntries};
constexpr spinstep::Range kHeightRange{10, 200, 500};

} // namespace

Form4::Form4(Program &program) : QWidget(nullptr, Qt::Dialog), m_program(program)
{
    // A fixed dialog frame: no resizing, no minimize or maximize box.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint
                   | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    setWindowTitle(form4text::caption);
    // The controls are sized for the Japanese desktop's 9-point dialog font.
    setFont(fonts::pGothic(9));
    twips::setFixedOuterSize(*this, kOuterWidth, kOuterHeight, kFrameWidth, kFrameHeight);

    m_frame1 = new QGroupBox(form4text::frame, this);
    twips::place(*m_frame1, 120, 120, 3495, 2415);

    m_check1 = new QCheckBox(form4text::onTop, m_frame1);
    twips::place(*m_check1, 240, 360, 1935, 180);
    m_check2 = new QCheckBox(form4text::hideControls, m_frame1);
    twips::place(*m_check2, 240, 600, 2295, 255);

    const auto makeField = [this](const QString &caption, QLabel *&label, QLineEdit *&text,
                                  UpDown *&upDown, const spinstep::Range &range) {
        label = new QLabel(caption, m_frame1);
        text = new QLineEdit(m_frame1);
        label->setBuddy(text);
        upDown = new UpDown(*text, range, m_frame1);
    };
    makeField(form4text::width, m_label1, m_text1, m_upDown1, kWidthRange);
    makeField(form4text::height, m_label3, m_text3, m_upDown3, kHeightRange);
    makeField(form4text::count, m_label2, m_text2, m_upDown2, kCountRange);
    twips::place(*m_label1, 240, 1080, 1290, 180);
    twips::place(*m_text1, 240, 1320, 1125, 270);
    twips::place(*m_upDown1, 1380, 1320, 195, 270);
    twips::place(*m_label3, 1800, 1080, 1095, 180);
    twips::place(*m_text3, 1800, 1320, 1020, 270);
    twips::place(*m_upDown3, 2820, 1320, 195, 270);
    twips::place(*m_label2, 240, 1680, 960, 180);
    twips::place(*m_text2, 240, 1920, 945, 270);
    twips::place(*m_upDown2, 1200, 1920, 195, 270);

    m_command3 = new QPushButton(form4text::about, m_frame1);
    twips::place(*m_command3, 1680, 2040, 1695, 255);
    m_command1 = new QPushButton(form4text::ok, this);
    twips::place(*m_command1, 1200, 2640, 1095, 255);
    m_command2 = new QPushButton(form4text::cancel, this);
    twips::place(*m_command2, 2520, 2640, 1095, 255);
    // No button answers Enter or Esc on its own: the window is no dialog.

    QWidget *previous = m_check1;
    for (QWidget *next : std::initializer_list<QWidget *>{
                 m_check2, m_text1, m_upDown1, m_text3, m_upDown3, m_text2, m_upDown2,
                 m_command3, m_command1, m_command2}) {
        setTabOrder(previous, next);
        previous = next;
    }

    connect(m_command1, &QPushButton::clicked, this, &Form4::Command1_Click);
    connect(m_command2, &QPushButton::clicked, this, &Form4::Command2_Click);
    connect(m_command3, &QPushButton::clicked, this, &Form4::Command3_Click);

    // A dialog loaded again after its close box starts from the settings in use, so that an
    // apply invoked by another window does not turn them off unasked.
    const Settings &inUse = m_program.session().settings();
    m_check1->setChecked(inUse.onTop());
    m_check2->setChecked(inUse.controlsHidden());
}

Form4::~Form4() = default;

PropertyFields Form4::fields() const
{
    return {m_text1->text(), m_text2->text(), m_text3->text(), m_check1->isChecked(),
            m_check2->isChecked()};
}

void Form4::showFields(const PropertyFields &fields)
{
    m_text1->setText(fields.width);
    m_text2->setText(fields.count);
    m_text3->setText(fields.height);
    m_check1->setChecked(fields.onTop);
    m_check2->setChecked(fields.hidden);
}

void Form4::Command1_Click()
{
    showFields(m_program.form1().applyProperties(fields()).shown);
    leave();
}

void Form4::Command2_Click()
{
    leave();
}

void Form4::Command3_Click()
{
    frmAbout &box = m_program.about();
    twips::moveWindow(box, twips::windowLeft(*this), twips::windowTop(*this));
    box.show();
    box.raise();
    box.activateWindow();
}

void Form4::leave()
{
    m_program.returnTo(m_program.form1(), *this);
}

void Form4::closeEvent(QCloseEvent *)
{
    leave();
    m_program.unload(this);
}
