// The windows' wiring: which handler calls what, which window shows over which, the exact
// texts and where the controls sit. The session's decisions are tested in tests/core, long
// command sequences in tst_commandsequences.
#include "testprogram.h"
#include "datatable.h"

#include "app/barlayout.h"
#include "app/fonts.h"
#include "dialogs/frmabout.h"
#include "dialogs/frmabouttext.h"
#include "dialogs/updown.h"
#include "files/module1.h"
#include "platform/qtfiledialogs.h"
#include "version.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QGroupBox>
#include <QHeaderView>
#include <QListWidget>
#include <QMenu>
#include <QPointer>
#include <QRegularExpression>
#include <QScreen>
#include <QSignalSpy>
#include <QStyleOption>
#include <QToolButton>
#include <QTreeView>

namespace {

using Status = Association::Status;

/** A font as the program asks for it: its size, "mono" for a fixed-width one, "u" underlined. */
QString fontOf(const QWidget &control)
{
    const QFont font = control.font();
    return QStringLiteral("%1pt%2%3").arg(font.pointSize()).arg(font.styleHint() == QFont::Monospace ? " mono" : "", font.underline() ? " u" : "");
}

/** A window's title and font size, and the texts of its labels, buttons and frames, in the order made;
    a control in a font of its own with that font in brackets. */
QString textsOf(const QWidget &window)
{
    QStringList texts{window.windowTitle() + QStringLiteral(" %1pt").arg(window.font().pointSize())};
    for (const QWidget *child : window.findChildren<QWidget *>())
        texts << child->property(qobject_cast<const QGroupBox *>(child) ? "title" : "text").toString().remove(QChar(0x2060))
                        + (child->testAttribute(Qt::WA_SetFont) ? "[" + fontOf(*child) + "]" : QString());
    texts.removeAll(QString());
    return texts.join(u'|');
}

/** A menu's title and items: "-" a separator, a submenu's items in brackets. */
QString textsOf(const QMenu &menu)
{
    QStringList texts{menu.title()};
    for (const QAction *item : menu.actions())
        texts << (item->isSeparator() ? QStringLiteral("-") : item->menu() ? "(" + textsOf(*item->menu()) + ")" : item->text());
    return texts.join(u'|');
}

/** Height of a line of text with the underline of an access letter below its baseline. */
int lineNeed(const QFontMetrics &metrics)
{
    return std::max(metrics.height(), metrics.ascent() + metrics.underlinePos() + metrics.lineWidth());
}

/** The room the style gives a button's text. */
QRect textRoom(const QAbstractButton &button)
{
    QStyleOptionButton option;
    option.initFrom(&button);
    option.text = button.text();
    const auto *push = qobject_cast<const QPushButton *>(&button);
    if (push && (push->autoDefault() || push->isDefault()))
        option.features |= QStyleOptionButton::AutoDefaultButton;
    return button.style()->subElementRect(push ? QStyle::SE_PushButtonContents : QStyle::SE_CheckBoxContents, &option, &button);
}

/** Where a frame's title stands. */
QRect titleRect(const QGroupBox &box)
{
    QStyleOptionGroupBox option;
    option.initFrom(&box);
    option.text = box.title();
    option.subControls = QStyle::SC_GroupBoxLabel | QStyle::SC_GroupBoxFrame;
    return box.style()->subControlRect(QStyle::CC_GroupBox, &option, QStyle::SC_GroupBoxLabel, &box);
}

/** Pixels a line's text leaves to spare in its height. */
int spareInLine(const QLineEdit &edit)
{
    return edit.height() - edit.fontMetrics().height() - 2 - 2 * edit.style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, &edit);
}

/** The window's controls that do not show their whole text in their font: the text wider or
    taller than the room the style gives it (a single line with the underline of its access
    letter, a wrapped text at the control's width), a label showing "&", a column narrower
    than its values; controls overlapping or leaving their parent; a window larger than its
    screen or too narrow for its title beside an icon and a close box. */
QStringList cutTexts(const QWidget &window)
{
    QStringList cut;
    const auto check = [&cut](bool fits, const QWidget *control, const QString &text) {
        if (!fits)
            cut << QStringLiteral("%1 %2 %3x%4").arg(control->metaObject()->className(), text).arg(control->width()).arg(control->height());
    };
    for (const QWidget *control : window.findChildren<QWidget *>()) {
        if (control->isWindow() || !control->isVisibleTo(&window))
            continue;
        const QFontMetrics metrics(control->font());
        const QWidget *parent = control->parentWidget();
        const bool hasText = !control->property("text").toString().isEmpty() || qobject_cast<const QLineEdit *>(control)
                || qobject_cast<const QGroupBox *>(control);
        const bool scrolled = qobject_cast<const QAbstractScrollArea *>(parent) || qobject_cast<const QAbstractScrollArea *>(parent->parentWidget());
        if (hasText && !parent->layout() && !scrolled) {
            check(parent->rect().contains(control->geometry()), control, "outside");
            // Lines drawn over controls are meant; any two controls with text never overlap.
            for (const QWidget *sibling : parent->findChildren<QWidget *>(Qt::FindDirectChildrenOnly))
                check(sibling == control || sibling->isWindow() || !sibling->isVisibleTo(&window)
                              || sibling->height() <= 1 || !sibling->geometry().intersects(control->geometry()), control, "overlaps");
        }
        if (const auto *rich = qobject_cast<const QLabel *>(control); rich && rich->textFormat() == Qt::RichText) {
            check(rich->wordWrap() && rich->heightForWidth(rich->width()) <= rich->height(), rich, "rich text");
        } else if (const auto *label = qobject_cast<const QLabel *>(control); label && !label->text().isEmpty()) {
            const QRect room = label->contentsRect().marginsRemoved(QMargins(1, 1, 1, 1) * label->margin());
            const bool mnemonic = label->buddy() && label->textFormat() != Qt::PlainText;
            check(mnemonic || !label->text().contains(QRegularExpression("&[^& ]")), label, label->text() + " shows &");
            const QRect text = label->wordWrap()
                    ? metrics.boundingRect(QRect(0, 0, room.width(), 10000), Qt::TextWordWrap, label->text())
                    : QRect(0, 0, metrics.size(mnemonic ? Qt::TextShowMnemonic : 0, label->text()).width(), lineNeed(metrics));
            check(text.width() <= room.width() && text.height() <= room.height(), label, label->text());
        } else if (const auto *button = qobject_cast<const QAbstractButton *>(control); button && !button->text().isEmpty()) {
            const QRect room = textRoom(*button);
            check(metrics.size(Qt::TextShowMnemonic, button->text()).width() <= room.width() && lineNeed(metrics) <= room.height(),
                  button, button->text());
        } else if (const auto *edit = qobject_cast<const QLineEdit *>(control)) {
            check(spareInLine(*edit) >= 0, edit, "line");
        } else if (const auto *box = qobject_cast<const QGroupBox *>(control)) {
            const QRect title = titleRect(*box);
            for (const QWidget *inside : box->findChildren<QWidget *>(Qt::FindDirectChildrenOnly))
                check(inside->y() >= title.y() + lineNeed(metrics), box, box->title() + " over " + inside->metaObject()->className());
            check(metrics.size(Qt::TextShowMnemonic, box->title()).width() <= title.width(), box, box->title());
        } else if (const auto *header = qobject_cast<const QHeaderView *>(control)) {
            const auto *view = qobject_cast<const QTreeView *>(header->parentWidget());
            for (int column = 0; view && column < header->count(); ++column)
                check(header->isSectionHidden(column) || header->sectionSize(column) >= static_cast<const QAbstractItemView *>(view)->sizeHintForColumn(column),
                      header, view->model()->headerData(column, Qt::Horizontal).toString());
        }
    }
    const QFontMetrics metrics(window.font());
    const QRect screen = window.screen()->availableGeometry();
    check((window.windowFlags() & Qt::FramelessWindowHint) ? screen.contains(window.geometry())
                                                         : screen.size().expandedTo(window.size()) == screen.size(),
          &window, "off the screen");
    if (window.windowFlags() & Qt::FramelessWindowHint)
        return cut;
    check(window.width() >= metrics.horizontalAdvance(window.windowTitle()) * 3 / 2 + 4 * metrics.height(), &window, "title");
    // A margin at every edge, and no empty strip beside the controls of a window grown wider.
    QRect used;
    for (const QWidget *control : window.findChildren<QWidget *>(Qt::FindDirectChildrenOnly)) {
        used |= control->isWindow() || control->height() <= 1 ? QRect() : control->geometry();
        // Lines drawn across the window may reach past its sides, never past its top or bottom.
        check(control->isWindow() || (control->y() >= 0 && control->geometry().bottom() < window.height()), control, "below");
    }
    const int margin = twips::toPixels(twips::leastMargin);
    const int right = window.width() - used.right() - 1, bottom = window.height() - used.bottom() - 1;
    check(window.layout() || (used.left() >= margin && used.top() >= margin && right == margin && bottom == margin), &window,
          QStringLiteral("margins %1 %2 %3 %4").arg(used.left()).arg(used.top()).arg(right).arg(bottom));
    return cut;
}

