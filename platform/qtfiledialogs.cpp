#include "platform/qtfiledialogs.h"

#include "platform/qtfiledialogstext.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QIdentityProxyModel>
#include <QLocale>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QTreeView>

#include <algorithm>
#include <utility>

namespace {

using namespace qtfiledialogstext;

/** Qt writes the sizes and dates of its file list in the system's locale ("21 bytes",
    "8 Dec 2026"), whatever the program's; these two columns are written in the program's. */
class ProgramLocaleColumns final : public QIdentityProxyModel
{
public:
    using QIdentityProxyModel::QIdentityProxyModel;

    QVariant data(const QModelIndex &index, int role) const override
    {
        const auto *files = qobject_cast<const QFileSystemModel *>(sourceModel());
        if (role == Qt::DisplayRole && files) {
            const QModelIndex source = mapToSource(index);
            if (index.column() == kDateColumn)
                return QLocale().toString(files->lastModified(source), QLocale::ShortFormat);
            if (index.column() == kSizeColumn && !files->isDir(source))
                return QLocale().formattedDataSize(files->size(source));
        }
        return QIdentityProxyModel::data(index, role);
    }

private:
    static constexpr int kSizeColumn = 1;
    static constexpr int kDateColumn = 3;
};

/** The shared set-up: both filters, clip data files preselected, no overwrite question,
    no default extension (a new dialog has none). Qt's own dialog rather than the desktop's,
    so that it behaves the same everywhere and can be driven from the keyboard in tests. */
void setUp(QFileDialog &dialog, QFileDialog::AcceptMode mode)
{
    dialog.setOption(QFileDialog::DontUseNativeDialog, true);
    dialog.setOption(QFileDialog::DontConfirmOverwrite, true);
    const bool opening = mode == QFileDialog::AcceptOpen;
    dialog.setAcceptMode(mode);
    dialog.setFileMode(opening ? QFileDialog::ExistingFiles : QFileDialog::AnyFile);
    dialog.setNameFilters({allFiles, clipFiles});
    dialog.selectNameFilter(clipFiles);
    // Qt takes "*.*" literally and would list only names with a dot; the caption stays as
    // the user knows it, and every file is listed.
    QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog, [&dialog](const QString &filter) {
        if (filter != allFiles)
            return;
        if (auto *model = dialog.findChild<QFileSystemModel *>())
            model->setNameFilters({QStringLiteral("*")});
    });
    dialog.setProxyModel(new ProgramLocaleColumns(&dialog));
    // The captions after the modes: setting a mode puts Qt's own back.
    dialog.setWindowTitle(opening ? openTitle : saveTitle);
    dialog.setLabelText(QFileDialog::LookIn, lookIn);
    dialog.setLabelText(QFileDialog::FileName, fileName);
    dialog.setLabelText(QFileDialog::FileType, fileType);
    dialog.setLabelText(QFileDialog::Accept, opening ? open : save);
    dialog.setLabelText(QFileDialog::Reject, cancel);
    // Qt gives only the file name's label a buddy; without one a label shows its "&" as is.
    for (const auto &[label, buddy] : {std::pair{"lookInLabel", "lookInCombo"},
                                       std::pair{"fileTypeLabel", "fileTypeCombo"}}) {
        if (auto *shown = dialog.findChild<QLabel *>(QLatin1String(label)))
            shown->setBuddy(dialog.findChild<QWidget *>(QLatin1String(buddy)));
    }
    // Qt sizes the size, type and date columns for English samples ("128.88 GB"); the
    // Japanese values are wider. Fitted to what each folder holds, once it is read.
    auto *details = dialog.findChild<QTreeView *>(QStringLiteral("treeView"));
    if (auto *model = dialog.findChild<QFileSystemModel *>(); model && details) {
        QObject::connect(model, &QFileSystemModel::directoryLoaded, details, [details] {
            for (int column = 1; column < details->model()->columnCount(); ++column)
                details->resizeColumnToContents(column);
        });
    }
    // Never larger than the screen, whatever size Qt would give it.
    if (const QScreen *screen = QGuiApplication::primaryScreen())
        dialog.setMaximumSize(screen->availableGeometry().size() * 9 / 10);
    // When the program's windows are kept on top, a dialog below them could not be seen.
    if (const QWidget *active = QApplication::activeWindow();
        active && active->windowFlags().testFlag(Qt::WindowStaysOnTopHint))
        dialog.setWindowFlag(Qt::WindowStaysOnTopHint, true);
}

/** The open dialog. Qt's own refuses a typed name that is not there with a box of its own
    and stays open; this one lets such names through with the rest, for the caller to leave
    out without a word. A typed folder is still opened. */
class OpenDialog final : public QFileDialog
{
public:
    /** Qt greys Open out while a typed name is not there; typing makes it pressable again,
        for the mouse as for Enter. Called once the dialog's widgets exist. */
    void keepOpenPressable()
    {
        auto *edit = findChild<QLineEdit *>(QStringLiteral("fileNameEdit"));
        auto *buttons = findChild<QDialogButtonBox *>(QStringLiteral("buttonBox"));
        QPushButton *open = buttons ? buttons->button(QDialogButtonBox::Open) : nullptr;
        if (!edit || !open)
            return;
        // After Qt's own handler of the same signal, which would grey it out again.
        connect(edit, &QLineEdit::textChanged, open, [open](const QString &text) {
            if (!text.isEmpty())
                open->setEnabled(true);
        });
    }

    void accept() override
    {
        const QStringList chosen = selectedFiles();
        const bool missing = std::any_of(chosen.begin(), chosen.end(), [](const QString &path) {
            return !QFileInfo::exists(path);
        });
        const bool folder = std::any_of(chosen.begin(), chosen.end(), [](const QString &path) {
            return QFileInfo(path).isDir();
        });
        if (missing && !folder)
            QDialog::accept();
        else
            QFileDialog::accept();
    }
};

} // namespace

void QtFileDialogs::prepare(QFileDialog &dialog, bool opening)
{
    setUp(dialog, opening ? QFileDialog::AcceptOpen : QFileDialog::AcceptSave);
}

std::optional<QStringList> QtFileDialogs::openFiles()
{
    OpenDialog dialog;
    prepare(dialog, true);
    dialog.keepOpenPressable();
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    const QStringList chosen = dialog.selectedFiles();
    if (chosen.isEmpty())
        return std::nullopt;
    return chosen;
}

std::optional<QString> QtFileDialogs::saveFile()
{
    QFileDialog dialog;
    prepare(dialog, false);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    const QStringList chosen = dialog.selectedFiles();
    if (chosen.isEmpty() || chosen.first().isEmpty())
        return std::nullopt;
    return chosen.first();
}
