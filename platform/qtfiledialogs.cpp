#include "platform/qtfiledialogs.h"

#include "platform/qtfiledialogstext.h"

#include <QApplication>
#include <QFileDialog>

namespace {

using namespace qtfiledialogstext;

/** The shared set-up: both filters, clip data files preselected, no overwrite question,
    no default extension. Qt's own dialog rather than the desktop's, so that it behaves
    the same everywhere and can be driven from the keyboard in tests. */
void prepare(QFileDialog &dialog, QFileDialog::AcceptMode mode)
{
    dialog.setOption(QFileDialog::DontUseNativeDialog, true);
    dialog.setOption(QFileDialog::DontConfirmOverwrite, true);
    const bool opening = mode == QFileDialog::AcceptOpen;
    dialog.setAcceptMode(mode);
    dialog.setFileMode(opening ? QFileDialog::ExistingFiles : QFileDialog::AnyFile);
    dialog.setNameFilters({allFiles, clipFiles});
    dialog.selectNameFilter(clipFiles);
    dialog.setDefaultSuffix(QString());
    // The captions after the modes: setting a mode puts Qt's own back.
    dialog.setWindowTitle(opening ? openTitle : saveTitle);
    dialog.setLabelText(QFileDialog::LookIn, lookIn);
    dialog.setLabelText(QFileDialog::FileName, fileName);
    dialog.setLabelText(QFileDialog::FileType, fileType);
    dialog.setLabelText(QFileDialog::Accept, opening ? open : save);
    dialog.setLabelText(QFileDialog::Reject, cancel);
    dialog.setWindowModality(Qt::ApplicationModal);
    // When the program's windows are kept on top, a dialog below them could not be seen.
    if (const QWidget *active = QApplication::activeWindow();
        active && active->windowFlags().testFlag(Qt::WindowStaysOnTopHint))
        dialog.setWindowFlag(Qt::WindowStaysOnTopHint, true);
}

} // namespace

std::optional<QStringList> QtFileDialogs::openFiles()
{
    QFileDialog dialog;
    prepare(dialog, QFileDialog::AcceptOpen);
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
    prepare(dialog, QFileDialog::AcceptSave);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    const QStringList chosen = dialog.selectedFiles();
    if (chosen.isEmpty() || chosen.first().isEmpty())
        return std::nullopt;
    return chosen.first();
}
