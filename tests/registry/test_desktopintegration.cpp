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

const QString kSlide = QLatin1String(kSlideMimeType);
const QString kLibrary = QLatin1String(kLibraryMimeType);
const QString kEntry = QLatin1String(kDesktopEntryName);

// Points the user's data and configuration folders at a temporary folder for
// the length of one test.
class DesktopTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(mDir.isValid());
        for (const char *name : {"XDG_DATA_HOME", "XDG_CONFIG_HOME"})
            mSaved.emplace_back(name, qgetenv(name));
        qputenv("XDG_DATA_HOME", mDir.filePath(QStringLiteral("data")).toUtf8());
        qputenv("XDG_CONFIG_HOME", mDir.filePath(QStringLiteral("config")).toUtf8());
    }
    void TearDown() override
    {
        for (const auto &[name, value] : mSaved) {
            if (value.isNull())
                qunsetenv(name);
            else
                qputenv(name, value);
        }
    }

    QString data(const QString &sub) const { return mDir.filePath(QStringLiteral("data/") + sub); }
    QString mimeApps() const { return mDir.filePath(QStringLiteral("config/mimeapps.list")); }

    DesktopIntegration recordingIntegration(const QString &program = QStringLiteral("/opt/quarvel/quarvel"))
    {
        return DesktopIntegration(program, [this](const QString &tool, const QStringList &args) {
            mToolRuns << tool + u' ' + args.join(u' ');
        });
    }

    QTemporaryDir mDir;
    std::vector<std::pair<const char *, QByteArray>> mSaved;
    QStringList mToolRuns;
};

TEST_F(DesktopTest, AssociatingInstallsTheEntryTheTypesAndTheDefaults)
{
    DesktopIntegration desktop = recordingIntegration();
    ASSERT_TRUE(desktop.associate(kSlide));
    ASSERT_TRUE(desktop.associate(kLibrary));

    EXPECT_EQ(DesktopIntegration::desktopEntryPath(), data(QStringLiteral("applications/quarvel.desktop")));
    const QString entry = QString::fromUtf8(test::readFile(data(QStringLiteral("applications/quarvel.desktop"))));
    const QStringList lines = entry.split(u'\n');
    EXPECT_EQ(lines.first(), "[Desktop Entry]");
    EXPECT_TRUE(lines.contains("Type=Application"));
    EXPECT_TRUE(lines.contains("Exec=/opt/quarvel/quarvel %f"));
    EXPECT_TRUE(lines.contains("TryExec=/opt/quarvel/quarvel"));
    EXPECT_TRUE(lines.contains("MimeType=application/x-autocad-slide;application/x-autocad-slide-library;"));

    const QByteArray mime = test::readFile(data(QStringLiteral("mime/packages/quarvel.xml")));
    EXPECT_TRUE(mime.contains("<mime-type type=\"application/x-autocad-slide\">"));
    EXPECT_TRUE(mime.contains("<mime-type type=\"application/x-autocad-slide-library\">"));
    EXPECT_TRUE(mime.contains("<glob pattern=\"*.sld\"/>"));
    EXPECT_TRUE(mime.contains("<glob pattern=\"*.slb\"/>"));
    // Case-sensitive globs would miss "PLAN.SLB".
    EXPECT_FALSE(mime.contains("case-sensitive=\"true\""));

    EXPECT_EQ(test::readFile(mimeApps()),
              "[Default Applications]\n"
              "application/x-autocad-slide=quarvel.desktop\n"
              "application/x-autocad-slide-library=quarvel.desktop\n");

    // The caches are rebuilt once; the second extension changed no file.
    EXPECT_EQ(mToolRuns, QStringList({"update-mime-database " + data(QStringLiteral("mime")),
                                      "update-desktop-database " + data(QStringLiteral("applications"))}));
}

