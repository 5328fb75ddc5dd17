#pragma once

// The recent folders of a folder box, newest at the top, and their copy in
// the settings file (section LastOpenFolders, keys "0" to "15"). The file
// dialog and the new-library builder keep their folder boxes with it.

#include <QString>
#include <QStringList>

namespace quarvel {

class RecentFolders
{
public:
    static constexpr int kMaxEntries = 16;
    static const QString kSection;

    // Reads keys "0" to "15" in this order and puts each value longer than
    // one character on top, selecting it. Nothing is merged or dropped while
    // loading, so the box lists the values in descending key order with the
    // highest key selected.
    void load(const QString &settingsFile);

    // The recent-folder rule: an entry equal to folder (exactly, letter case
    // included) is selected; otherwise folder goes on top and is selected,
    // and a box then holding kMaxEntries or more loses its last entry (one
    // only). Returns the position selected.
    int choose(const QString &folder);

    // Writes every entry under its position, from the top; keys beyond the
    // list keep what they held.
    void write(const QString &settingsFile) const;

    const QStringList &entries() const { return mEntries; }
    int selected() const { return mSelected; }
    // An entry picked by the user; a position outside the list is ignored.
    void select(int position);

private:
    QStringList mEntries;
    int mSelected = -1;
};

} // namespace quarvel
