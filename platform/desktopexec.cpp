#include "platform/desktopexec.h"

#include <algorithm>

namespace desktopexec {

QString unquoted(const QString &quotedPath)
{
    QString path = quotedPath;
    if (path.startsWith(u'"'))
        path.remove(0, 1);
    if (path.endsWith(u'"'))
        path.chop(1);
    return path;
}

namespace {

bool isFileCode(QChar code)
{
    return code == u'f' || code == u'F' || code == u'u' || code == u'U';
}

} // namespace

QStringList argumentsBeforeFile(const QStringList &words)
{
    QStringList arguments;
    for (qsizetype w = 1; w < words.size(); ++w) {
        const QString &word = words.at(w);
        QString expanded;
        bool fileHere = false;
        for (qsizetype i = 0; i < word.size(); ++i) {
            if (word.at(i) != u'%' || i + 1 == word.size()) {
                expanded.append(word.at(i));
                continue;
            }
            const QChar code = word.at(++i);
            if (code == u'%')
                expanded.append(u'%');
            else if (isFileCode(code))
                fileHere = true;
            // Icon, name and location codes (%i %c %k) and the deprecated ones expand to
            // nothing here.
        }
        if (fileHere)
            break;
        if (!expanded.isEmpty())
            arguments.append(expanded);
    }
    return arguments;
}

QString execWord(const QString &word)
{
    static const QString reserved = QStringLiteral(" \t\n\"'\\><~|&;$*?#()`");
    const bool quote = word.isEmpty()
            || std::any_of(word.begin(), word.end(), [](QChar c) { return reserved.contains(c); });
    QString result;
    for (const QChar c : word) {
        if (quote && (c == u'"' || c == u'`' || c == u'$' || c == u'\\'))
            result.append(u'\\');
        result.append(c);
        if (c == u'%')
            result.append(u'%');
    }
    return quote ? u'"' + result + u'"' : result;
}

QString escapedValue(const QString &value)
{
    QString result;
    for (const QChar c : value) {
        switch (c.unicode()) {
        case u'\\': result.append(QStringLiteral("\\\\")); break;
        case u'\n': result.append(QStringLiteral("\\n")); break;
        case u'\t': result.append(QStringLiteral("\\t")); break;
        case u'\r': result.append(QStringLiteral("\\r")); break;
        default: result.append(c); break;
        }
    }
    return result;
}

} // namespace desktopexec