/** Where a control stands in the design, in twips: left, top, width, height. */
struct Place
{
    int left, top, width, height;
    QRect pixels(QPoint offset) const
    {
        return QRect(qRound(left / 15.0), qRound(top / 15.0), qRound(width / 15.0), qRound(height / 15.0)).translated(offset);
    }
};
using Places = QList<Place>;

/** Room to spare beside the text of a label or a button: a control grown wider for its text
    has none. */
int spareWidth(const QWidget &control)
{
    const QFontMetrics metrics(control.font());
    const int text = metrics.size(Qt::TextShowMnemonic, control.property("text").toString()).width();
    if (const auto *label = qobject_cast<const QLabel *>(&control))
        return label->wordWrap() ? 0 : label->contentsRect().width() - text;
    if (const auto *button = qobject_cast<const QAbstractButton *>(&control))
        return textRoom(*button).width() - text;
    return 1000;
}

/** Room to spare above and below the text of a label, a button or a line: a control grown
    taller for its text has none. */
int spareHeight(const QWidget &control)
{
    const QFontMetrics metrics(control.font());
    if (const auto *label = qobject_cast<const QLabel *>(&control))
        return label->contentsRect().height()
               - (label->wordWrap() ? metrics.boundingRect(label->contentsRect(), Qt::TextWordWrap, label->text()).height() : lineNeed(metrics));
    if (const auto *button = qobject_cast<const QAbstractButton *>(&control))
        return textRoom(*button).height() - lineNeed(metrics);
    if (const auto *edit = qobject_cast<const QLineEdit *>(&control))
        return spareInLine(*edit);
    return qobject_cast<const QGroupBox *>(&control) ? 0 : 1000; // a frame holds what its controls need; lists need nothing
}

/** The controls of `parent` (in the order made) that stand elsewhere than the design puts them:
    at their place, moved in from the window's edge by the margin, whenever the font fits;
    else never up or left of it, moved down or right by no more than what is above or left of
    them grew (or a frame's title), never smaller, and taller or wider only for their text (or
    with their row or column). */
QStringList misplaced(const QWidget &parent, const Places &places, QPoint offset, int titleRoom, bool widened)
{
    QList<const QWidget *> controls;
    for (const QWidget *control : parent.findChildren<QWidget *>(Qt::FindDirectChildrenOnly))
        if (!control->isWindow() && control->height() > 1)
            controls << control;
    if (controls.size() != places.size())
        return {QStringLiteral("%1 controls").arg(controls.size())};
    QStringList wrong;
    for (qsizetype i = 0; i < controls.size(); ++i) {
        const QRect was = places[i].pixels(offset);
        const QRect now = controls[i]->geometry();
        int down = titleRoom;
        int right = 0;
        bool rowNeedsIt = false;
        bool columnNeedsIt = false;
        for (qsizetype j = 0; j < controls.size(); ++j) {
            const QRect other = places[j].pixels(offset);
            const QRect grown = controls[j]->geometry();
            if (other.bottom() < was.top())
                down = std::max(down, grown.bottom() - other.bottom());
            if (other.right() < was.left())
                right = std::max(right, grown.right() - other.right());
            if (other.top() == was.top() && other.height() == was.height() && grown.height() == now.height())
                rowNeedsIt = rowNeedsIt || spareHeight(*controls[j]) <= 2;
            if (other.left() == was.left() && other.width() == was.width() && grown.width() == now.width())
                columnNeedsIt = columnNeedsIt || spareWidth(*controls[j]) <= 2;
        }
        const QPoint moved = now.topLeft() - was.topLeft();
        if (moved.x() < 0 || moved.y() < 0 || moved.x() > right || moved.y() > down || now.width() < was.width()
            || now.height() < was.height() || (now.height() > was.height() && !rowNeedsIt)
            || (now.width() > was.width() && !columnNeedsIt && !widened))
            wrong << QStringLiteral("%1 %2 at %3,%4 %5x%6, not %7,%8 %9x%10").arg(controls[i]->metaObject()->className())
                             .arg(controls[i]->property("text").toString()).arg(now.x()).arg(now.y()).arg(now.width())
                             .arg(now.height()).arg(was.x()).arg(was.y()).arg(was.width()).arg(was.height());
    }
    return wrong;
}

/** Each window's controls as the design places them; the properties' frame holds the second list. */
const QList<Places> kPlaces{
        {{0, 0, 2055, 2580}, {0, 3000, 975, 255}, {1080, 3000, 975, 255}, {0, 2640, 975, 255}, {1080, 2640, 975, 255}},
        {{120, 120, 3495, 2415}, {1200, 2640, 1095, 255}, {2520, 2640, 1095, 255}},
        {{240, 240, 480, 480}, {1050, 240, 3885, 240}, {1080, 600, 3885, 225}, {135, 1305, 3870, 420}, {120, 1800, 1620, 180},
         {4440, 1800, 1185, 315}},
        {{120, 120, 810, 180}, {0, 360, 1815, 5460}, {1920, 120, 915, 180}, {1920, 360, 7095, 5415}, {120, 5880, 1335, 255},
         {6600, 5880, 1095, 255}, {7800, 5880, 1215, 255}},
        {{120, 120, 810, 180}, {0, 360, 2295, 270}, {2520, 0, 1095, 255}, {2520, 360, 1095, 255}}};
const Places kInFrame{{240, 360, 1935, 180}, {240, 600, 2295, 255}, {240, 1080, 1290, 180}, {240, 1320, 1125, 270},
                      {1380, 1320, 195, 270}, {1800, 1080, 1095, 180}, {1800, 1320, 1020, 270}, {2820, 1320, 195, 270},
                      {240, 1680, 960, 180}, {240, 1920, 945, 270}, {1200, 1920, 195, 270}, {1680, 2040, 1695, 255}};

