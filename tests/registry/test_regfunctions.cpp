// The association rules: what is written, what the test accepts, what
// removal takes away, on the examples of the association's design.

#include "fileregistrystore.h"
#include "mdlregfunctions.h"
#include "memoryregistrystore.h"

#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <vector>

using namespace quarvel;

namespace {

const QString kProgram = QStringLiteral("/opt/Quarvel/quarvel");
const QString kLmClasses = QStringLiteral("Software\\CLASSES\\");
const QString kUserClasses = QStringLiteral("Software\\Classes\\");

// The eight keys the association test reads, in its order.
const std::pair<RegKey, const char *> kCheckedKeys[] = {
    {RegKey::ClassesRoot, ".sld"},
    {RegKey::ClassesRoot, "AutoCADSlide\\Shell\\open\\command"},
    {RegKey::LocalMachine, "Software\\CLASSES\\.sld"},
    {RegKey::LocalMachine, "Software\\CLASSES\\AutoCADSlide\\Shell\\open\\command"},
    {RegKey::ClassesRoot, ".slb"},
    {RegKey::ClassesRoot, "AutoCADSlideLibrary\\Shell\\open\\command"},
    {RegKey::LocalMachine, "Software\\CLASSES\\.slb"},
    {RegKey::LocalMachine, "Software\\CLASSES\\AutoCADSlideLibrary\\Shell\\open\\command"},
};

// The default value of root\key as text, "<no key>" without the key.
QString defaultValue(RegistryStore &store, RegKey root, const QString &key)
{
    RegKey opened = RegKey::Null;
    if (store.openKey(root, key, &opened) != kRegSuccess)
        return "<no key>";
    RegValueType type = 0;
    QByteArray data;
    store.queryValue(opened, QString(), &type, &data, 1024);
    store.closeKey(opened);
    return QString::fromUtf8(data.chopped(data.isEmpty() ? 0 : 1));
}

class AssociationTest : public ::testing::Test
{
protected:
    // Sets the default value of root\key, the way another program might have left it.
    void put(RegKey root, const QString &key, const QByteArray &bytes, RegValueType type = kRegSz)
    {
        RegKey opened = RegKey::Null;
        ASSERT_EQ(mStore.createKey(root, key, &opened), kRegSuccess);
        ASSERT_EQ(mStore.setValue(opened, QString(), type, bytes), kRegSuccess);
        mStore.closeKey(opened);
    }
    void putText(RegKey root, const QString &key, const QString &text) { put(root, key, text.toUtf8() + '\0'); }
    QString get(RegKey root, const QString &key) { return defaultValue(mStore, root, key); }
    void associateBoth() { mReg.AssociateSld(); mReg.AssociateSlb(); }