TEST_F(DesktopTest, RemovalTakesEverythingAwayAndLeavesTheUsersOtherChoices)
{
    const QByteArray before = "# my associations\n"
                              "[Added Associations]\n"
                              "application/x-autocad-slide=viewer.desktop;\n"
                              "\n"
                              "[Default Applications]\n"
                              "text/plain=editor.desktop\n"
                              "application/x-autocad-slide=viewer.desktop\n"
                              "\n"
                              "[Removed Associations]\n"
                              "image/png=quarvel.desktop;\n";
    ASSERT_TRUE(QDir().mkpath(QFileInfo(mimeApps()).absolutePath()));
    ASSERT_TRUE(test::writeFile(mimeApps(), before));

    DesktopIntegration desktop = recordingIntegration();
    desktop.associate(kSlide);
    desktop.associate(kLibrary);
    EXPECT_EQ(test::readFile(mimeApps()),
              "# my associations\n"
              "[Added Associations]\n"
              "application/x-autocad-slide=viewer.desktop;\n"
              "\n"
              "[Default Applications]\n"
              "text/plain=editor.desktop\n"
              "application/x-autocad-slide=quarvel.desktop;viewer.desktop\n"
              "application/x-autocad-slide-library=quarvel.desktop\n"
              "\n"
              "[Removed Associations]\n"
              "image/png=quarvel.desktop;\n");

    mToolRuns.clear();
    ASSERT_TRUE(desktop.remove());
    EXPECT_EQ(test::readFile(mimeApps()), before);
    EXPECT_FALSE(QFileInfo::exists(data(QStringLiteral("applications/quarvel.desktop"))));
    EXPECT_FALSE(QFileInfo::exists(data(QStringLiteral("mime/packages/quarvel.xml"))));
    EXPECT_EQ(mToolRuns.size(), 2);

    // Nothing left to take away: no file is touched, no cache rebuilt.
    mToolRuns.clear();
    ASSERT_TRUE(desktop.remove());
    EXPECT_EQ(test::readFile(mimeApps()), before);
    EXPECT_TRUE(mToolRuns.isEmpty());
}

TEST_F(DesktopTest, TheRegistryFunctionsKeepTheDesktopInStep)
{
    MemoryRegistryStore store;
    DesktopIntegration desktop = recordingIntegration();
    mdlRegFunctions reg(store, QStringLiteral("/opt/quarvel/quarvel"), &desktop);
    reg.AssociateSld();
    reg.AssociateSlb();
    EXPECT_TRUE(reg.IsAssociated());
    EXPECT_TRUE(QFileInfo::exists(data(QStringLiteral("applications/quarvel.desktop"))));
    EXPECT_TRUE(test::readFile(mimeApps()).contains("application/x-autocad-slide-library=quarvel.desktop"));
    reg.RemoveAssociation();
    EXPECT_FALSE(QFileInfo::exists(data(QStringLiteral("applications/quarvel.desktop"))));
    // A list that only the association made goes with it.
    EXPECT_FALSE(QFileInfo::exists(mimeApps()));
}

TEST_F(DesktopTest, MovingTheProgramRewritesTheEntry)
{
    recordingIntegration(QStringLiteral("/opt/old/quarvel")).associate(kSlide);
    mToolRuns.clear();
    recordingIntegration(QStringLiteral("/opt/new/quarvel")).associate(kSlide);
    EXPECT_TRUE(test::readFile(data(QStringLiteral("applications/quarvel.desktop")))
                    .contains("Exec=/opt/new/quarvel %f"));
    EXPECT_EQ(mToolRuns, QStringList({"update-desktop-database " + data(QStringLiteral("applications"))}));
}

TEST_F(DesktopTest, TheRealMimeDatabaseAcceptsTheTypes)
{
    if (QStandardPaths::findExecutable(QStringLiteral("update-mime-database")).isEmpty())
        GTEST_SKIP() << "update-mime-database is not installed";
    DesktopIntegration desktop(QStringLiteral("/opt/quarvel/quarvel"));
    desktop.associate(kSlide);
    EXPECT_TRUE(QFileInfo::exists(data(QStringLiteral("mime/application/x-autocad-slide.xml"))));
    EXPECT_TRUE(QFileInfo::exists(data(QStringLiteral("mime/application/x-autocad-slide-library.xml"))));
    EXPECT_TRUE(test::readFile(data(QStringLiteral("mime/globs2"))).contains("application/x-autocad-slide-library:*.slb"));
}