/** The controls of window `index` of kPlaces that stand elsewhere than the design puts them. */
QStringList misplaced(const QWidget &window, int index)
{
    const Places &places = kPlaces[index];
    const int margin = twips::toPixels(twips::leastMargin);
    QPoint edge(INT_MAX, INT_MAX);
    for (const Place &place : places)
        edge = QPoint(std::min(edge.x(), place.pixels({}).x()), std::min(edge.y(), place.pixels({}).y()));
    const QPoint offset(std::max(0, margin - edge.x()), std::max(0, margin - edge.y()));
    int designWidth = 0;
    for (const Place &place : places)
        designWidth = std::max(designWidth, place.pixels(offset).right() + 1 + margin);
    // A window made wider for its title shares the room among its controls.
    const QFontMetrics metrics(window.font());
    const bool widened = window.width() > designWidth
            && window.width() <= metrics.horizontalAdvance(window.windowTitle()) * 3 / 2 + 4 * metrics.height();
    QStringList wrong = misplaced(window, places, offset, 0, widened);
    if (const auto *frame = window.findChild<QGroupBox *>()) {
        const QRect title = titleRect(*frame);
        wrong << misplaced(*frame, kInFrame, {}, std::max(0, title.y() + lineNeed(frame->fontMetrics()) + 2 - kInFrame[0].top / 15), widened);
    }
    return wrong;
}

/** What a command on `button` left behind: the windows and menu up (the content view with
    its text, and where it sits from the bar: under the button, or at the click), the
    messages, the programs started, the clipboard's text, whether the bar waits for a window. */
QString outcome(TestProgram &t, const QPushButton &button)
{
    QStringList seen;
    for (const QWidget *window : t.program.loadedWindows()) {
        if (const auto *view = qobject_cast<const Form2 *>(window); view && view->isVisible()) {
            const QPoint at = view->pos() - t.program.form1().pos();
            seen << view->content() + (at.y() == button.y() + 20 ? QStringLiteral(" under") : QStringLiteral(" at %1,%2").arg(at.x()).arg(at.y()));
        } else if (window->isVisible()) {
            seen << window->metaObject()->className();
        }
    }
    if (QApplication::activePopupWidget())
        seen << QStringLiteral("menu on %1%2").arg(t.program.frmMenu().targetIndex())
                        .arg(t.program.frmMenu().Menu_Button().isEnabled() ? " with ﾎﾞﾀﾝ" : "");
    seen << t.messages();
    for (const auto &start : t.launcher.started)
        seen << start.first + " " + start.second.join(u' ').replace(t.dir.path(), "~");
    seen << t.clipboard.text();
    if (t.paster.pastes)
        seen << QStringLiteral("pasted");
    if (!t.program.form1().isEnabled())
        seen << QStringLiteral("bar disabled");
    return seen.join(u'|');
}

} // namespace

class TestWindows : public QObject
{
    Q_OBJECT

private slots:
    void looks_data()
    {
        TestProgram t;
        t.start();
        QStringList controls;
        for (int j = 0; j < 5; ++j)
            controls << t.program.form1().Command2(j).text() << t.program.form1().Command2(j).toolTip();
        columns<QString, QString>({"shown", "expected"});
        QTest::newRow("control buttons")
                << controls.join(u'|')
                << "内容確認(&C)|ｸﾘｯﾌﾟﾎﾞｰﾄﾞの内容を確認します|編集(&E)|現在読み込まれているﾌｧｲﾙの編集を行います|"
                   "再読込(&R)|ｸﾘｯﾌﾟﾌｧｲﾙの追加、削除、再読込を行います|ﾌﾟﾛﾊﾟﾃｨ(&P)|ﾌﾟﾛﾊﾟﾃｨを表示します|終了(&X)|ﾌﾟﾛｸﾞﾗﾑを終了します";
        QTest::newRow("menu") << textsOf(t.program.frmMenu().MouseMenu())
                              << "ﾒﾆｭｰ（&1)|(ﾎﾞﾀﾝ(&B)|ﾎﾞﾀﾝ内容表示(&D)|ﾎﾞﾀﾝ名変更(&C)|ﾎﾞﾀﾝ内容の編集(&E))|-|(ｸﾘｯﾌﾟﾎﾞｰﾄﾞ(&C)|"
                                 "内容確認(&K)|ﾃﾞｰﾀの削除(&D))|-|常に最前面に表示(&T)|ｺﾝﾄﾛｰﾙﾎﾞﾀﾝを隠す(&H)|ｸﾘｯｸで貼り付け(&P)|"
                                 "ﾛｸﾞｲﾝ時に起動(&L)|-|(ｸﾘｯﾌﾟﾌｧｲﾙ(&F)|"
                                 "新規作成(&N)|編集(&E)|更新(&U)|再読込(&R))|-|ﾌﾟﾛﾊﾟﾃｨ(&A)|-|終了(&X)";
        // Where other programs' windows are out of reach, the item says why.
        using Obstacle = Paster::Obstacle;
        const QString unavailable = QStringLiteral("ｸﾘｯｸで貼り付け(&P)（Waylandでは使えません）|");
        for (const auto &[obstacle, why] : {
                     std::pair{Obstacle::Unreachable, "このﾃﾞｽｸﾄｯﾌﾟにはﾘﾓｰﾄﾃﾞｽｸﾄｯﾌﾟのﾎﾟｰﾀﾙがなく、ほかのﾌﾟﾛｸﾞﾗﾑのｳｨﾝﾄﾞｳに貼り付けられません"},
                     {Obstacle::OldDesktop, "このﾃﾞｽｸﾄｯﾌﾟのﾘﾓｰﾄﾃﾞｽｸﾄｯﾌﾟのﾎﾟｰﾀﾙは古く（ﾊﾞｰｼﾞｮﾝ1）、許可を覚えられません"},
                     {Obstacle::Refused, "ﾃﾞｽｸﾄｯﾌﾟがｷｰ入力を許可しませんでした"}}) {
            TestProgram wayland;
            wayland.paster.blocked = obstacle;
            const QAction &item = wayland.program.frmMenu().Menu_ClickPaste();
            QTest::addRow("click to paste: %s", why)
                    << item.text() + "|" + item.toolTip() + (item.isEnabled() ? "|enabled" : "")
                       + (wayland.program.frmMenu().MouseMenu().toolTipsVisible() ? "" : "|tip hidden")
                    << unavailable + QString::fromUtf8(why);
        }
        TestProgram lost; // a path an autostart entry cannot hold
        lost.program.session().autostart.program = QStringLiteral("/opt/s\r");
        const QAction &login = lost.program.frmMenu().Menu_AutoStart();
        QTest::newRow("start at login: unavailable") << login.text() + "|" + login.toolTip()
                                                     << "ﾛｸﾞｲﾝ時に起動(&L)（このﾌｫﾙﾀﾞからは使えません）|ﾌｫﾙﾀﾞかﾌﾟﾛｸﾞﾗﾑのﾊﾟｽに、ﾛｸﾞｲﾝ時の起動に書けない文字があります";
        QTest::newRow("editor list menu") << textsOf(t.program.frmMenu().MouseMenu2())
                                          << "ﾒﾆｭｰ(&2)|上へ(&U)|下へ(&D)|-|ﾎﾞﾀﾝ名変更(&C)|-|挿入(&I)|-|ﾃﾞｰﾀ削除(&D)|ﾎﾞﾀﾝ削除(&K)";
        t.program.form1().SetClipData(0, QStringLiteral("a\r\n<b>"));
        QTest::keyClick(&t.program.form1().Command1(0), Qt::Key_F3);
        const QLabel &view = t.program.form2().Label1();
        QTest::newRow("content view") << view.text() + " " + fontOf(view) + " on "
                                                 + (view.autoFillBackground() ? view.palette().color(QPalette::Window).name() : QString())
                                      << "<div style=\"white-space: pre-wrap; line-height: 115%\">a\n&lt;b&gt;</div> 9pt mono on #c0ffff";
        QTest::newRow("read files") << textsOf(t.program.form3()) << "読込ﾌｧｲﾙ選択 9pt|OK|ｷｬﾝｾﾙ|追加(&A)|削除(&D)";
        QStringList iconSizes;
        for (const QSize size : t.program.form1().windowIcon().availableSizes())
            iconSizes << QString::number(size.width());
        QTest::newRow("icon sizes") << iconSizes.join(u'|') << "128|16|24|32|48|64";
        QTest::newRow("properties") << textsOf(t.program.form4())
                                    << "Snipdeckのﾌﾟﾛﾊﾟﾃｨ 9pt|設定(&S)|常に手前に表示(&T)|ｺﾝﾄﾛｰﾙﾎﾞﾀﾝを隠す(&H)|ﾒｲﾝｳｨﾝﾄﾞｳ幅(&W)|"
                                       "ﾎﾞﾀﾝの高さ(&H)|ﾎﾞﾀﾝの数(&N)|ﾊﾞｰｼﾞｮﾝ情報(&A)|OK|ｷｬﾝｾﾙ";
        QTest::newRow("editor") << textsOf(t.program.form5()) << "ﾎﾞﾀﾝ内容編集 9pt|ﾎﾞﾀﾝ名(&B):|ﾎﾞﾀﾝ内容(&I):|[9pt mono]|新規ﾎﾞﾀﾝ(&N)|OK|ｷｬﾝｾﾙ";
        QTest::newRow("rename") << textsOf(t.program.form6()) << "ﾎﾞﾀﾝ名の変更 9pt|ﾎﾞﾀﾝ名(&N):|OK|ｷｬﾝｾﾙ";
        QTest::newRow("version box") << textsOf(t.program.about())
                                     << "Snipdeckのﾊﾞｰｼﾞｮﾝ情報 9pt|Snipdeck|ﾊﾞｰｼﾞｮﾝ 0.1.22|動作中の不具合、異常または、改修の依頼は以下へ"
                                        "お願いします。|" + QString::fromUtf8(snipdeck::build::maintainerAddress) + "[9pt u]|OK";
        // Where Japanese lines may break ("|"): between phrases, never inside a word.
        const auto breaks = [](const QString &joined) {
            QString shown;
            for (qsizetype i = 0; i < joined.size(); ++i) {
                if (i > 0 && joined[i] != QChar(0x2060) && joined[i - 1] != QChar(0x2060))
                    shown += u'|';
                shown += joined[i] == QChar(0x2060) ? QString() : QString(joined[i]);
            }
            return shown;
        };
        QTest::newRow("line breaks") << QStringList{breaks(fonts::phrased(frmabouttext::request)), breaks(fonts::phrased(frmmenutext::replaceQuestion)),
                                                    breaks(fonts::phrased(form5text::createQuestion + "「ｸﾘｯﾌﾟ」へ、"))}.join(u'/')
                                     << "動作中の|不具合、|異常または、|改修の|依頼は|以下へお願いします。/ﾌｧｲﾙの|内容は|失われます。|新規作成しますか？/"
                                        "ｸﾘｯﾌﾟﾌｧｲﾙを|新規作成しますか？|「ｸﾘｯﾌﾟ」へ、";
        // Messages whose every way out is hard to reach from a window test.
        QTest::newRow("messages")
                << QStringList{form1text::settingsMissing, form1text::clipFileUnreadable,
                               form1text::clipboardNotText, form1text::tooManyButtons, form5text::clipFileUnwritable,
                               frmmenutext::replaceQuestion}.join(u'|')
                << "初期化ﾌｧｲﾙが見つかりません|ｸﾘｯﾌﾟﾃﾞｰﾀﾌｧｲﾙを読み込めません|ｸﾘｯﾌﾟﾎﾞｰﾄﾞの内容が"
                   "ﾃｷｽﾄ形式ではありません|ﾎﾞﾀﾝを30個以上登録することは出来ません|ｸﾘｯﾌﾟﾃﾞｰﾀﾌｧｲﾙを保存できません|"
                   "ﾌｧｲﾙの内容は失われます。新規作成しますか？";
    }

