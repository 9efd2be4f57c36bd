#include "dialogs/frmabout.h"

#include "app/fonts.h"
#include "app/program.h"
#include "app/twips.h"
#include "dialogs/form4.h"
#include "dialogs/frmabouttext.h"
#include "platform/launcher.h"
#include "version.h"

#include <QCloseEvent>
#include <QFrame>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>

#include <algorithm>

namespace {

constexpr double kOuterWidth = 5820;
constexpr double kOuterHeight = 2580;
constexpr double kFrameWidth = 90;
constexpr double kFrameHeight = 390;
constexpr int kIconPixels = 32;

/** One of the two lines of the etched separator: a one-pixel strip of a plain colour. */
QFrame *makeLine(QWidget *parent, const QColor &color, double left, double right, double y)
{
    auto *line = new QFrame(parent);
    line->setFrameShape(QFrame::NoFrame);
    line->setAutoFillBackground(true);
    QPalette palette = line->palette();
    palette.setColor(QPalette::Window, color);
    line->setPalette(palette);
    const QRect strip = twips::rect(left, y, right - left, 0);
    line->setGeometry(strip.x(), strip.y(), strip.width(), 1);
    return line;
}

} // namespace

frmAbout::frmAbout(Program &program) : QWidget(nullptr, Qt::Dialog), m_program(program)
{
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint
                   | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    twips::setFixedOuterSize(*this, kOuterWidth, kOuterHeight, kFrameWidth, kFrameHeight);
    setWindowIcon(m_program.icon());
    setWindowTitle(frmabouttext::title + frmabouttext::captionSuffix);
    // The controls are sized for the Japanese desktop's 9-point dialog font.
    setFont(fonts::pGothic(9));

    m_picIcon = new QLabel(this);
    m_picIcon->setPixmap(m_program.icon().pixmap(kIconPixels, kIconPixels));
    m_picIcon->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    twips::place(*m_picIcon, 240, 240, 480, 480);

    m_lblTitle = new QLabel(frmabouttext::title, this);
    twips::place(*m_lblTitle, 1050, 240, 3885, 240);
    m_lblVersion = new QLabel(frmabouttext::versionText(snipdeck::build::versionMajor,
                                                        snipdeck::build::versionMinor,
                                                        snipdeck::build::versionPatch),
                              this);
    twips::place(*m_lblVersion, 1080, 600, 3885, 225);

    // The etched separator: a gray line with a white one just under it.
    m_line1[1] = makeLine(this, QColor(128, 128, 128), -30, 5534, 1125);
    m_line1[0] = makeLine(this, Qt::white, -15, 5534, 1140);

    auto *request = new QLabel(fonts::phrased(frmabouttext::request), this);
    request->setWordWrap(true);
    request->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    QPalette black = request->palette();
    black.setColor(QPalette::WindowText, Qt::black);
    request->setPalette(black);
    twips::place(*request, 135, 1305, 3870, 420);

    auto *address = new QLabel(maintainerAddress(), this);
    address->setTextFormat(Qt::PlainText);
    QFont link = fonts::pGothic(9);
    link.setUnderline(true);
    address->setFont(link);
    QPalette blue = address->palette();
    blue.setColor(QPalette::WindowText, Qt::blue);
    address->setPalette(blue);
    address->setCursor(Qt::PointingHandCursor);
    twips::place(*address, 120, 1800, 1620, 180);
    // The address is ours to choose and may be longer than the place made for it.
    address->resize(std::max(address->width(), address->sizeHint().width()), address->height());

    m_lblDisclaimer = {request, address};
    for (QLabel *label : m_lblDisclaimer)
        label->installEventFilter(this);

    m_cmdOK = new QPushButton(frmabouttext::ok, this);
    twips::place(*m_cmdOK, 4440, 1800, 1185, 315);
    connect(m_cmdOK, &QPushButton::clicked, this, &frmAbout::cmdOK_Click);
}

frmAbout::~frmAbout() = default;

QString frmAbout::maintainerAddress()
{
    return QString::fromUtf8(snipdeck::build::maintainerAddress);
}

void frmAbout::cmdOK_Click()
{
    close();
}

void frmAbout::lblDisclaimer_Click(int)
{
    // A mail client that is missing or fails has nothing to tell the user here: the click
    // simply ends.
    m_program.services().launcher.composeMail(maintainerAddress());
}

bool frmAbout::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::MouseButtonRelease) {
        const auto *mouse = static_cast<QMouseEvent *>(event);
        for (int i = 0; i < int(m_lblDisclaimer.size()); ++i) {
            QLabel *label = m_lblDisclaimer.at(i);
            if (watched == label && mouse->button() == Qt::LeftButton
                && label->rect().contains(mouse->position().toPoint())) {
                lblDisclaimer_Click(i);
                return true;
            }
        }
    }
    return QWidget::eventFilter(watched, event);
}

void frmAbout::closeEvent(QCloseEvent *)
{
    m_program.unload(this);
    // OK and the close box alike hand the focus back to the properties dialog when it is
    // up; one that is gone (at shutdown, say) is not created for that.
    for (QWidget *window : m_program.loadedWindows()) {
        if (qobject_cast<Form4 *>(window) && window->isVisible())
            window->activateWindow();
    }
}
