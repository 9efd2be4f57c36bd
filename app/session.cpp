#include "app/session.h"

#include "app/form1text.h"
#include "app/keycodes.h"
#include "app/numbers.h"
#include "files/filelist.h"
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
            barlayout::compute(width, count, height, m_settings.controlsHidden());
    m_settings.buttonWidth = layout.buttonWidth;
    m_settings.buttonNum = layout.buttonNum;
    m_settings.buttonHeight = layout.buttonHeight;
    return layout;
}

AppliedProperties Session::applyProperties(const PropertyFields &typed)
{
    const AppliedProperties applied = resolveProperties(typed, m_settings);
    m_settings.winZ = typed.onTop ? 1 : 0;
    m_settings.controlShowFlag = typed.hidden ? 1 : 0;
    return applied;
}

void Session::takeStartSettings(const StartSettings &read)
{
    m_settings = {read.buttonNum, read.buttonHeight, read.buttonWidth, read.winZ,
                  read.controlShowFlag};
}

startini::Encoded Session::startIniContent(double top, double left) const
{
    return startini::encode({m_settings.buttonNum, m_settings.buttonHeight, m_settings.buttonWidth,
                             m_settings.winZ, m_settings.controlShowFlag, top, left, m_dataFileNum,
                             m_paths});
}

PropertyFields Session::propertyFields() const
{
    // The width as set, not as the button shows it in whole pixels: an apply that follows
    // must not round the width to 15 twips.
    return {QString::number(m_settings.buttonWidth), QString::number(m_settings.buttonNum),
            QString::number(m_settings.buttonHeight), m_settings.onTop(), m_settings.controlsHidden()};
}

MenuState Session::menuState(bool onSnippet) const
{
    return {onSnippet, !dataFileName().isEmpty(), m_settings.onTop(), m_settings.controlsHidden(),
            options.clickPaste, !autostart.folder.isEmpty() && autostart::isOn(autostart.folder)};
}

QList<ClipEntry> Session::entries() const
{
    QList<ClipEntry> result;
    const int count = std::min(m_settings.buttonNum, limits::slotCount);
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
    selectFile(m_dataFileNum);
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
    setDataFileName(path);
    m_dataFileNum = m_selected;
}