    void looks()
    {
        QTEST(fetched<QString>("shown"), "expected");
    }

    void wholeTexts_data()
    {
        QTest::addColumn<int>("window");
        const QStringList windows{"read files", "properties", "version box", "editor", "rename", "open dialog", "save dialog",
                                  "content view, one long line", "content view, many lines"};
        for (int i = 0; i < windows.size(); ++i)
            QTest::newRow(qPrintable(windows[i])) << i;
    }

    /** Run in each of the Japanese fonts desktops use (SNIPDECK_TEST_FONT names the one
        fontconfig is left with) and at several scales. */
    void wholeTexts()
    {
        QFETCH(int, window);
        TestProgram t;
        t.startOn(t.writeShiftJis("定型文.cdt", "#a\r\n"));
        QFileDialog dialog;
        QWidget *const windows[] = {&t.program.form3(), &t.program.form4(), &t.program.about(), &t.program.form5(),
                                    &t.program.form6(), &dialog, &dialog, &t.program.form2(), &t.program.form2()};
        QWidget &shown = *windows[window];
        if (&shown == &t.program.form2()) {
            // From a bar at the screen's right edge: the view stays on the screen, and shows it all.
            const QString sentence = QStringLiteral("いつもお世話になっております。ご不便をおかけいたしますが、よろしくお願いいたします。");
            t.program.form1().move(shown.screen()->availableGeometry().topRight() - QPoint(100, 0));
            t.program.form1().SetClipData(0, window == 7 ? sentence.repeated(8) : (sentence + "\r\n").repeated(200));
            QTest::keyClick(&t.program.form1().Command1(0), Qt::Key_F3);
            const QLabel &text = t.program.form2().Label1();
            QVERIFY(shown.isVisible() && shown.geometry().width() > 200);
            QVERIFY2(window == 8 || text.size() == shown.size(), "scrolls a text the screen can hold");
            QVERIFY2(text.margin() > 0, "text at the edges");
        }
        if (&shown == &dialog) {
            QtFileDialogs::prepare(dialog, window == 5);
            auto *model = dialog.findChild<QFileSystemModel *>();
            QSignalSpy loaded(model, &QFileSystemModel::directoryLoaded);
            dialog.setDirectory(t.dir.path());
            dialog.show();
            QVERIFY(loaded.wait());
            QCoreApplication::processEvents();
            // However large Qt would make it, it fits on the screen with its frame.
            const QSize most = dialog.maximumSize() + QSize(twips::toPixels(barlayout::frameWidth), twips::toPixels(barlayout::frameHeight));
            QCOMPARE(most.boundedTo(dialog.screen()->availableGeometry().size()), most);
        }
        const QString font = qEnvironmentVariable("SNIPDECK_TEST_FONT");
        QVERIFY2(QFontInfo(shown.font()).family().startsWith(font), qPrintable(QFontInfo(shown.font()).family()));
        const QStringList cut = cutTexts(shown);
        QVERIFY2(cut.isEmpty(), qPrintable(cut.join(u'|')));
        // Where a window had to give up room to the screen, its text boxes have shrunk.
        const QSize spare = shown.screen()->availableGeometry().size() - shown.size();
        if (window < kPlaces.size() && spare.width() > 8 && spare.height() > 27) {
            const QStringList wrong = misplaced(shown, window);
            QVERIFY2(wrong.isEmpty(), qPrintable(wrong.join(u'|')));
        }
    }

