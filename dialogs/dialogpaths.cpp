#include "dialogpaths.h"

#include <QDir>
#include <QFileInfo>

namespace quarvel {

QString GetUpDir(const QString &p, const PathForm &form)
{
    const qsizetype last = p.lastIndexOf(form.separator);
    if (last < 0)
        return p;
    // The separator that ends a root is kept: "X:\" on Windows, the leading
    // "/" elsewhere.
    const bool endsRoot = form.rootLength == 1 ? last == 0 : last > 0 && p.at(last - 1) == u':';
    return endsRoot ? p.left(last + 1) : p.left(last);
}

QString GetUpDir(const QString &p)
{
    return GetUpDir(p, nativePaths());
}

bool canChooseFolder(const QString &p, const PathForm &form)
{
    if (p.endsWith(form.separator) || !p.contains(form.separator))
        return false;
    if (form.separator == u'\\' && p.startsWith(QStringLiteral("\\\\"))) {
        // "\\server\share" names a share, not a folder in it.
        const qsizetype shareStart = p.indexOf(u'\\', 2);
        if (p.indexOf(u'\\', shareStart + 1) < 0)
            return false;
    }
    return true;
}

bool canChooseFolder(const QString &p)
{
    return canChooseFolder(p, nativePaths());
}

bool isNetworkPath(const QString &p)
{
    return p.startsWith(QStringLiteral("\\\\"));
}

bool hasForbiddenNameCharacter(const QString &name)
{
    static const QString forbidden = QStringLiteral("/\\:*?\"<>|");
    for (const QChar c : name) {
        if (forbidden.contains(c))
            return true;
    }
    return false;
}

QString chosenFilePath(const QString &folder, const QString &typed, const QString &defaultExtension,
                       const QString &picked)
{
    const QString pickedPath = QDir::toNativeSeparators(picked);
    if (!pickedPath.isEmpty() && GetShotName(pickedPath) == typed && FolderOfPath(pickedPath) == folder
        && pickedPath.endsWith(defaultExtension, Qt::CaseInsensitive) && !QFileInfo(pickedPath).isDir())
        return pickedPath;
    const QString name = typed.endsWith(defaultExtension, Qt::CaseInsensitive) ? typed : typed + defaultExtension;
    const QString path = JoinPath(folder, name);
    const QFileInfo info(path);
#ifdef Q_OS_WIN
    // The file system ignores case: a typed "plan.SLB" is the stored
    // "plan.slb", and the name is shown as it is stored.
    if (info.isFile()) {
        const QString stored = NameOfPath(GetLongPath(path));
        return stored.isEmpty() ? path : JoinPath(folder, stored);
    }
#endif
    if (info.exists())
        return path;
    // Every spelling of the extension's letters: 8 lookups for ".slb", no
    // listing of a folder that may hold thousands of files.
    const QString stem = path.chopped(defaultExtension.size());
    const QString extension = defaultExtension.toLower();
    QList<int> letters;
    for (int i = 0; i < extension.size(); ++i) {
        if (extension.at(i).toUpper() != extension.at(i))
            letters << i;
    }
    for (int mask = 0; mask < (1 << letters.size()); ++mask) {
        QString spelt = extension;
        for (int bit = 0; bit < letters.size(); ++bit) {
            if (mask & (1 << bit))
                spelt[letters[bit]] = spelt.at(letters[bit]).toUpper();
        }
        const QFileInfo candidate(stem + spelt);
        if (candidate.isFile())
            return stem + spelt;
    }
    return path;
}

FolderFailure whyFolderNotCreated(const QString &folder, QString *parent)
{
    const QFileInfo info(folder);
    const QString above = QDir::toNativeSeparators(info.absolutePath());
    if (parent)
        *parent = above;
    if (info.exists() && !info.isDir())
        return FolderFailure::FileInTheWay;
    const QFileInfo aboveInfo(above);
    if (aboveInfo.isDir() && !aboveInfo.isWritable())
        return FolderFailure::NoPermission;
    return FolderFailure::Refused;
}

} // namespace quarvel
