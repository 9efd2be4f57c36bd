#pragma once

#include <QWidget>

#include <array>

class Program;
class QFrame;
class QLabel;
class QPushButton;

/** The version box: title, version and icon, and a link that starts a mail to the
    maintainer. */
class frmAbout final : public QWidget
{
    Q_OBJECT

public:
    explicit frmAbout(Program &program);
    ~frmAbout() override;

    QLabel &picIcon() const { return *m_picIcon; }
    QLabel &lblTitle() const { return *m_lblTitle; }
    QLabel &lblVersion() const { return *m_lblVersion; }
    QLabel &lblDisclaimer(int index) const { return *m_lblDisclaimer.at(index); }
    QFrame &Line1(int index) const { return *m_line1.at(index); }
    QPushButton &cmdOK() const { return *m_cmdOK; }

    /** The address the link writes to. */
    static QString maintainerAddress();

    /** OK: the box closes as by its close box: it is unloaded and the properties dialog,
        when shown, gets the focus. */
    void cmdOK_Click();
    /** Either label: a new mail to the maintainer in the user's mail client. */
    void lblDisclaimer_Click(int Index);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    Program &m_program;
    QLabel *m_picIcon = nullptr;
    QLabel *m_lblTitle = nullptr;
    QLabel *m_lblVersion = nullptr;
    std::array<QFrame *, 2> m_line1{};
    std::array<QLabel *, 2> m_lblDisclaimer{};
    QPushButton *m_cmdOK = nullptr;
};
