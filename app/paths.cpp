#include "paths.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

#include <algorithm>
#include <cmath>

#ifdef Q_OS_WIN
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
#endif

namespace quarvel {

PathForm nativePaths()
{
#ifdef Q_OS_WIN
    return kWindowsPaths;
#else
    return kLinuxPaths;
#endif
}

namespace {

// A path as this system writes it. Windows takes "/" as well as "\" (Qt,
// dropped files and typed paths give either); the rules here split at "\".
QString nativeForm(const QString &path)
{
#ifdef Q_OS_WIN
    return QDir::toNativeSeparators(path);
#else
    return path;
#endif
}

} // namespace

QString FolderOfPath(const QString &path, char16_t separator)
{
    const qsizetype cut = path.lastIndexOf(separator);
    return cut < 0 ? QString() : path.left(cut);
}

QString NameOfPath(const QString &path, char16_t separator)
{
    const qsizetype cut = path.lastIndexOf(separator);
    return cut < 0 ? QString() : path.mid(cut + 1);
}

QString FolderOfPath(const QString &path)
{
    return FolderOfPath(nativeForm(path), nativePaths().separator);
}

QString NameOfPath(const QString &path)
{
    return NameOfPath(nativeForm(path), nativePaths().separator);
}

QString JoinPath(const QString &folder, const QString &name, char16_t separator)
{
    return folder.endsWith(separator) ? folder + name : folder + separator + name;
}

QString JoinPath(const QString &folder, const QString &name)
{
    return JoinPath(nativeForm(folder), name, nativePaths().separator);
}

QString GetShotName(const QString &path, char16_t separator)
{
    const QString name = NameOfPath(path, separator);
    return name.size() < 4 ? QString() : name.chopped(4);
}

QString GetShotName(const QString &path)
{
    return GetShotName(nativeForm(path), nativePaths().separator);
}

FileKind fileKindOf(const QString &path)
{
    const QString tail = path.right(3).toUpper();
    if (tail == u"SLB")
        return FileKind::Library;
    if (tail == u"SLD")
        return FileKind::Slide;
    if (tail == u"WMF")
        return FileKind::Metafile;
    return FileKind::Other;
}

ListItem listItemKind(const QString &path, bool isFolder)
{
    if (isFolder)
        return ListItem::Folder;
    if (fileKindOf(path) == FileKind::Metafile)
        return ListItem::Metafile;
    if (path.size() >= 4 && path.at(path.size() - 4) == u'.')
        return ListItem::SlideFile;
    return ListItem::NoExtension;
}

ListItem listItemKind(const QString &path)
{
    return listItemKind(path, QFileInfo(path).isDir());
}

QString CompactPath(const QString &text, int limit, char16_t separator)
{
    if (text.size() <= limit)
        return text;
    // Half of the limit rounded to even on a tie, as integer conversion does
    // in the classic runtime; never below zero for tiny limits.
    const int keep = std::max(0, int(std::lrint(limit / 2.0)) - 2);
    const qsizetype head = text.left(keep).lastIndexOf(separator) + 1;
    const QString last = text.right(keep);
    const qsizetype tailStart = last.indexOf(separator);
    return text.left(head) + QStringLiteral("...") + (tailStart < 0 ? last : last.mid(tailStart));
}

QString CompactPath(const QString &text, int limit)
{
    return CompactPath(text, limit, nativePaths().separator);
}

bool matchesWildcard(const QString &name, const QString &pattern, Qt::CaseSensitivity cs)
{
    QString expression;
    for (const QChar c : pattern) {
        if (c == u'*')
            expression += u".*";
        else if (c == u'?')
            expression += u'.';
        else
            expression += QRegularExpression::escape(QString(c));
    }
    QRegularExpression::PatternOptions options = QRegularExpression::DotMatchesEverythingOption;
    if (cs == Qt::CaseInsensitive)
        options |= QRegularExpression::CaseInsensitiveOption;
    if (QRegularExpression(QRegularExpression::anchoredPattern(expression), options)
            .match(name)
            .hasMatch())
        return true;
    // "name.*" also finds "name": the directory lookup treats a missing
    // extension as an empty one.
    return pattern.endsWith(u".*") && matchesWildcard(name, pattern.chopped(2), cs);
}

int rootLengthOf(const QString &path, const PathForm &form)
{
    if (form.separator == u'\\' && path.startsWith(QStringLiteral("\\\\"))) {
        const qsizetype share = path.indexOf(u'\\', 2);
        const qsizetype end = share < 0 ? -1 : path.indexOf(u'\\', share + 1);
        return int(end < 0 ? path.size() : end + 1);
    }
    return form.rootLength;
}

QString GetLongPath(const QString &path, const PathForm &form, const StoredNameLookup &storedName)
{
    if (path.isEmpty())
        return {};
    QString p = path;
    if (p.endsWith(form.separator))
        p.chop(1);
    p += form.separator;
    const int rootLength = rootLengthOf(p, form);
    QString result;
    for (qsizetype pos = p.indexOf(form.separator, rootLength); pos >= 0;
         pos = p.indexOf(form.separator, pos + 1)) {
        const std::optional<QString> name = storedName(p.left(pos));
        if (!name)
            return {};
        result += form.separator + *name;
    }
    if (result.isEmpty())
        return p.left(rootLength);
    return p.left(rootLength - 1) + result;
}

QString GetLongPath(const QString &path)
{
    if (path.isEmpty())
        return {};
#ifdef Q_OS_WIN
    // Windows itself folds "." and ".." by text; empty components name
    // nothing, and a search for "X\." would give the name ".". A path from
    // the root ("\plans") is on the current drive.
    const QString absolute = QDir::toNativeSeparators(QDir::cleanPath(QFileInfo(path).absoluteFilePath()));
#else
    QString absolute = QDir::isAbsolutePath(path) ? path : QDir::currentPath() + u'/' + path;
    // "." and empty components name nothing; ".." is kept, since folding it
    // away by text would be wrong behind a symbolic link.
    QStringList parts = absolute.split(u'/', Qt::SkipEmptyParts);
    parts.removeAll(QStringLiteral("."));
    absolute = u'/' + parts.join(u'/');
#endif
    return GetLongPath(absolute, nativePaths(), [](const QString &prefix) -> std::optional<QString> {
#ifdef Q_OS_WIN
        // The name as the folder stores it, found whatever case was typed
        // (and for a short 8.3 name, its long one).
        WIN32_FIND_DATAW found;
        const HANDLE search = FindFirstFileW(reinterpret_cast<const wchar_t *>(prefix.utf16()), &found);
        if (search == INVALID_HANDLE_VALUE)
            return std::nullopt;
        FindClose(search);
        return QString::fromWCharArray(found.cFileName);
#else
        const QFileInfo info(prefix);
        if (info.exists() || info.isSymLink())
            return info.fileName();
        return std::nullopt;
#endif
    });
}

bool MakeFolderPath(const QString &path, const PathForm &form,
                    const std::function<bool(const QString &)> &exists,
                    const std::function<bool(const QString &)> &create)
{
    QString p = path;
    if (!p.endsWith(form.separator))
        p += form.separator;
    qsizetype from = rootLengthOf(p, form);
    while (!exists(p)) {
        const qsizetype pos = p.indexOf(form.separator, from);
        // Every folder along the path is there and p still is not: the last
        // creation did not take. Stop rather than search forever.
        if (pos < 0)
            return false;
        if (!exists(p.left(pos + 1)) && !create(p.left(pos)))
            return false;
        from = pos + 1;
    }
    return true;
}

bool MakeFolderPath(const QString &path, QString *error)
{
    const QString native = nativeForm(path);
    QString failed = native;
    const bool made = MakeFolderPath(native, nativePaths(), FolderExists, [&](const QString &folder) {
        failed = folder;
        return QDir().mkdir(folder);
    });
    if (!made && error)
        *error = failed;
    return made;
}

bool FileExists(const QString &path)
{
    QString p = nativeForm(path);
    if (p.endsWith(nativePaths().separator))
        p.chop(1);
    if (p.isEmpty())
        return false;
    // Only regular files are opened: opening a pipe or a device to test it
    // could block or have effects.
    if (!QFileInfo(p).isFile())
        return false;
    QFile file(p);
    return file.open(QIODevice::ReadOnly);
}

bool FolderExists(const QString &givenPath)
{
    const QString path = nativeForm(givenPath);
    const char16_t separator = nativePaths().separator;
    QString folder;
    QString pattern;
    if (path.isEmpty() || path.endsWith(separator)) {
        folder = path.isEmpty() ? QStringLiteral(".") : path;
        pattern = QStringLiteral("*");
    } else {
        const qsizetype cut = path.lastIndexOf(separator);
        folder = cut < 0 ? QStringLiteral(".") : path.left(cut + 1);
        pattern = path.mid(cut + 1);
    }
    if (!pattern.contains(u'*') && !pattern.contains(u'?')) {
        const QFileInfo info(path);
        return info.exists() || info.isSymLink();
    }
    const QDir dir(folder);
    if (!dir.exists())
        return false;
#ifdef Q_OS_WIN
    const Qt::CaseSensitivity cs = Qt::CaseInsensitive;
#else
    const Qt::CaseSensitivity cs = Qt::CaseSensitive;
#endif
    // "." and ".." are entries too, so a pattern like "*" finds an empty
    // folder, as a directory lookup does.
    const QStringList entries =
        dir.entryList(QDir::AllEntries | QDir::Hidden | QDir::System, QDir::Unsorted);
    return std::any_of(entries.cbegin(), entries.cend(),
                       [&](const QString &entry) { return matchesWildcard(entry, pattern, cs); });
}

bool IsExistingFolder(const QString &path)
{
    return FolderExists(path) && QFileInfo(path).isDir();
}

} // namespace quarvel
