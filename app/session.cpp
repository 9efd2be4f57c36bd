#include "app/session.h"

#include "app/form1text.h"
#include "app/keycodes.h"
#include "app/numbers.h"
#include "files/filelist.h"
#include "files/filewatch.h"
#include "platform/filesystem.h"

#include <QFileInfo>

namespace {

/** The field's whole number, or `current` (written back into the field) when it holds
    none that fits 16 bits or it is negative. */
int fieldValue(QString &field, int current)
{
    if (const auto value = numbers::parseInt16(field); value && *value >= 0)
        return *value;
    field = QString::number(current);
    return current;
}

} // namespace

AppliedProperties resolveProperties(const PropertyFields &typed, const Settings &inUse)
{
    PropertyFields shown = typed;
    if (shown.width.isEmpty())
        shown.width = QString::number(inUse.buttonWidth);
    if (shown.count.isEmpty())
        shown.count = QString::number(inUse.buttonNum);
    if (shown.height.isEmpty())
        shown.height = QString::number(inUse.buttonHeight);

    if (const auto count = numbers::parseDecimal(shown.count)) {
        if (*count > limits::maxEntries)
            shown.count = QString::number(limits::maxEntries);
        else if (*count < 1)
            shown.count = QString::number(1);
    }

    AppliedProperties applied;
    applied.width = fieldValue(shown.width, inUse.buttonWidth);
    applied.count = fieldValue(shown.count, inUse.buttonNum);
    applied.height = fieldValue(shown.height, inUse.buttonHeight);
    const barlayout::Layout layout =
            barlayout::compute(applied.width, applied.count, applied.height, shown.hidden);
    if (layout.buttonWidth != applied.width)
        shown.width = QString::number(layout.buttonWidth);
    if (layout.buttonHeight != applied.height)
        shown.height = QString::number(layout.buttonHeight);
    applied.shown = shown;
    return applied;
}

KeyCommand keyCommand(int keyCode, int mode)
{
    using Kind = KeyCommand::Kind;
    if (keyCode >= keycodes::digit0 && keyCode <= keycodes::digit9)
        return {Kind::LoadListed, keyCode == keycodes::digit0 ? 10 : keyCode - keycodes::digit0};
    const bool snippet = mode == 1;
    switch (keyCode - keycodes::f1) {
    case 0: return {snippet ? Kind::Rename : Kind::None};
    case 1: return {snippet ? Kind::Edit : Kind::None};
    case 2: return {snippet ? Kind::Display : Kind::None};
    case 3: return {Kind::Kakunin};
    case 4: return {Kind::Reload};
    case 5: return {Kind::ReadFiles};
    case 6: return {Kind::OpenFile};
    case 7: return {Kind::Properties};
    default: return {};
    }
}

QString captionFor(const QString &fileName)
{
    return fileName.size() >= 4 ? fileName.chopped(4) : QString();
}

Session::Session()
{
    setEntries({});
}

Session::~Session() = default;

barlayout::Layout Session::layOut(int width, int count, int height)
{
    const barlayout::Layout layout =
            barlayout::compute(width, count, height, settings.controlsHidden());
    settings.buttonWidth = layout.buttonWidth;
    settings.buttonNum = layout.buttonNum;
    settings.buttonHeight = layout.buttonHeight;
    return layout;
}

AppliedProperties Session::applyProperties(const PropertyFields &typed)
{
    const AppliedProperties applied = resolveProperties(typed, settings);
    settings.winZ = typed.onTop ? 1 : 0;
    settings.controlShowFlag = typed.hidden ? 1 : 0;
    return applied;
}

PropertyFields Session::propertyFields() const
{
    // The width as set, not as the button shows it in whole pixels: an apply that follows
    // must not round the width to 15 twips.
    return {QString::number(settings.buttonWidth), QString::number(settings.buttonNum),
            QString::number(settings.buttonHeight), settings.onTop(), settings.controlsHidden()};
}

MenuState Session::menuState(bool onSnippet) const
{
    return {onSnippet, !dataFileName.isEmpty(), settings.onTop(), settings.controlsHidden(),
            options.clickPaste, !autostart.folder.isEmpty() && autostart::isOn(autostart.folder)};
}

