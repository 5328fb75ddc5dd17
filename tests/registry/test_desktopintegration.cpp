// The Linux desktop side of the association: the desktop entry, the MIME
// types and the default applications, written into temporary user folders
// and taken away again without disturbing anything else there.

#include "desktopintegration.h"
#include "mdlregfunctions.h"
#include "memoryregistrystore.h"
#include "testdata.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace quarvel;

namespace {

// Points the user's data and configuration folders at a temporary folder.
class DesktopTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
#ifdef Q_OS_WIN
        GTEST_SKIP() << "the desktop files and MIME types of Linux";
#endif
        ASSERT_TRUE(mDir.isValid());
        qputenv("XDG_DATA_HOME", mDir.filePath("data").toUtf8());
        qputenv("XDG_CONFIG_HOME", mDir.filePath("config").toUtf8());
    }
    // Nothing else in this program reads these folders; unset, they cannot
    // point later tests at a removed folder.
    void TearDown() override
    {
        qunsetenv("XDG_DATA_HOME");
        qunsetenv("XDG_CONFIG_HOME");
    }

    QString data(const QString &sub) const { return mDir.filePath("data/" + sub); }
    QString mimeApps() const { return mDir.filePath("config/mimeapps.list"); }
    QString entry() const { return data("applications/quarvel.desktop"); }

    // Records the cache tools instead of running them.
    DesktopIntegration recording(const QString &program = "/opt/quarvel/quarvel")
    {
        return DesktopIntegration(program, [this](const QString &tool, const QStringList &args) {
            mToolRuns << tool + u' ' + args.join(u' ');
        });
    }

    QTemporaryDir mDir;
    QStringList mToolRuns;
};

TEST_F(DesktopTest, AssociatingInstallsTheEntryTheTypesAndTheDefaults)
{
    DesktopIntegration desktop = recording();
    ASSERT_TRUE(desktop.associate(kSlideMimeType));
    ASSERT_TRUE(desktop.associate(kLibraryMimeType));

    const QStringList lines = QString::fromUtf8(test::readFile(entry())).split(u'\n');
    EXPECT_EQ(lines.first(), "[Desktop Entry]");
    for (const char *line : {"Type=Application", "Exec=/opt/quarvel/quarvel %f", "TryExec=/opt/quarvel/quarvel",
                             "MimeType=image/vnd.sld;image/x-sld;application/x-autocad-slide;"
                             "application/x-autocad-slide-library;"})
        EXPECT_TRUE(lines.contains(line)) << line;

    const QByteArray mime = test::readFile(data("mime/packages/quarvel.xml"));
    for (const char *part : {"<mime-type type=\"image/vnd.sld\">", "<alias type=\"application/x-autocad-slide\"/>",
                             "<glob pattern=\"*.sld\" case-sensitive=\"false\"/>",
                             "<mime-type type=\"application/x-autocad-slide-library\">",
                             "<glob pattern=\"*.slb\" case-sensitive=\"false\"/>"})
        EXPECT_TRUE(mime.contains(part)) << part;

    EXPECT_EQ(test::readFile(mimeApps()), "[Default Applications]\n"
                                          "image/vnd.sld=quarvel.desktop\n"
                                          "application/x-autocad-slide-library=quarvel.desktop\n");
    // The caches are rebuilt once; the second extension changed no file.
    EXPECT_EQ(mToolRuns, QStringList({"update-mime-database " + data("mime"),
                                      "update-desktop-database " + data("applications")}));

    // Moving the program rewrites the entry.
    mToolRuns.clear();
    recording("/opt/new/quarvel").associate(kSlideMimeType);
    EXPECT_TRUE(test::readFile(entry()).contains("Exec=/opt/new/quarvel %f"));
    EXPECT_EQ(mToolRuns, QStringList({"update-desktop-database " + data("applications")}));
}

TEST_F(DesktopTest, RemovalTakesEverythingAwayAndLeavesTheUsersOtherChoices)
{
    const QByteArray before = "# my associations\n"
                              "[Added Associations]\n"
                              "application/x-autocad-slide=viewer.desktop;\n\n"
                              "[Default Applications]\n"
                              "text/plain=editor.desktop\n"
                              "application/x-autocad-slide=viewer.desktop\n\n"
                              "[Removed Associations]\n"
                              "image/png=quarvel.desktop;\n";
    ASSERT_TRUE(QDir().mkpath(mDir.filePath("config")));
    ASSERT_TRUE(test::writeFile(mimeApps(), before));
    DesktopIntegration desktop = recording();
    desktop.associate(kSlideMimeType);
    desktop.associate(kLibraryMimeType);
    // The viewer chosen under the slides' old name comes after the program too.
    EXPECT_TRUE(test::readFile(mimeApps()).contains("application/x-autocad-slide=quarvel.desktop;viewer.desktop\n"));
    EXPECT_TRUE(test::readFile(mimeApps()).contains("image/vnd.sld=quarvel.desktop\n"));

    mToolRuns.clear();
    ASSERT_TRUE(desktop.remove());
    EXPECT_EQ(test::readFile(mimeApps()), before);
    EXPECT_FALSE(QFileInfo::exists(entry()));
    EXPECT_FALSE(QFileInfo::exists(data("mime/packages/quarvel.xml")));
    EXPECT_EQ(mToolRuns.size(), 2);

    // Nothing left to take away: no file is touched, no cache rebuilt.
    mToolRuns.clear();
    ASSERT_TRUE(desktop.remove());
    EXPECT_EQ(test::readFile(mimeApps()), before);
    EXPECT_TRUE(mToolRuns.isEmpty());

    // The default an earlier version made under the old name goes too.
    ASSERT_TRUE(test::writeFile(mimeApps(), "[Default Applications]\napplication/x-autocad-slide=quarvel.desktop\n"));
    ASSERT_TRUE(desktop.remove());
    EXPECT_FALSE(QFileInfo::exists(mimeApps()));
}

