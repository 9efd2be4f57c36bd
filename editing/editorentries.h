#pragma once

#include "files/clipfile.h"

#include <QList>
#include <QString>

#include <array>

/** The button content editor's working copy of the bar: up to 30 named entries and the
    31 text slots behind them. Slot i holds the text of entry i; every slot at or above the
    entry count is empty, so moving entries never drags a stale text along. */
class EditorEntries final
{
public:
    static constexpr int maxEntries = limits::maxEntries;
    static constexpr int slotCount = limits::slotCount;

    /** Replaces everything with `entries` (the first 30); the other slots become empty. */
    void load(const QList<ClipEntry> &entries);

    int count() const { return int(m_names.size()); }
    bool isFull() const { return count() >= maxEntries; }
    bool isEntry(int index) const { return index >= 0 && index < count(); }

    /** The entry's name; empty for an index that names no entry. */
    QString name(int index) const;
    /** Renames an existing entry; false when `index` names none. */
    bool setName(int index, const QString &name);

    /** The text in slot `slot` (0..30); empty outside. */
    QString text(int slot) const;
    /** Stores a text in slot `slot`; false (nothing stored) outside 0..30. */
    bool setText(int slot, const QString &text);

    /** Adds an entry at the end; false when the editor already holds 30. */
    bool append(const ClipEntry &entry);
    /** Puts an entry at `index` (0..count), moving the later entries down one place with
        their texts; false when full or when `index` is out of range. */
    bool insert(int index, const ClipEntry &entry);
    /** Gives an existing entry a new name and text in its place; false when there is none. */
    bool replace(int index, const ClipEntry &entry);
    /** Removes an entry and moves the later texts up one slot. Returns the entry that should
        be selected afterwards: the one now at `index`, the one before it when the last was
        removed, -1 when the list is empty or `index` named no entry. */
    int remove(int index);
    /** Swaps two entries with their texts; false unless both exist. */
    bool swap(int first, int second);

    bool canMoveUp(int index) const { return isEntry(index) && index > 0; }
    bool canMoveDown(int index) const { return isEntry(index) && index < count() - 1; }

    /** The entries as the main window and the clip data file take them. */
    QList<ClipEntry> entries() const;

private:
    QList<QString> m_names;
    std::array<QString, slotCount> m_texts;
};

/** The editor's text box breaks lines with LF; the clip table, the clipboard and the file
    keep CR LF. */
namespace editortext {

QString toEditor(const QString &text);
QString fromEditor(const QString &text);

} // namespace editortext