    void commands_data()
    {
        // key: with its modifiers, 0 a left click, 1 a right click; item: chosen from the menu the right click
        // brought up
        columns<int, bool, int, QString, QString>({"key", "control", "index", "expected", "item"});
        const QString up = QStringLiteral("|clip|bar disabled");
        QTest::newRow("F1 renames") << int(Qt::Key_F1) << false << 1 << "Form6" + up << QString();
        QTest::newRow("F2 edits") << int(Qt::Key_F2) << false << 1 << "Form5" + up << QString();
        QTest::newRow("F3 shows the text") << int(Qt::Key_F3) << false << 0 << "text a under" + up << QString();
        QTest::newRow("F3 on no text") << int(Qt::Key_F3) << false << 1 << "内容が存在しません|clip" << QString();
        QTest::newRow("F4 the clipboard") << int(Qt::Key_F4) << true << 4 << "clip under" + up << QString();
        QTest::newRow("F6 read files") << int(Qt::Key_F6) << false << 0 << "Form3" + up << QString();
        QTest::newRow("F7 opens the file") << int(Qt::Key_F7) << false << 0 << "/bin/ed -s ~/k.cdt|clip" << QString();
        QTest::newRow("F8 properties") << int(Qt::Key_F8) << true << 0 << "Form4" + up << QString();
        QTest::newRow("Enter copies") << int(Qt::Key_Return) << false << 0 << "text a|pasted" << QString();
        QTest::newRow("Space copies") << int(Qt::Key_Space) << false << 0 << "text a|pasted" << QString();
        QTest::newRow("a click copies") << 0 << false << 0 << "text a|pasted" << QString();
        QTest::newRow("digit 1 reloads") << int(Qt::Key_1) << false << 1 << "clip" << QString();
        QTest::newRow("Enter on 内容確認") << int(Qt::Key_Return) << true << 0 << "clip under" + up << QString();
        QTest::newRow("Shift+F10") << (Qt::ShiftModifier | Qt::Key_F10).toCombined() << false << 1 << "menu on 1 with ﾎﾞﾀﾝ|clip" << QString();
        QTest::newRow("menu key") << int(Qt::Key_Menu) << false << 0 << "menu on 0 with ﾎﾞﾀﾝ|clip" << QString();
        QTest::newRow("menu key on 内容確認") << int(Qt::Key_Menu) << true << 0 << "menu on 0|clip" << QString();
        QTest::newRow("right click on 再読込") << 1 << true << 2 << "menu on 2|clip" << QString();
        QTest::newRow("内容確認") << 0 << true << 0 << "clip under" + up << QString();
        QTest::newRow("編集") << 0 << true << 1 << "/bin/ed -s ~/k.cdt|clip" << QString();
        QTest::newRow("再読込") << 0 << true << 2 << "Form3" + up << QString();
        QTest::newRow("ﾌﾟﾛﾊﾟﾃｨ") << 0 << true << 3 << "Form4" + up << QString();
        // A command chosen from a button's right-click menu gives the focus back to that button.
        QTest::newRow("menu: its text") << 1 << false << 0 << "text a at 5,25" + up << frmmenutext::display;
        QTest::newRow("menu: the clipboard on 再読込") << 1 << true << 2 << "clip at 5,96" + up << frmmenutext::kakunin;
        QTest::newRow("menu: read files on a snippet") << 1 << false << 1 << "Form3" + up << frmmenutext::reread;
        QTest::newRow("menu: properties on 終了") << 1 << true << 4 << "Form4" + up << frmmenutext::about;
        QTest::newRow("menu: emptying the clipboard") << 1 << true << 3 << "" << frmmenutext::deleteClip;
    }

    void commands()
    {
        // With click to paste off (as when no one has set it), and on: the same commands, and
        // only a press of a snippet button pastes.
        QFETCH(int, key);
        QFETCH(QString, expected);
        QFETCH(QString, item);
        command(key, false, QString(expected).remove(QStringLiteral("|pasted")), item);
        command(key, true, expected, item);
    }

    // Tab goes down the shown snippet buttons, then the control buttons, and round.
    void tabOrder()
    {
        TestProgram t;
        t.startOn(t.writeShiftJis("t.cdt", "#a\r\n#b\r\n"));
        Form1 &main = t.program.form1();
        QList<QWidget *> expected{&main.Command1(0), &main.Command1(1)}, seen;
        for (int j = 0; j < 5; ++j)
            expected << &main.Command2(j);
        main.Command1(0).setFocus();
        for (qsizetype n = 0; n <= expected.size(); ++n, QTest::keyClick(main.focusWidget(), Qt::Key_Tab))
            seen << main.focusWidget();
        QCOMPARE(seen, expected << &main.Command1(0));
    }

    /** Runs `key` (0 a left click, 1 a right click, then `menuItem` from the menu). */
    void command(int key, bool clickPaste, const QString &expected, const QString &menuItem = {})
    {
        QFETCH(int, index);
        TestProgram t;
        t.writeBytes(QStringLiteral("Snipdeck.ini"), clickPaste ? "ClickPaste=1\n" : "ClickPaste=0\n");
        t.startOn(t.writeShiftJis("k.cdt", "#a\r\ntext a\r\n#b\r\n\r\n"));
        t.clipboard.setText(QStringLiteral("clip"));
        t.launcher.association = {Status::Found, QStringLiteral("/bin/ed"), {"-s"}};
        Form1 &main = t.program.form1();
        QPushButton &button = fetched<bool>("control") ? main.Command2(index) : main.Command1(index);
        button.setFocus();
        if (key <= 1)
            QTest::mouseClick(&button, key ? Qt::RightButton : Qt::LeftButton, {}, QPoint(5, 5));
        else
            QTest::keyClick(&button, Qt::Key(key & ~Qt::KeyboardModifierMask), Qt::KeyboardModifiers(key & Qt::KeyboardModifierMask));
        if (!menuItem.isEmpty()) {
            QWidget *menu = QApplication::activePopupWidget();
            const auto items = menu->findChildren<QAction *>();
            const auto chosen = std::find_if(items.begin(), items.end(), [&](QAction *a) { return a->text() == menuItem; });
            menu->close();
            (*chosen)->trigger();
        }
        QCOMPARE(outcome(t, button), expected);
        // Cancel, or a left click on the view (a right click does nothing), hands the bar back
        // with the focus on the button: keys work on it.
        for (QWidget *window : t.program.loadedWindows()) {
            if (auto *view = qobject_cast<Form2 *>(window); view && view->isVisible()) {
                QTest::mouseClick(&view->Label1(), Qt::RightButton);
                QVERIFY(view->isVisible());
                QTest::mouseClick(&view->Label1(), Qt::LeftButton);
            }
            for (QPushButton *cancel : window->findChildren<QPushButton *>()) {
                if (cancel->text() == u"ｷｬﾝｾﾙ" && window->isVisible())
                    cancel->click();
            }
        }
        QVERIFY(main.isEnabled());
        QCOMPARE(main.focusWidget(), &button);
    }

