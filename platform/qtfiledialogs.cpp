#include "platform/qtfiledialogs.h"

// Completed with the read-file list; until then every dialog reads as cancelled.
std::optional<QStringList> QtFileDialogs::openFiles()
{
    return std::nullopt;
}

std::optional<QString> QtFileDialogs::saveFile()
{
    return std::nullopt;
}