    MemoryRegistryStore mStore;
    mdlRegFunctions mReg{mStore, kProgram};
};

TEST(OpenCommand, JoinsFolderAndProgramNameWithOneSeparator)
{
    EXPECT_EQ(windowsOpenCommand("C:\\Tools", "Quarvel.exe"), "C:\\Tools\\Quarvel.EXE %1");
    EXPECT_EQ(windowsOpenCommand("C:\\", "Quarvel.exe"), "C:\\Quarvel.EXE %1");
    EXPECT_EQ(windowsOpenCommand("C:", "Quarvel.exe"), "C:\\Quarvel.EXE %1");
    EXPECT_EQ(windowsOpenCommand("D:\\CAD Tools\\v2.2", "Quarvel"), "D:\\CAD Tools\\v2.2\\Quarvel.EXE %1");
    EXPECT_EQ(windowsOpenCommand("C:/Tools", "Quarvel.exe", u'/'), "C:/Tools/Quarvel.EXE %1");
    EXPECT_EQ(unixOpenCommand("/opt/Quarvel", "quarvel"), "/opt/Quarvel/quarvel %1");
    EXPECT_EQ(unixOpenCommand("/", "quarvel"), "/quarvel %1");
}

// Where a machine root refuses the change (a user without administrator
// rights), the user's own classes take the association, and removal takes it
// from there too.
TEST(Association, BothHalvesWriteBothRootsOrTheUsersClassesAndRemovalTakesOnlyTheOpenCommands)
{
    const struct { const char *what; std::vector<RegKey> refusing; } cases[] = {
        {"every root writable", {}},
        {"HKEY_CLASSES_ROOT refuses", {RegKey::ClassesRoot}},
        {"both machine roots refuse", {RegKey::ClassesRoot, RegKey::LocalMachine}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        MemoryRegistryStore store;
        for (const RegKey root : c.refusing)
            store.refuseChanges(root);
        mdlRegFunctions reg(store, kProgram);
        const auto get = [&](RegKey root, const QString &key) { return defaultValue(store, root, key); };
        const std::vector<std::pair<RegKey, QString>> holders =
            c.refusing.empty() ? std::vector<std::pair<RegKey, QString>>{{RegKey::ClassesRoot, QString()},
                                                                         {RegKey::LocalMachine, kLmClasses}}
                               : std::vector<std::pair<RegKey, QString>>{{RegKey::CurrentUser, kUserClasses}};

        EXPECT_FALSE(reg.IsAssociated());
        reg.AssociateSld();
        EXPECT_FALSE(reg.IsAssociated()) << "only the .sld half written";
        reg.AssociateSlb();
        EXPECT_TRUE(reg.IsAssociated());
        for (const auto &[root, p] : holders) {
            EXPECT_EQ(get(root, p + ".sld"), "AutoCADSlide");
            EXPECT_EQ(get(root, p + "AutoCADSlide"), "AutoCAD Slide");
            EXPECT_EQ(get(root, p + "AutoCADSlide\\Shell\\open\\command"), openCommandFor(kProgram));
            EXPECT_EQ(get(root, p + "AutoCADSlideLibrary\\Shell\\open\\command"), openCommandFor(kProgram));
        }
        EXPECT_EQ(store.keyExists(RegKey::CurrentUser, kUserClasses + ".sld"), !c.refusing.empty())
            << "the user's classes only where a root refused";

        reg.RemoveAssociation();
        EXPECT_FALSE(reg.IsAssociated());
        for (const auto &[root, p] : holders) {
            EXPECT_EQ(get(root, p + ".sld"), "AutoCADSlide");
            EXPECT_EQ(get(root, p + ".slb"), "AutoCADSlideLibrary");
            EXPECT_EQ(get(root, p + "AutoCADSlideLibrary"), "AutoCAD Slide Library");
            EXPECT_FALSE(store.keyExists(root, p + "AutoCADSlide\\Shell"));
            EXPECT_FALSE(store.keyExists(root, p + "AutoCADSlideLibrary\\Shell"));
        }
    }
}

TEST_F(AssociationTest, EachOfTheEightChecksAloneDecides)
{
    for (const auto &[root, name] : kCheckedKeys) {
        const QString key = name;
        // A wrong value, a missing value, a missing key.
        for (int damage = 0; damage < 3; ++damage) {
            SCOPED_TRACE(QString("%1 damage %2").arg(key).arg(damage).toStdString());
            associateBoth();
            ASSERT_TRUE(mReg.IsAssociated());
            if (damage == 0) {
                putText(root, key, "SomethingElse");
            } else {
                ASSERT_EQ(mStore.deleteKey(root, key), kRegSuccess);
                RegKey opened = RegKey::Null;
                if (damage == 1)
                    mStore.closeKey((mStore.createKey(root, key, &opened), opened));
            }
            EXPECT_FALSE(mReg.IsAssociated());
        }
    }
    // The class descriptions are not among the checks.
    associateBoth();
    putText(RegKey::ClassesRoot, "AutoCADSlide", "changed");
    putText(RegKey::LocalMachine, kLmClasses + "AutoCADSlideLibrary", QString());
    EXPECT_TRUE(mReg.IsAssociated());
}

TEST_F(AssociationTest, LetterCaseIsIgnoredButAnotherCommandOrAValueThatIsNotTextDoesNotMatch)
{
    associateBoth();
    for (const auto &[root, name] : kCheckedKeys) {
        const QString key = name, value = get(root, key);
        putText(root, key, key.contains(u'\\') ? value.toUpper() : value.toLower());
    }
    EXPECT_TRUE(mReg.IsAssociated());

    const QString command = openCommandFor(kProgram), program = command.chopped(3); // without " %1"
    for (const QString &other : {u'"' + program + "\" %1", u'"' + program + "\" \"%1\"", program + " %L",
                                 command + u' ', openCommandFor("/usr/local/bin/quarvel")}) {
        associateBoth();
        putText(RegKey::LocalMachine, kLmClasses + "AutoCADSlideLibrary\\Shell\\open\\command", other);
        EXPECT_FALSE(mReg.IsAssociated()) << qPrintable(other);
    }

    const auto valueIs = [&](const QByteArray &bytes, RegValueType type) {
        put(RegKey::ClassesRoot, "probe", bytes, type);
        return mReg.KeyValueIs(RegKey::ClassesRoot, "probe", "AutoCADSlide");
    };
    EXPECT_FALSE(valueIs(QByteArray("AutoCAD\0", 8), kRegSz)) << "a prefix";
    EXPECT_FALSE(valueIs(QByteArray("AutoCADSlide\0", 13), 3)) << "not text";
    EXPECT_TRUE(valueIs(QByteArray("AutoCADSlide"), kRegSz)) << "no NUL stored";
}

TEST(Association, AnOpenCommandTooLongForTheQueryBufferIsNeverFound)
{
    // The command is the folder and what this platform adds to it ("/q %1",
    // "\\q.EXE %1" and a drive); with its NUL it must fit 255 bytes.
    MemoryRegistryStore probe;
    const qsizetype added = mdlRegFunctions(probe, "/d/q").openCommand().size() - 2;
    for (const auto &[commandLength, associated] : {std::pair{254, true}, std::pair{255, false}}) {
        const qsizetype folderLength = commandLength - added;
        MemoryRegistryStore store;
        mdlRegFunctions reg(store, u'/' + QString(folderLength - 1, u'd') + "/q");
        ASSERT_EQ(reg.openCommand().size(), commandLength);
        reg.AssociateSld();
        reg.AssociateSlb();
        EXPECT_EQ(reg.IsAssociated(), associated) << folderLength;
    }
}

TEST(Association, RemovalWithNothingThereWritesNothing)
{
    QTemporaryDir dir;
    FileRegistryStore store(dir.filePath("registry.ini"));
    mdlRegFunctions(store, kProgram).RemoveAssociation();
    EXPECT_FALSE(QFileInfo::exists(dir.filePath("registry.ini")));
}

} // namespace