    void startUpAndExitKeepTheSettings()
    {
        TestProgram t;
        const QString a = t.writeShiftJis("定型文.cdt", "#ｱ\r\nline 1\r\nline 2\r\n#b\r\n\r\n");
        // Saved on a monitor that is gone: the bar comes up on the primary screen.
        t.writeStartIni({"5", "300", "1800", "0", "1", "3000000", "-3000000", "0"}, {a, t.path("gone.cdt")});
        t.start();
        Form1 &main = t.program.form1();
        const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
        QCOMPARE(main.pos(), screen.topLeft());
        QCOMPARE(t.messages(), QStringList{form1text::clipFileMissing + "\r\nﾌｧｲﾙ:" + t.path("gone.cdt")});
        QCOMPARE(main.windowTitle() + main.Command1(0).text() + QString::number(main.Command1(0).width()), "定型文ｱ120");
        QTest::keyClick(&main.Command1(0), Qt::Key_F3);
        QVERIFY(!main.isEnabled() && t.program.form2().close() && main.isEnabled()); // the view closed otherwise than by a click
        QTest::keyClick(&main.Command1(0), Qt::Key_Menu);
        QVERIFY(t.program.frmMenu().Menu_ControlButton().isChecked()); // the hidden control buttons
        main.move(300, 200);
        // The two options of this system alone leave Start.ini's bytes as they were.
        t.program.frmMenu().Menu_ClickPaste().trigger();
        t.program.frmMenu().Menu_AutoStart().trigger();
        t.program.frmMenu().Menu_Exit_Click();
        QCOMPARE(t.endProcessCalls, 1);
        QCOMPARE(t.readBytes("Start.ini"),
                 *sjis::encode(" 2 \r\n 300 \r\n 1800 \r\n 0 \r\n 1 \r\n 3000 \r\n 4500 \r\n 0 \r\n" + a + "\r\n"));

        // Kept where a pixel of its 40 × 20 corner is on a screen.
        for (const auto &[at, kept] : {std::pair{QPoint(-39, -19), true}, {QPoint(-40, 0), false}, {QPoint(0, -20), false},
                                       {screen.bottomRight(), true}, {screen.bottomRight() + QPoint(1, 0), false}}) {
            TestProgram saved;
            saved.writeStartIni({"5", "300", "1800", "0", "1", QString::number(at.y() * 15), QString::number(at.x() * 15), "0"});
            saved.start();
            QCOMPARE(saved.program.form1().pos(), kept ? at : screen.topLeft());
        }
        // A Start.ini that cannot be written is named at the end, with the system's reason.
        TestProgram blocked;
        blocked.startOn(blocked.writeShiftJis("u.cdt", "#u\r\n"));
        QVERIFY(QFile::remove(blocked.path("Start.ini")) && QDir(blocked.dir.path()).mkdir("Start.ini"));
        blocked.program.frmMenu().Menu_Exit_Click();
        const QString named = form1text::unwritable(form1text::settingsUnwritable, blocked.path("Start.ini"), QString());
        const QString said = blocked.messages().join(u'|');
        QVERIFY2(said.startsWith(named) && said.size() > named.size(), qPrintable(said));
        // A save in place cut short by a crash is undone as the bar starts again.
        TestProgram crashed;
        QVERIFY(QDir(crashed.dir.path()).mkpath("cache/snipdeck"));
        const QString torn = crashed.writeBytes("j.cdt", "#ned\r\n"); // "#new" begun over "#old"
        crashed.writeBytes("cache/snipdeck/1.journal", "snipdeck in-place save\n" + QFile::encodeName(torn) + "\n6\n6\n#old\r\n#new\r\n");
        crashed.startOn(torn);
        QCOMPARE(crashed.program.form1().Command1(0).text() + crashed.readBytes("j.cdt"), "old#old\r\n");
    }

    void clickPasteAndStartAtLogin()
    {
        TestProgram t;
        t.writeBytes(QStringLiteral("Snipdeck.ini"), "ClickPaste=1\n"); // as an earlier run left it
        t.startOn(t.writeShiftJis("o.cdt", "#a\r\n"));
        FrmMenu &menu = t.program.frmMenu();
        const auto marks = [&] {
            QTest::keyClick(&t.program.form1().Command1(0), Qt::Key_Menu);
            QApplication::activePopupWidget()->close();
            return QString::number(menu.Menu_ClickPaste().isChecked()) + QString::number(menu.Menu_AutoStart().isChecked());
        };
        const QString entry = QStringLiteral("config/autostart/snipdeck.desktop");
        QCOMPARE(marks(), "10");
        menu.Menu_AutoStart().trigger();
        QCOMPARE(marks(), "11");
        // Switched off in the desktop's own settings: the mark follows, and on writes it anew.
        t.writeBytes(entry, t.readBytes(entry) + "Hidden=true\n");
        QCOMPARE(marks(), "10");
        menu.Menu_AutoStart().trigger();
        QCOMPARE(marks(), "11");
        menu.Menu_AutoStart().trigger();
        menu.Menu_ClickPaste().trigger();
        QCOMPARE(marks(), "00");
        QVERIFY(!QFile::exists(t.path(entry)));
        // A folder where either file goes: the user is told, the option holds for this run.
        QVERIFY(QDir(t.dir.path()).mkpath(entry) && QFile::remove(t.path("Snipdeck.ini")) && QDir(t.dir.path()).mkdir("Snipdeck.ini"));
        menu.Menu_ClickPaste().trigger();
        menu.Menu_AutoStart().trigger();
        QCOMPARE(marks(), "10");
        QCOMPARE(t.messages(), (QStringList{"設定ﾌｧｲﾙを保存できません\r\nﾌｧｲﾙ:" + t.path("Snipdeck.ini"),
                                            "ﾛｸﾞｲﾝ時の起動を設定できません\r\nﾌｧｲﾙ:" + t.path(entry)}));

        // Where other programs' windows are out of reach, a press copies as it always did.
        TestProgram wayland;
        wayland.paster.blocked = Paster::Obstacle::Unreachable;
        wayland.writeBytes(QStringLiteral("Snipdeck.ini"), "ClickPaste=1\n");
        wayland.startOn(wayland.writeShiftJis("w.cdt", "#a\r\nw\r\n"));
        wayland.program.form1().Command1(0).click();
        QCOMPARE(wayland.clipboard.text() + QString::number(wayland.paster.pastes), "w0");
        // A desktop that asks: the consent's token is kept and handed back at the next start;
        // a refusal turns the option off, with the reason on the item.
        TestProgram asking;
        asking.writeBytes(QStringLiteral("Snipdeck.ini"), "ClickPaste=1\nRestoreToken=old\n");
        asking.startOn(asking.writeShiftJis("w.cdt", "#a\r\nw\r\n"));
        asking.paster.granted(""); // a desktop that hands over no token leaves the kept one
        QCOMPARE(asking.readBytes("Snipdeck.ini"), "ClickPaste=1\nRestoreToken=old\n");
        asking.paster.granted("new");
        QCOMPARE(asking.readBytes("Snipdeck.ini"), "ClickPaste=1\nRestoreToken=new\n");
        asking.paster.blocked = Paster::Obstacle::Refused;
        asking.paster.failed(Paster::Obstacle::Refused);
        QCOMPARE(asking.readBytes("Snipdeck.ini"), "ClickPaste=0\n");
        QCOMPARE(asking.paster.prepared, QByteArrayList{"old"});
        QVERIFY(!asking.program.frmMenu().Menu_ClickPaste().isEnabled());
    }

