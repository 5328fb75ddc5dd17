// The favourites dialog: a gap in the keys, duplicates exact and in another
// letter case, network folders, removing each row, and Go To.

#include "dialogfixture.h"
#include "frmfav.h"

#include <QLabel>
#include <QTableWidget>

using namespace quarvel;
using namespace quarvel::test;

namespace {

const QString kFavorites = QStringLiteral("FavoriteFolders");

class FavoritesTest : public DialogTest
{
protected:
    std::unique_ptr<FrmFav> dialog()
    {
        auto d = std::make_unique<FrmFav>(mState, mPrompts);
        d->setFolderPicker([this](const QString &start) {
            mOffered << start;
            return mAnswer;
        });
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
    static QStringList column(const FrmFav &d, int c = 1)
    {
        const auto *grid = control<QTableWidget>(d, "flexFav");
        QStringList texts;
        for (int row = 0; row < grid->rowCount(); ++row)
            texts << grid->item(row, c)->text();
        return texts;
    }
    static int currentRow(const FrmFav &d) { return control<QTableWidget>(d, "flexFav")->currentRow(); }
    static QLabel *label(const FrmFav &d) { return control<QLabel>(d, "lblSelFolder"); }

    QString mAnswer;
    QStringList mOffered;
};

TEST_F(FavoritesTest, AGapEndsTheListAndDuplicatesAreExact)
{
    const QStringList folders = store({QStringLiteral("Work"), QStringLiteral("Lib/Doors")});
    setIni(kFavorites, 3, makeFolder(QStringLiteral("X")));
    auto d = dialog();
    EXPECT_EQ(column(*d), folders);
    EXPECT_EQ(column(*d, 0), QStringList({"Work", "Doors"}));
    EXPECT_EQ(currentRow(*d), 0);
    EXPECT_FALSE(control(*d, "cmdGoTo")->isEnabled());

    const QByteArray before = readFile(mState.SettingsFile);
    mAnswer = folders.at(1);
    click(*d, "cmdAdd");
    EXPECT_EQ(mOffered, QStringList({folders.at(0)}));   // from the selected favourite
    EXPECT_EQ(column(*d), folders);
    EXPECT_EQ(currentRow(*d), 1);
    EXPECT_EQ(label(*d)->toolTip(), folders.at(1));
    EXPECT_TRUE(control(*d, "cmdGoTo")->isEnabled());
    EXPECT_EQ(readFile(mState.SettingsFile), before);

    mAnswer = folders.at(1).toUpper();
    click(*d, "cmdAdd");
    EXPECT_EQ(column(*d).size(), 3);
    EXPECT_EQ(currentRow(*d), 2);
    EXPECT_EQ(ini(kFavorites, QStringLiteral("2")), mAnswer);
}

TEST_F(FavoritesTest, NetworkFoldersOnlyAsTheActiveFolder)
{
    const QString share = QStringLiteral("\\\\srv\\share\\plans");
    mState.DialogFolder = share;
    auto d = dialog();
    mAnswer = share;
    mPrompts.expectMessage(PromptIcon::Information, QStringLiteral("Impossible add Folder from Network Encirclement"));
    click(*d, "cmdAdd");
    EXPECT_EQ(mOffered, QStringList({share}));   // no favourites: from the active folder
    EXPECT_EQ(column(*d).size(), 0);
    click(*d, "cmdAddActive");
    EXPECT_EQ(column(*d), QStringList({share}));
    EXPECT_FALSE(control(*d, "cmdAddActive")->isEnabled());

    // An empty active folder is never added: its empty key would end the
    // list and lose every favourite added after it.
    mState.DialogFolder.clear();
    auto none = dialog();
    EXPECT_FALSE(control(*none, "cmdAddActive")->isEnabled());
    none->addActiveFolder();
    EXPECT_EQ(column(*none).size(), 1);
}

TEST_F(FavoritesTest, RemoveFolderRemovesTheSelectedRowWhicheverItIs)
{
    for (int row = 0; row < 3; ++row) {
        QStringList folders = store({QStringLiteral("One"), QStringLiteral("Two"), QStringLiteral("Three")});
        auto d = dialog();
        d->clickRow(row);
        click(*d, "cmdDelete");
        folders.removeAt(row);
        EXPECT_EQ(column(*d), folders) << row;
        EXPECT_EQ(label(*d)->text(), QString());
        EXPECT_FALSE(control(*d, "cmdDelete")->isEnabled());
        EXPECT_EQ(ini(kFavorites, QStringLiteral("2")), QString());
        EXPECT_EQ(column(*dialog()), folders) << row;
    }
    auto two = dialog();
    two->clickRow(0);
    click(*two, "cmdDelete");
    two->clickRow(0);
    click(*two, "cmdDelete");
    EXPECT_EQ(column(*dialog()).size(), 0);

    store({QStringLiteral("One"), QStringLiteral("Two")});
    click(*dialog(), "vmdRemoveAll");
    EXPECT_EQ(ini(kFavorites, QStringLiteral("1")), QString());
    EXPECT_EQ(column(*dialog()).size(), 0);
}

TEST_F(FavoritesTest, GoTo)
{
    const QStringList folders = store({QStringLiteral("One"), QStringLiteral("Gone"), QStringLiteral("Three")});
    QDir(folders.at(1)).removeRecursively();
    auto d = dialog();
    d->clickRow(1);
    mPrompts.expectMessage(PromptIcon::Critical, QStringLiteral("Directory %1 is not found").arg(folders.at(1)));
    click(*d, "cmdGoTo");
    EXPECT_TRUE(d->isVisible());
    EXPECT_EQ(column(*d), folders);

    onModal<FrmFav>([](FrmFav &f) {
        f.clickRow(2);
        click(f, "cmdGoTo");
    });
    EXPECT_EQ(ShowFavorites(mState, mPrompts), folders.at(2));
    onModal<FrmFav>([](FrmFav &f) { click(f, "cmdClose"); });
    EXPECT_EQ(ShowFavorites(mState, mPrompts), QString());
}

} // namespace
