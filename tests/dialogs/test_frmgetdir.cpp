// The folder picker: where it opens, which folders OK accepts, the compacted
// label, and the result left in the shared state.

#include "dialogfixture.h"
#include "frmgetdir.h"

#include <QLabel>

using namespace quarvel;
using namespace quarvel::test;

namespace {

using FolderPickerTest = DialogTest;

TEST_F(FolderPickerTest, OpensOnTheDialogFolderOrTheStartFolder)
{
    const QString plans = makeFolder(QStringLiteral("Work/Plans"));
    mState.DialogFolder = plans;
    onModal<FrmGetDir>([&](FrmGetDir &d) {
        EXPECT_EQ(d.currentFolder(), plans);
        click(d, "cmdOK");
    });
    EXPECT_EQ(ShowFolderPicker(mState, QString()), plans);

    const QString lib = makeFolder(QStringLiteral("Lib"));
    onModal<FrmGetDir>([&](FrmGetDir &d) {
        EXPECT_EQ(d.currentFolder(), lib);
        click(d, "CancelButton");
    });
    EXPECT_EQ(ShowFolderPicker(mState, lib), QString());
    EXPECT_EQ(mState.FolderPickerResult, QString());
    EXPECT_EQ(mState.DialogFolder, lib);
}

TEST_F(FolderPickerTest, RootsCannotBeChosenAndLongPathsAreCompacted)
{
    QString relative = QStringLiteral("deep");
    while (path(relative).size() < 70)
        relative += QStringLiteral("/level");
    const QString deep = makeFolder(relative);
    FrmGetDir d(mState);
    EXPECT_TRUE(control(d, "cmdOK")->isEnabled());
    d.selectFolder(QStringLiteral("/"));
    EXPECT_FALSE(control(d, "cmdOK")->isEnabled());
    d.selectFolder(deep);
    EXPECT_TRUE(control(d, "cmdOK")->isEnabled());
    EXPECT_EQ(control<QLabel>(d, "Label1")->toolTip(), deep);
    EXPECT_EQ(control<QLabel>(d, "Label1")->text(), CompactPath(deep, 54));
    EXPECT_TRUE(control<QLabel>(d, "Label1")->text().contains(QStringLiteral("...")));
}

} // namespace