    void editorListMenu()
    {
        // Each command of the list's menu on the second of three entries; the text shown is the selected entry's,
        // then the next one's after Down (none while a new entry's name is asked).
        for (const auto &[command, after] : {std::pair{&FrmMenu::List_Up_Click, "b|a|c y x"}, {&FrmMenu::List_Down_Click, "a|c|b y y"},
                                             {&FrmMenu::List_Insert_Click, "a|未設定|b|c  "}, {&FrmMenu::List_Delete_Click, "a|未設定|c  z"},
                                             {&FrmMenu::List_Kill_Click, "a|c z z"}}) {
            TestProgram t;
            t.startOn(t.writeShiftJis("l.cdt", "#a\r\nx\r\n#b\r\ny\r\n#c\r\nz\r\n"));
            QTest::keyClick(&t.program.form1().Command1(1), Qt::Key_F2);
            Form5 &editor = t.program.form5();
            t.program.frmMenu().SetIndex(1);
            (t.program.frmMenu().*command)();
            const QString text = editor.Text1().toPlainText();
            QTest::keyClick(&editor.List1(), Qt::Key_Down);
            QCOMPARE(itemTexts(editor.List1()).join(u'|') + " " + text + " " + editor.Text1().toPlainText(), after);
        }
    }

    void renameAndEditorAnswerTheirKeys()
    {
        TestProgram t;
        t.startOn(t.writeShiftJis("r.cdt", "#a\r\nx\r\n#b\r\ny\r\n"));
        Form1 &main = t.program.form1();
        Form6 &rename = t.program.form6();
        QTest::keyClick(&main.Command1(1), Qt::Key_F1);
        QCOMPARE(rename.Text1().selectedText(), QStringLiteral("b"));
        QTest::keyClicks(&rename.Text1(), QStringLiteral("typed"));
        QTest::keyClick(&rename.Text1(), Qt::Key_Escape); // drops what was typed
        QVERIFY(main.isEnabled());
        QCOMPARE(main.Command1(1).text(), QStringLiteral("b"));

        QTest::keyClick(&main.Command1(1), Qt::Key_F2);
        Form5 &editor = t.program.form5();
        QCOMPARE(editor.selectedEntry(), 1);
        // A right click on an entry, and only a right click, brings up the list's menu.
        const QPoint entry = editor.List1().visualItemRect(editor.List1().item(0)).center();
        QTest::mousePress(editor.List1().viewport(), Qt::LeftButton, {}, entry);
        QVERIFY(!QApplication::activePopupWidget());
        QTest::mousePress(editor.List1().viewport(), Qt::RightButton, {}, entry);
        QCOMPARE(QApplication::activePopupWidget(), &t.program.frmMenu().MouseMenu2());
        QApplication::activePopupWidget()->close();
        editor.List1().setCurrentRow(0);
        QTest::keyClick(&editor.List1(), Qt::Key_Delete); // the entry after it is selected
        QCOMPARE(itemTexts(editor.List1()), QStringList{"b"});
        QCOMPARE(editor.Text1().toPlainText(), QStringLiteral("y"));
        editor.Text1().setPlainText(QStringLiteral("1\n2"));
        QTest::keyClick(&editor.List1(), Qt::Key_Return);
        QVERIFY(main.isEnabled());
        QCOMPARE(t.readBytes("r.cdt"), QByteArray("#b\r\n1\r\n2\r\n"));
        // A new entry's name is asked where the box last stood, not at the editor's corner.
        QTest::keyClick(&main.Command1(0), Qt::Key_F2);
        rename.move(7, 7);
        editor.Command3().click();
        QCOMPARE(rename.pos(), QPoint(7, 7));
        QTest::keyClick(&rename.Text1(), Qt::Key_Escape);
        // An entry picked in the list: at the editor's corner, here past the screen's, so moved
        // back to lie flush with it, frame and all.
        editor.move(rename.screen()->availableGeometry().bottomRight());
        editor.List1_DblClick();
        QCOMPARE(rename.frameGeometry().bottomRight(), rename.screen()->availableGeometry().bottomRight());
    }

    void editorHoldsThirtyAndClipboardLinesEndInLF()
    {
        TestProgram t;
        QString thirty;
        for (int i = 0; i < 30; ++i)
            thirty += QStringLiteral("#%1\r\n").arg(i);
        t.startOn(t.writeShiftJis("30.cdt", thirty));
        t.clipboard.setText(QStringLiteral("a\rb\r\nc\r")); // every line end reaches it as LF
        QCOMPARE(t.clipboard.text(), QStringLiteral("a\nb\nc\n"));
        QTest::keyClick(&t.program.form1().Command1(0), Qt::Key_F2);
        t.program.form5().SetTextBuffer(0, QStringLiteral("set")); // the entry shown takes it at once
        QCOMPARE(t.program.form5().Text1().toPlainText(), QStringLiteral("set"));
        t.program.form5().Command3().click();
        QCOMPARE(t.messages(), QStringList{form1text::tooManyButtons});
    }

    void savingWithoutAFileInShiftJisOrOverTooLargeAFile()
    {
        TestProgram t;
        t.writeStartIni(TestProgram::defaultNumbers);
        t.start();
        Form1 &main = t.program.form1();
        t.fileDialogs.saveAnswers = {t.path("新規.cdt"), t.path("ab")};
        t.program.frmMenu().Menu_NewFile_Click();
        t.program.frmMenu().Menu_NewFile_Click(); // too short to lose an extension: keeps the caption
        QCOMPARE(main.windowTitle(), QStringLiteral("新規"));
        // With no file in use, a save asks to create one.
        main.SetDataFileName(QString());
        t.fileDialogs.saveAnswers = {t.path("gone/b.cdt"), t.path("b.cdt")};
        QVERIFY(!t.program.form5().ClipFileWrite()); // a file that cannot be written is not listed
        QCOMPARE(t.program.form3().List2().size(), 2);
        QVERIFY(t.program.form5().ClipFileWrite());
        QCOMPARE(t.boxes.shown.last().text + t.boxes.shown.last().title, form5text::createQuestion + "ｸﾘｯﾌﾟﾌｧｲﾙがありません");
        const QByteArray unset = t.readBytes("新規.cdt");
        QCOMPARE(t.readBytes("b.cdt"), unset);
        // The bar names it, and it joins the list of files.
        QCOMPARE(main.GetDataFileName() + "|" + main.windowTitle() + "|" + t.program.form3().List2().last(), t.path("b.cdt") + "|b|" + t.path("b.cdt"));
        // Text Shift-JIS cannot hold is refused, naming its button; the file keeps what it had.
        main.SetClipData(1, QStringLiteral("😀"));
        QVERIFY(!t.program.form5().ClipFileWrite());
        QCOMPARE(t.messages().last(), "ｼﾌﾄJISで保存できない文字があります\r\nﾎﾞﾀﾝ:" + form1text::unset);
        QCOMPARE(t.readBytes("b.cdt"), unset);

        // A file grown too large is refused unread, and what it held is shown no more; a save
        // asks before replacing it.
        TestProgram large;
        QFile big(large.startOn(large.writeShiftJis("big.cdt", "#a\r\n")));
        QVERIFY(big.open(QIODevice::WriteOnly) && big.resize(qint64(3) << 30));
        large.program.form1().ReadFile(big.fileName());
        QCOMPARE(large.messages(), QStringList{form1text::clipFileTooLarge + "\r\nﾌｧｲﾙ:" + big.fileName()});
        QCOMPARE(large.program.form1().Command1(0).text(), form1text::unset);
        large.boxes.answers = {MessageBoxes::Answer::Cancel};
        QVERIFY(!large.program.form5().ClipFileWrite());
        QCOMPARE(large.messages().last(), form5text::overwriteQuestion + "\r\nﾌｧｲﾙ:" + big.fileName());
    }

