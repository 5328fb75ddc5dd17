// The favourites dialog: a gap in the keys, duplicates exact and in another
// letter case, removing each row, and Go To on a deleted folder.

#include "dialogfixture.h"
#include "frmfav.h"

#include <QLabel>
#include <QTableWidget>

using namespace quarvel;
using namespace quarvel::test;

namespace {

const QString kFavorites = u"FavoriteFolders"_qs;

class FavoritesTest : public DialogTest
{
protected:
    std::unique_ptr<FrmFav> dialog()
    {
        auto d = std::make_unique<FrmFav>(mState, mPrompts);
        d->setFolderPicker([this](const QString &) { return mAnswer; });
        d->show();
        return d;
    }
    QStringList store(const QStringList &names)
    {
        QStringList folders;
        for (const QString &name : names) {
            folders << makeFolder(name);
            setIni(kFavorites, int(folders.size()) - 1, folders.last());
        }
        return folders;
    }
    static QStringList folders(const FrmFav &d)
    {
        const auto *grid = control<QTableWidget>(d, "flexFav");
        QStringList texts;
        for (int row = 0; row < grid->rowCount(); ++row)
            texts << grid->item(row, 1)->text();
        return texts;
    }
    static int currentRow(const FrmFav &d) { return control<QTableWidget>(d, "flexFav")->currentRow(); }

    QString mAnswer;
};

TEST_F(FavoritesTest, AGapEndsTheListAndDuplicatesAreExact)
{
    const QStringList stored = store({u"Work"_qs, u"Lib/Doors"_qs});
    setIni(kFavorites, 3, makeFolder(u"X"_qs));
    auto d = dialog();
    EXPECT_EQ(folders(*d), stored);

    // An exact duplicate is only selected; one differing in case is added.
    mAnswer = stored.at(1);
    click(*d, "cmdAdd");
    EXPECT_EQ(folders(*d), stored);
    EXPECT_EQ(currentRow(*d), 1);
    mAnswer = stored.at(1).toUpper();
    click(*d, "cmdAdd");
    EXPECT_EQ(currentRow(*d), 2);
    EXPECT_EQ(ini(kFavorites, 2), mAnswer);
}

// The row that takes the removed one's place is shown selected and named,
// so Go To and Remove work on it; the keys stay consecutive, and the only
// favourite removed leaves an empty list.
TEST_F(FavoritesTest, RemoveFolderRemovesTheSelectedRowWhicheverItIs)
{
    for (int row = 0; row < 3; ++row) {
        QStringList stored = store({u"One"_qs, u"Two"_qs, u"Three"_qs});
        auto d = dialog();
        d->clickRow(row);
        click(*d, "cmdDelete");
        stored.removeAt(row);
        EXPECT_EQ(folders(*d), stored) << row;
        EXPECT_EQ(control<QLabel>(*d, "lblSelFolder")->toolTip(), stored.at(std::min(row, 1)));
        EXPECT_TRUE(control(*d, "cmdGoTo")->isEnabled());
        EXPECT_EQ(ini(kFavorites, 2), QString());
        EXPECT_EQ(folders(*dialog()), stored) << row;
    }
    auto two = dialog();   // the last two, one after the other
    for (int i = 0; i < 2; ++i) {
        two->clickRow(0);
        click(*two, "cmdDelete");
    }
    EXPECT_EQ(folders(*dialog()), QStringList());
    EXPECT_EQ(ini(kFavorites, 0), QString());
    EXPECT_FALSE(control(*two, "cmdGoTo")->isEnabled());
}

// The active folder is the main window's, whatever the folder picker of Add
// Folder chose meanwhile; the first row, shown selected, is the one Go To
// takes.
TEST_F(FavoritesTest, AddActiveFolderAddsTheMainWindowsFolder)
{
    const QStringList stored = store({u"One"_qs});
    mState.DialogFolder = makeFolder(u"Active"_qs);
    auto d = dialog();
    d->setFolderPicker([this](const QString &) { return mState.DialogFolder = makeFolder(u"Picked"_qs); });
    click(*d, "cmdAdd");
    click(*d, "cmdAddActive");
    EXPECT_EQ(folders(*d), QStringList({stored.at(0), path(u"Picked"_qs), path(u"Active"_qs)}));
    auto again = dialog();
    click(*again, "cmdGoTo");
    EXPECT_EQ(mState.FavoriteResult, stored.at(0));
}

TEST_F(FavoritesTest, GoToADeletedFolderKeepsTheDialog)
{
    const QStringList stored = store({u"One"_qs, u"Gone"_qs});
    QDir(stored.at(1)).removeRecursively();
    auto d = dialog();
    d->clickRow(1);
    mPrompts.expectMessage(PromptIcon::Critical, QString("Directory %1 is not found").arg(stored.at(1)));
    click(*d, "cmdGoTo");
    EXPECT_TRUE(d->isVisible());
    EXPECT_EQ(folders(*d), stored);
}

} // namespace