QList<ClipEntry> Session::entries() const
{
    QList<ClipEntry> result;
    const int count = std::min(settings.buttonNum, limits::slotCount);
    for (int i = 0; i < count; ++i)
        result.append({m_captions[i], m_texts[i]});
    return result;
}

void Session::setEntries(const QList<ClipEntry> &entries)
{
    for (int i = 0; i < limits::slotCount; ++i) {
        const bool entry = i < entries.size();
        m_captions[i] = entry ? entries.at(i).caption : form1text::unset;
        m_texts[i] = entry ? entries.at(i).text : QString();
    }
}

void Session::addFile(const QString &name, const QString &path, bool accepted)
{
    m_names.append(name);
    m_paths.append(path);
    if (accepted)
        m_accepted.append(path);
}

void Session::removeSelectedFile()
{
    const int index = m_selected;
    if (index < 0)
        return;
    m_names.removeAt(index);
    m_paths.removeAt(index);
    selectFile(filelist::selectionAfterDelete(index, int(m_names.size())));
}

void Session::restoreFiles()
{
    m_names.clear();
    m_paths.clear();
    for (const filelist::Entry &entry : filelist::restoredEntries(m_accepted))
        addFile(entry.name, entry.path);
    // The selection goes back with the lists: a row clicked and cancelled is no choice.
    selectFile(dataFileNum);
}

QString Session::listedPath(int index, const QString &folder)
{
    const QString listed = m_paths.at(index);
    const QString path = filelist::resolveListedPath(listed, folder);
    if (path != listed) {
        m_names[index] = filesystem::namePart(path);
        m_paths[index] = path;
        if (index < m_accepted.size() && m_accepted.at(index) == listed)
            m_accepted[index] = path;
    }
    return path;
}

void Session::selectFile(int index)
{
    m_selected = index >= 0 && index < m_names.size() ? index : -1;
}

void Session::addCurrentFile(const QString &name, const QString &path)
{
    addFile(name, path, true);
    selectFile(int(m_names.size()) - 1);
    dataFileName = path;
    dataFileNum = m_selected;
}

void Session::setReadFrom(const QString &path, clipfile::Encoding encoding,
                          clipfile::LineEnd lineEnd)
{
    m_readFileName = path;
    m_readEncoding = encoding;
    m_readLineEnd = lineEnd;
}

clipfile::Encoding Session::encodingFor(const QString &path) const
{
    return path == m_readFileName ? m_readEncoding : clipfile::Encoding::ShiftJis;
}

clipfile::LineEnd Session::lineEndFor(const QString &path) const
{
    return path == m_readFileName ? m_readLineEnd : clipfile::LineEnd::CrLf;
}

void Session::setKnown(KnownContent known)
{
    m_known = std::move(known);
    if (m_watch)
        m_watch->setPath(m_known.path);
}

bool Session::holdsContent(const QString &path)
{
    return QFileInfo(path).size() > 0;
}

std::optional<ContentDigest> Session::unseenContent(const QString &target) const
{
    if (target.isEmpty())
        return std::nullopt;
    const clipfile::ReadResult read = clipfile::digest(target);
    // Too large to read is too large to have been seen: asked about, its bytes unread.
    if (read.status == clipfile::ReadResult::Status::TooLarge)
        return ContentDigest{QFileInfo(target).size(), QByteArray()};
    std::optional<ContentDigest> onDisk;
    if (read.status == clipfile::ReadResult::Status::Ok)
        onDisk = read.digest;
    if (!m_known.wouldOverwriteUnseen(target, onDisk))
        return std::nullopt;
    return onDisk;
}

clipfile::WriteResult Session::write(const QString &target)
{
    const clipfile::WriteResult written = clipfile::write(target, entries(), encodingFor(target),
                                                          lineEndFor(target));
    if (written.ok()) {
        const clipfile::ReadResult onDisk = clipfile::digest(target);
        setKnown({target, onDisk.status == clipfile::ReadResult::Status::Ok
                                  ? std::optional(onDisk.digest) : std::nullopt});
    }
    return written;
}

FileWatch &Session::watch()
{
    if (!m_watch) {
        m_watch = std::make_unique<FileWatch>();
        m_watch->setPath(m_known.path);
    }
    return *m_watch;
}