TEST_F(DesktopTest, TheRegistryFunctionsKeepTheDesktopInStep)
{
    MemoryRegistryStore store;
    DesktopIntegration desktop = recording();
    mdlRegFunctions reg(store, "/opt/quarvel/quarvel", &desktop);
    reg.AssociateSld();
    reg.AssociateSlb();
    EXPECT_TRUE(reg.IsAssociated());
    EXPECT_TRUE(QFileInfo::exists(entry()));
    EXPECT_TRUE(test::readFile(mimeApps()).contains("application/x-autocad-slide-library=quarvel.desktop"));
    reg.RemoveAssociation();
    EXPECT_FALSE(QFileInfo::exists(entry()));
    EXPECT_FALSE(QFileInfo::exists(mimeApps())) << "a list that only the association made goes with it";
}

TEST_F(DesktopTest, TheRealMimeDatabaseAcceptsTheTypes)
{
    if (QStandardPaths::findExecutable("update-mime-database").isEmpty())
        GTEST_SKIP() << "update-mime-database is not installed";
    DesktopIntegration("/opt/quarvel/quarvel").associate(kSlideMimeType);
    EXPECT_TRUE(QFileInfo::exists(data("mime/image/vnd.sld.xml")));
    EXPECT_TRUE(QFileInfo::exists(data("mime/application/x-autocad-slide-library.xml")));
    EXPECT_TRUE(test::readFile(data("mime/globs2")).contains("application/x-autocad-slide-library:*.slb"));
    const QByteArray aliases = test::readFile(data("mime/aliases"));
    EXPECT_TRUE(aliases.contains("application/x-autocad-slide image/vnd.sld\n")) << aliases.constData();
    EXPECT_TRUE(aliases.contains("image/x-sld image/vnd.sld\n"));
}

TEST(DesktopEntry, ProgramPathsAreQuotedWhereTheExecLineNeedsIt)
{
    struct Case { const char *path, *argument, *line; };
    for (const Case &c : {Case{"/home/u/My Apps/quarvel", "\"/home/u/My Apps/quarvel\"",
                               "Exec=\"/home/u/My Apps/quarvel\" %f"},
                          Case{"/opt/100%/quarvel", "/opt/100%%/quarvel", "Exec=/opt/100%%/quarvel %f"},
                          Case{"/opt/a\"b$c/q", "\"/opt/a\\\"b\\$c/q\"", "Exec=\"/opt/a\\\\\"b\\\\$c/q\" %f"},
                          Case{"/opt/it's/q", "\"/opt/it's/q\"", "Exec=\"/opt/it's/q\" %f"}}) {
        EXPECT_EQ(DesktopIntegration::execArgument(c.path), c.argument) << c.path;
        EXPECT_TRUE(DesktopIntegration::desktopEntryText(c.path).split(u'\n').contains(c.line)) << c.path;
    }
}

TEST(MimeAppsList, DefaultsAreAddedLineByLine)
{
    struct Case { const char *what, *before, *after; };
    for (const Case &c :
         {Case{"other section only", "[Added Associations]\na/b=x.desktop;",
               "[Added Associations]\na/b=x.desktop;\n\n[Default Applications]\n"
               "image/vnd.sld=quarvel.desktop\n"},
          Case{"new line before the blank lines", "[Default Applications]\na/b=x.desktop\n\n[Other]\nk=v\n",
               "[Default Applications]\na/b=x.desktop\nimage/vnd.sld=quarvel.desktop\n\n[Other]\nk=v\n"},
          Case{"already second", "[Default Applications]\nimage/vnd.sld = x.desktop;quarvel.desktop;\n",
               "[Default Applications]\nimage/vnd.sld=quarvel.desktop;x.desktop;\n"},
          Case{"already first", "[Default Applications]\nimage/vnd.sld=quarvel.desktop\n",
               "[Default Applications]\nimage/vnd.sld=quarvel.desktop\n"}})
        EXPECT_EQ(DesktopIntegration::withDefaultApplication(c.before, kSlideMimeType, kDesktopEntryName), c.after)
            << c.what;
}

} // namespace
