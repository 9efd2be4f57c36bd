#include "platform/qtfiledialogs.h"

#include <QApplication>
#include <QFileDialog>

namespace {

const QString kAllFiles = QStringLiteral("すべてのファイル (*.*)");
const QString kClipFiles = QStringLiteral("ｸﾘｯﾌﾟﾃﾞｰﾀﾌｧｲﾙ (*.cdt)");

/** The shared set-up: both filters, clip data files preselected, no overwrite question,
    no default extension. Qt's own dialog rather than the desktop's, so that it behaves
    the same everywhere and can be driven from the keyboard in tests. */
void prepare(QFileDialog &dialog)
{
    dialog.setOption(QFileDialog::DontUseNativeDialog, true);
    dialog.setOption(QFileDialog::DontConfirmOverwrite, true);
    dialog.setNameFilters({kAllFiles, kClipFiles});
    dialog.selectNameFilter(kClipFiles);
    dialog.setDefaultSuffix(QString());
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
    prepare(dialog);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFiles);
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
    prepare(dialog);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    const QStringList chosen = dialog.selectedFiles();
    if (chosen.isEmpty() || chosen.first().isEmpty())
        return std::nullopt;
    return chosen.first();
}