TEST(DesktopEntry, ProgramPathsAreQuotedWhereTheExecLineNeedsIt)
{
    struct Case { const char *path; const char *argument; const char *line; };
    const Case cases[] = {
        {"/opt/quarvel/quarvel", "/opt/quarvel/quarvel", "Exec=/opt/quarvel/quarvel %f"},
        {"/home/u/My Apps/quarvel", "\"/home/u/My Apps/quarvel\"", "Exec=\"/home/u/My Apps/quarvel\" %f"},
        {"/opt/100%/quarvel", "/opt/100%%/quarvel", "Exec=/opt/100%%/quarvel %f"},
        {"/opt/a\"b$c/q", "\"/opt/a\\\"b\\$c/q\"", "Exec=\"/opt/a\\\\\"b\\\\$c/q\" %f"},
        {"/opt/it's/q", "\"/opt/it's/q\"", "Exec=\"/opt/it's/q\" %f"},
    };
    for (const Case &c : cases) {
        const QString path = QString::fromUtf8(c.path);
        EXPECT_EQ(DesktopIntegration::execArgument(path), QString::fromUtf8(c.argument)) << c.path;
        EXPECT_TRUE(DesktopIntegration::desktopEntryText(path).split(u'\n').contains(QString::fromUtf8(c.line)))
            << c.path;
    }
}

TEST(MimeAppsList, DefaultsAreAddedAndTakenOutLineByLine)
{
    struct Case { const char *what; const char *before; const char *after; };
    const Case cases[] = {
        {"no file", "", "[Default Applications]\napplication/x-autocad-slide=quarvel.desktop\n"},
        {"other section only", "[Added Associations]\na/b=x.desktop;",
         "[Added Associations]\na/b=x.desktop;\n\n[Default Applications]\n"
         "application/x-autocad-slide=quarvel.desktop\n"},
        {"new line before the blank lines",
         "[Default Applications]\na/b=x.desktop\n\n[Other]\nk=v\n",
         "[Default Applications]\na/b=x.desktop\napplication/x-autocad-slide=quarvel.desktop\n\n[Other]\nk=v\n"},
        {"already second", "[Default Applications]\napplication/x-autocad-slide = x.desktop;quarvel.desktop;\n",
         "[Default Applications]\napplication/x-autocad-slide=quarvel.desktop;x.desktop;\n"},
        {"already first", "[Default Applications]\napplication/x-autocad-slide=quarvel.desktop\n",
         "[Default Applications]\napplication/x-autocad-slide=quarvel.desktop\n"},
    };
    for (const Case &c : cases) {
        const QString before = QString::fromUtf8(c.before);
        const QString after = DesktopIntegration::withDefaultApplication(before, kSlide, kEntry);
        EXPECT_EQ(after, QString::fromUtf8(c.after)) << c.what;
    }

    // Taking out: another application's line, and our name in another
    // section, stay.
    const QString list = QStringLiteral("[Default Applications]\n"
                                        "application/x-autocad-slide=x.desktop;quarvel.desktop;y.desktop;\n"
                                        "application/x-autocad-slide-library=other.desktop\n"
                                        "[Added Associations]\n"
                                        "application/x-autocad-slide=quarvel.desktop;\n");
    EXPECT_EQ(DesktopIntegration::withoutDefaultApplication(list, kSlide, kEntry),
              QStringLiteral("[Default Applications]\n"
                             "application/x-autocad-slide=x.desktop;y.desktop;\n"
                             "application/x-autocad-slide-library=other.desktop\n"
                             "[Added Associations]\n"
                             "application/x-autocad-slide=quarvel.desktop;\n"));
    EXPECT_EQ(DesktopIntegration::withoutDefaultApplication(list, kLibrary, kEntry), list);
}

} // namespace