    void dialogsHandTheirResultsOver()
    {
        TestProgram t;
        const QString b = t.writeShiftJis("b.cdt", "#b\r\n");
        t.startOn(t.writeShiftJis("a.cdt", "#a\r\n"));
        Form1 &main = t.program.form1();
        Form3 &files = t.program.form3();
        main.Command2(2).click();
        t.fileDialogs.openAnswers = {QStringList{b, t.path("missing.cdt")}};
        files.activateWindow();
        (void)QTest::qWaitForWindowActive(&files);
        QTest::mouseClick(&files.Command3(), Qt::LeftButton); // the button takes the focus
        QCOMPARE(t.fileDialogs.focusWhenAsked, &files.List1()); // where Enter goes as the dialog closes
        QCOMPARE(itemTexts(files.List1()), (QStringList{"a.cdt", "b.cdt"}));
        files.List1().setCurrentRow(0);
        QTest::keyClick(&files.List1(), Qt::Key_Down); // only Enter loads
        QTest::keyClick(&files.List1(), Qt::Key_Return);
        QCOMPARE(main.windowTitle(), QStringLiteral("b"));
        QCOMPARE(main.focusWidget(), &main.Command2(2));
        // A double click on a row loads it as well; the focus goes to the first snippet button,
        // as the file just loaded may have fewer.
        QTest::keyClick(&main.Command1(0), Qt::Key_F6);
        files.List1().setCurrentRow(0);
        emit files.List1().doubleClicked(files.List1().currentIndex());
        QCOMPARE(main.windowTitle(), QStringLiteral("a"));
        QCOMPARE(main.focusWidget(), &main.Command1(0));

        // The properties' arrows step their fields; OK puts the windows on top.
        main.Command2(3).click();
        Form4 &properties = t.program.form4();
        properties.UpDown2().upArrow().click();
        properties.UpDown3().downArrow().click();
        QTest::keyClick(&properties.UpDown1(), Qt::Key_Down); // or its keys
        QCOMPARE(properties.Text1().text() + " " + properties.Text2().text() + " " + properties.Text3().text(),
                 QStringLiteral("2300 2 230"));
        QTest::keyClick(&properties.Text3(), Qt::Key_Return); // a field's Enter presses no button
        properties.Check1().setChecked(true);
        properties.Command1().setFocus();
        QTest::keyClick(&properties.Command1(), Qt::Key_Return); // the focused button's Enter presses it
        QCOMPARE(t.windowOrder.asked.last(), true);
        t.program.frmMenu().Menu_Allways_Click(); // the menu's check mark, through the same OK
        QCOMPARE(t.windowOrder.asked.last(), false);
        QCOMPARE(main.GetButtonNum(), 2);

        // The version box, from the properties.
        t.boxes.shown.clear();
        main.Command2(3).click();
        properties.Command3().click();
        QPointer<frmAbout> box = &t.program.about();
        // Either disclaimer line mails the maintainer, a right click does not; a failed mail ends quietly.
        QTest::mouseClick(&box->lblDisclaimer(0), Qt::LeftButton);
        t.launcher.mailSucceeds = false;
        QTest::mouseClick(&box->lblDisclaimer(1), Qt::LeftButton);
        QTest::mouseClick(&box->lblDisclaimer(1), Qt::RightButton);
        QCOMPARE(t.launcher.mails, QStringList(2, QString::fromUtf8(snipdeck::build::maintainerAddress)));
        const QLabel &link = box->lblDisclaimer(1); // looks like a link
        QVERIFY(link.palette().color(QPalette::WindowText) == Qt::blue && link.font().underline() && link.cursor().shape() == Qt::PointingHandCursor);
        QVERIFY(t.boxes.shown.isEmpty());
        QStringList separator; // etched: a grey line with a white one just under it
        for (const QFrame *line : {&box->Line1(1), &box->Line1(0)})
            separator << line->palette().color(QPalette::Window).name() + QStringLiteral(" %1").arg(line->y() - box->Line1(1).y())
                                 + (line->autoFillBackground() && line->frameShape() == QFrame::NoFrame ? "" : " unfilled");
        QCOMPARE(separator.join(u'|'), "#808080 0|#ffffff 1");
        // OK unloads the box and gives the properties dialog back, still over the bar.
        box->activateWindow();
        (void)QTest::qWaitFor([&] { return QApplication::activeWindow() == box.data(); });
        QCOMPARE(QApplication::activeWindow(), box.data());
        box->cmdOK().click();
        (void)QTest::qWaitFor([&] { return QApplication::activeWindow() == &properties; });
        QCOMPARE(QApplication::activeWindow(), &properties);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(box.isNull());
        QVERIFY(!main.isEnabled());
    }

    void launch_data()
    {
        // quoted: as the lookup gets it
        columns<QString, QString, Association, QString>({"path", "quoted", "found", "message"});
        const auto failed = [](Status status) { return Association{status, {}, {}}; };
        QTest::newRow("file missing") << "/a/b.cdt" << "\"/a/b.cdt\"" << failed(Status::FileMissing) << "ファイルが見つかりません。";
        QTest::newRow("path missing") << "\"/a b\"" << "\"/a b\"" << failed(Status::PathMissing) << "パスが見つかりません。";
        QTest::newRow("no association") << "\"/a" << "\"/a\"" << failed(Status::NoAssociation) << "関連付けが指定されていません。";
        QTest::newRow("not executable") << "/a\"" << "\"/a\"" << failed(Status::NotExecutable) << "不正な形式の実行ファイルです。";
        QTest::newRow("out of memory") << "" << "\"\"" << failed(Status::OutOfMemory) << "メモリまたはリソースが足りません。";
        QTest::newRow("anything else") << "\"" << "\"\"" << failed(Status::Failed) << "関連付けを取得できません。";
        QTest::newRow("found without a program") << "/a" << "\"/a\"" << failed(Status::Found) << "関連付けを取得できません。";
        QTest::newRow("start fails") << "/a" << "\"/a\"" << Association{Status::Found, "/opt/ed", {"-s"}}
                                     << "ﾌﾟﾛｸﾞﾗﾑを起動できません\r\n/opt/ed";
    }

    void launch()
    {
        QFETCH(Association, found);
        TestProgram t;
        t.launcher.association = found;
        t.launcher.startSucceeds = false;
        Module1::OpenInAssociatedProgram(t.program, fetched<QString>("path"));
        QTEST(t.launcher.lookedUp.value(0), "quoted");
        QCOMPARE(t.launcher.started.size(), found.program.isEmpty() ? 0 : 1);
        QCOMPARE(t.messages(), QStringList{fetched<QString>("message")});
        const auto &box = t.boxes.shown.at(0);
        QCOMPARE(box.title, QStringLiteral("Snipdeck"));
        QCOMPARE(box.icon, found.program.isEmpty() ? MessageBoxes::Icon::None : MessageBoxes::Icon::Exclamation);
    }
};

QTEST_MAIN(TestWindows)
#include "tst_windows.moc"
