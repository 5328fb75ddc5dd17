#include "favoritelist.h"

#include "inifile.h"
#include "paths.h"

namespace quarvel {

const QString FavoriteList::kSection = QStringLiteral("FavoriteFolders");

void FavoriteList::load()
{
    mFolders.clear();
    for (int key = 0;; ++key) {
        const QString folder = ReadIniString(mFile, kSection, QString::number(key));
        if (folder.isEmpty())
            break;
        mFolders << folder;
    }
}

int FavoriteList::folderExist(const QString &folder) const
{
    return int(mFolders.indexOf(folder)) + 1;
}

int FavoriteList::add(const QString &folder)
{
    if (folder.isEmpty())
        return -1;
    if (folderExist(folder) == 0) {
        mFolders << folder;
        save();
    }
    return folderExist(folder) - 1;
}

void FavoriteList::remove(int position)
{
    if (position < 0 || position >= count())
        return;
    WriteIniString(mFile, kSection, QString::number(count() - 1), QString());
    mFolders.removeAt(position);
    save();
}

void FavoriteList::removeAll()
{
    for (int key = 0; key < count(); ++key)
        WriteIniString(mFile, kSection, QString::number(key), QString());
    mFolders.clear();
}

QString FavoriteList::displayName(const QString &path, char16_t separator)
{
    return NameOfPath(path, separator);
}

QString FavoriteList::displayName(const QString &path)
{
    return displayName(path, nativePaths().separator);
}

void FavoriteList::save() const
{
    for (int key = 0; key < count(); ++key)
        WriteIniString(mFile, kSection, QString::number(key), mFolders.at(key));
}

} // namespace quarvel
