#include "editing/editorentries.h"

void EditorEntries::load(const QList<ClipEntry> &entries)
{
    m_names.clear();
    m_texts.fill(QString());
    const int n = std::min(int(entries.size()), maxEntries);
    for (int i = 0; i < n; ++i) {
        m_names.append(entries.at(i).caption);
        m_texts[i] = entries.at(i).text;
    }
}

QString EditorEntries::name(int index) const
{
    return isEntry(index) ? m_names.at(index) : QString();
}

bool EditorEntries::setName(int index, const QString &name)
{
    if (!isEntry(index))
        return false;
    m_names[index] = name;
    return true;
}

QString EditorEntries::text(int slot) const
{
    return slot >= 0 && slot < slotCount ? m_texts[slot] : QString();
}

bool EditorEntries::setText(int slot, const QString &text)
{
    if (slot < 0 || slot >= slotCount)
        return false;
    m_texts[slot] = text;
    return true;
}

bool EditorEntries::append(const ClipEntry &entry)
{
    return insert(count(), entry);
}

bool EditorEntries::insert(int index, const ClipEntry &entry)
{
    if (isFull() || index < 0 || index > count())
        return false;
    for (int k = count(); k > index; --k)
        m_texts[k] = m_texts[k - 1];
    m_names.insert(index, entry.caption);
    m_texts[index] = entry.text;
    return true;
}

bool EditorEntries::replace(int index, const ClipEntry &entry)
{
    if (!isEntry(index))
        return false;
    m_names[index] = entry.caption;
    m_texts[index] = entry.text;
    return true;
}

int EditorEntries::remove(int index)
{
    if (!isEntry(index))
        return -1;
    m_names.removeAt(index);
    for (int j = index; j < slotCount - 1; ++j)
        m_texts[j] = m_texts[j + 1];
    m_texts[slotCount - 1].clear();
    return index < count() ? index : index - 1;
}

bool EditorEntries::swap(int first, int second)
{
    if (!isEntry(first) || !isEntry(second))
        return false;
    m_names.swapItemsAt(first, second);
    std::swap(m_texts[first], m_texts[second]);
    return true;
}

QList<ClipEntry> EditorEntries::entries() const
{
    QList<ClipEntry> result;
    result.reserve(count());
    for (int i = 0; i < count(); ++i)
        result.append({m_names.at(i), m_texts[i]});
    return result;
}

namespace editortext {

QString toEditor(const QString &text)
{
    QString result = text;
    result.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return result;
}

QString fromEditor(const QString &text)
{
    QString result = text;
    result.replace(QStringLiteral("\n"), QStringLiteral("\r\n"));
    return result;
}

} // namespace editortext
