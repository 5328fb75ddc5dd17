#include "recentfolders.h"

#include "inifile.h"

namespace quarvel {

const QString RecentFolders::kSection = QStringLiteral("LastOpenFolders");

void RecentFolders::load(const QString &settingsFile)
{
    mEntries.clear();
    mSelected = -1;
    for (int key = 0; key < kMaxEntries; ++key) {
        const QString folder = ReadIniString(settingsFile, kSection, QString::number(key));
        if (folder.size() > 1) {
            mEntries.prepend(folder);
            mSelected = 0;
        }
    }
}

int RecentFolders::choose(const QString &folder)
{
    const qsizetype found = mEntries.indexOf(folder);
    if (found >= 0) {
        mSelected = int(found);
        return mSelected;
    }
    mEntries.prepend(folder);
    mSelected = 0;
    if (mEntries.size() >= kMaxEntries)
        mEntries.removeLast();
    return mSelected;
}

void RecentFolders::write(const QString &settingsFile) const
{
    for (int position = 0; position < mEntries.size(); ++position)
        WriteIniString(settingsFile, kSection, QString::number(position), mEntries.at(position));
}

void RecentFolders::select(int position)
{
    if (position >= 0 && position < mEntries.size())
        mSelected = position;
}

} // namespace quarvel
