#pragma once

#include <QTest>

#include <initializer_list>

/** A data table's columns, one per type, named in order: `columns<int, QString>({"count", "text"})`. */
template <typename... T>
void columns(std::initializer_list<const char *> names)
{
    auto name = names.begin();
    (QTest::addColumn<T>(*name++), ...);
}

/** The current row's value in `column`, as QFETCH would declare it. */
template <typename T>
const T &fetched(const char *column)
{
    return *static_cast<const T *>(QTest::qData(column, qMetaTypeId<T>()));
}
