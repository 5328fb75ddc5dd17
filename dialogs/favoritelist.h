#pragma once

// The favourite folders and their copy in the settings file (section
// FavoriteFolders, keys "0", "1", ... consecutive, no count key). Every change
// is written at once, so the list on disk always matches the list shown.

#include <QString>
#include <QStringList>

namespace quarvel {

class FavoriteList
{
public:
    static const QString kSection;

    explicit FavoriteList(QString settingsFile) : mFile(std::move(settingsFile)) {}

    // GetFavorites: keys from "0" upward up to the first missing or empty
    // one, so a gap ends the list.
    void load();

    const QStringList &folders() const { return mFolders; }
    int count() const { return int(mFolders.size()); }

    // FolderExist: the 1-based number of the first favourite equal to folder
    // (exactly, letter case included), 0 when there is none.
    int folderExist(const QString &folder) const;

    // AddFolder: appends folder and writes the list unless it is present.
    // Returns the position holding folder, or -1 for an empty folder, which
    // is never stored: its empty key would end the list for every later
    // favourite.
    int add(const QString &folder);

    // Removes the favourite at position (any position, the first included)
    // and writes the list, blanking the key that falls out of use, so the
    // keys stay consecutive. A position outside the list changes nothing.
    void remove(int position);

    // Blanks every stored key and empties the list.
    void removeAll();

    // The name shown for a favourite: the text after its last separator,
    // empty when there is none or the path ends with one ("D:\", "/").
    static QString displayName(const QString &path, char16_t separator);
    static QString displayName(const QString &path);

private:
    // SaveFolders: one write per favourite, key n for position n.
    void save() const;

    QString mFile;
    QStringList mFolders;
};

} // namespace quarvel
