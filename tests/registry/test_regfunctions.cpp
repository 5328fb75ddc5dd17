// The association rules: what is written, what the test accepts, what
// removal takes away, on the examples of the association's design.

#include "fileregistrystore.h"
#include "mdlregfunctions.h"
#include "memoryregistrystore.h"

#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace quarvel;

namespace {

const QString kProgram = QStringLiteral("/opt/Quarvel/quarvel");

struct KeyPlace
{
    RegKey root;
    const char *key;
};

// The eight keys the association test reads, in its order.
const KeyPlace kCheckedKeys[] = {
    {RegKey::ClassesRoot, ".sld"},
    {RegKey::ClassesRoot, "AutoCADSlide\\Shell\\open\\command"},
    {RegKey::LocalMachine, "Software\\CLASSES\\.sld"},
    {RegKey::LocalMachine, "Software\\CLASSES\\AutoCADSlide\\Shell\\open\\command"},
    {RegKey::ClassesRoot, ".slb"},
    {RegKey::ClassesRoot, "AutoCADSlideLibrary\\Shell\\open\\command"},
    {RegKey::LocalMachine, "Software\\CLASSES\\.slb"},
    {RegKey::LocalMachine, "Software\\CLASSES\\AutoCADSlideLibrary\\Shell\\open\\command"},
};

class AssociationTest : public ::testing::Test
{
protected:
    // Writes value as the default value of root\key, the way another program
    // might have left it.
    void put(RegKey root, const QString &key, const QByteArray &bytes, RegValueType type = kRegSz)
    {
        RegKey opened = RegKey::Null;
        ASSERT_EQ(mStore.createKey(root, key, &opened), kRegSuccess);
        ASSERT_EQ(mStore.setValue(opened, QString(), type, bytes), kRegSuccess);
        mStore.closeKey(opened);
    }
    void putText(RegKey root, const QString &key, const QString &text)
    {
        put(root, key, text.toUtf8() + '\0');
    }
    QString get(RegKey root, const QString &key)
    {
        RegKey opened = RegKey::Null;
        if (mStore.openKey(root, key, &opened) != kRegSuccess)
            return QStringLiteral("<no key>");
        RegValueType type = 0;
        QByteArray data;
        mStore.queryValue(opened, QString(), &type, &data, 1024);
        mStore.closeKey(opened);
        return QString::fromUtf8(data.chopped(data.isEmpty() ? 0 : 1));
    }
    void associateBoth()
    {
        mReg.AssociateSld();
        mReg.AssociateSlb();
    }

    MemoryRegistryStore mStore;
    mdlRegFunctions mReg{mStore, kProgram};
};

TEST(OpenCommand, JoinsFolderAndProgramNameWithOneSeparator)
{
    struct Case { const char *folder; const char *file; const char *expected; };
    const Case windowsCases[] = {
        {"C:\\Tools", "Quarvel.exe", "C:\\Tools\\Quarvel.EXE %1"},
        {"C:\\", "Quarvel.exe", "C:\\Quarvel.EXE %1"},
        {"C:", "Quarvel.exe", "C:\\Quarvel.EXE %1"},
        {"D:\\CAD Tools\\v2.2", "Quarvel", "D:\\CAD Tools\\v2.2\\Quarvel.EXE %1"},
        {"\\\\server\\share", "slide.mgr.exe", "\\\\server\\share\\slide.mgr.EXE %1"},
    };
    for (const Case &c : windowsCases)
        EXPECT_EQ(windowsOpenCommand(QString::fromLatin1(c.folder), QString::fromLatin1(c.file)),
                  QString::fromLatin1(c.expected)) << c.folder;
    EXPECT_EQ(windowsOpenCommand(QStringLiteral("C:/Tools"), QStringLiteral("Quarvel.exe"), u'/'),
              QStringLiteral("C:/Tools/Quarvel.EXE %1"));

    const Case unixCases[] = {
        {"/opt/Quarvel", "quarvel", "/opt/Quarvel/quarvel %1"},
        {"/", "quarvel", "/quarvel %1"},
        {"/usr/bin", "quarvel-2.2", "/usr/bin/quarvel-2.2 %1"},
    };
    for (const Case &c : unixCases)
        EXPECT_EQ(unixOpenCommand(QString::fromLatin1(c.folder), QString::fromLatin1(c.file)),
                  QString::fromLatin1(c.expected)) << c.folder;
}

TEST_F(AssociationTest, AssociatingWritesBothRootsAndRemovalTakesOnlyTheOpenCommands)
{
    EXPECT_FALSE(mReg.IsAssociated());
    associateBoth();
    EXPECT_TRUE(mReg.IsAssociated());

    const QString command = openCommandFor(kProgram);
    for (const char *prefix : {"", "Software\\CLASSES\\"}) {
        const RegKey root = *prefix ? RegKey::LocalMachine : RegKey::ClassesRoot;
        const QString p = QString::fromLatin1(prefix);
        EXPECT_EQ(get(root, p + ".sld"), "AutoCADSlide");
        EXPECT_EQ(get(root, p + ".slb"), "AutoCADSlideLibrary");
        EXPECT_EQ(get(root, p + "AutoCADSlide"), "AutoCAD Slide");
        EXPECT_EQ(get(root, p + "AutoCADSlideLibrary"), "AutoCAD Slide Library");
        EXPECT_EQ(get(root, p + "AutoCADSlide\\Shell\\open\\command"), command);
        EXPECT_EQ(get(root, p + "AutoCADSlideLibrary\\Shell\\open\\command"), command);
    }

    mReg.RemoveAssociation();
    EXPECT_FALSE(mReg.IsAssociated());
    for (const char *prefix : {"", "Software\\CLASSES\\"}) {
        const RegKey root = *prefix ? RegKey::LocalMachine : RegKey::ClassesRoot;
        const QString p = QString::fromLatin1(prefix);
        EXPECT_EQ(get(root, p + ".sld"), "AutoCADSlide");
        EXPECT_EQ(get(root, p + ".slb"), "AutoCADSlideLibrary");
        EXPECT_EQ(get(root, p + "AutoCADSlideLibrary"), "AutoCAD Slide Library");
        EXPECT_FALSE(mStore.keyExists(root, p + "AutoCADSlide\\Shell"));
        EXPECT_FALSE(mStore.keyExists(root, p + "AutoCADSlideLibrary\\Shell"));
    }
}

TEST_F(AssociationTest, EachOfTheEightChecksAloneDecides)
{
    for (const KeyPlace &place : kCheckedKeys) {
        const QString key = QString::fromLatin1(place.key);
        // A wrong value, a missing value, a missing key.
        for (int damage = 0; damage < 3; ++damage) {
            SCOPED_TRACE(QStringLiteral("%1 damage %2").arg(key).arg(damage).toStdString());
            associateBoth();
            ASSERT_TRUE(mReg.IsAssociated());
            RegKey opened = RegKey::Null;
            if (damage == 0) {
                putText(place.root, key, QStringLiteral("SomethingElse"));
            } else if (damage == 1) {
                ASSERT_EQ(mStore.deleteKey(place.root, key), kRegSuccess);
                mStore.closeKey((mStore.createKey(place.root, key, &opened), opened));
            } else {
                ASSERT_EQ(mStore.deleteKey(place.root, key), kRegSuccess);
            }
            EXPECT_FALSE(mReg.IsAssociated());
        }
    }
}

TEST_F(AssociationTest, TheClassDescriptionsAreNotChecked)
{
    associateBoth();
    putText(RegKey::ClassesRoot, QStringLiteral("AutoCADSlide"), QStringLiteral("changed"));
    putText(RegKey::LocalMachine, QStringLiteral("Software\\CLASSES\\AutoCADSlideLibrary"), QString());
    EXPECT_TRUE(mReg.IsAssociated());
}

TEST_F(AssociationTest, ValuesDifferingOnlyInLetterCaseMatch)
{
    associateBoth();
    for (const KeyPlace &place : kCheckedKeys) {
        const QString key = QString::fromLatin1(place.key);
        const QString value = get(place.root, key);
        putText(place.root, key, key.contains(u'\\') ? value.toUpper() : value.toLower());
    }
    EXPECT_EQ(get(RegKey::ClassesRoot, QStringLiteral(".sld")), "autocadslide");
    EXPECT_TRUE(mReg.IsAssociated());
}

TEST_F(AssociationTest, OnlyTheSlideHalfIsNotAnAssociation)
{
    mReg.AssociateSld();
    EXPECT_FALSE(mReg.IsAssociated());
    mReg.AssociateSlb();
    EXPECT_TRUE(mReg.IsAssociated());
}

TEST_F(AssociationTest, AnotherOpenCommandDoesNotMatch)
{
    const QString command = openCommandFor(kProgram);
    const QString program = command.chopped(3);   // without " %1"
    const QString others[] = {
        u'"' + program + QStringLiteral("\" %1"),
        u'"' + program + QStringLiteral("\" \"%1\""),
        program + QStringLiteral(" %L"),
        command + u' ',
        openCommandFor(QStringLiteral("/usr/local/bin/quarvel")),
    };
    for (const QString &other : others) {
        associateBoth();
        putText(RegKey::LocalMachine,
                QStringLiteral("Software\\CLASSES\\AutoCADSlideLibrary\\Shell\\open\\command"), other);
        EXPECT_FALSE(mReg.IsAssociated()) << qPrintable(other);
    }
}

TEST_F(AssociationTest, ACopyInAnotherFolderFindsTheAssociationAbsent)
{
    associateBoth();
    mdlRegFunctions elsewhere(mStore, QStringLiteral("/home/user/quarvel/quarvel"));
    EXPECT_FALSE(elsewhere.IsAssociated());
    elsewhere.AssociateSld();
    elsewhere.AssociateSlb();
    EXPECT_TRUE(elsewhere.IsAssociated());
    EXPECT_FALSE(mReg.IsAssociated());
}

TEST_F(AssociationTest, KeyValueIsReadsOnlyTextThatFitsTheBuffer)
{
    const QString key = QStringLiteral("probe");
    const QString text254(254, u'x');
    struct Case { const char *what; QByteArray bytes; RegValueType type; QString expected; bool result; };
    const Case cases[] = {
        {"exact", QByteArray("AutoCADSlide\0", 13), kRegSz, QStringLiteral("AutoCADSlide"), true},
        {"other case", QByteArray("AUTOCADSLIDE\0", 13), kRegSz, QStringLiteral("autocadSlide"), true},
        {"254 characters", text254.toUtf8() + '\0', kRegSz, text254, true},
        {"255 characters", text254.toUtf8() + "x" + '\0', kRegSz, text254 + u'x', false},
        {"prefix only", QByteArray("AutoCAD\0", 8), kRegSz, QStringLiteral("AutoCADSlide"), false},
        {"not text", QByteArray("AutoCADSlide\0", 13), 3, QStringLiteral("AutoCADSlide"), false},
        {"no NUL stored", QByteArray("AutoCADSlide"), kRegSz, QStringLiteral("AutoCADSlide"), true},
        {"empty", QByteArray(), kRegSz, QString(), true},
    };
    for (const Case &c : cases) {
        put(RegKey::ClassesRoot, key, c.bytes, c.type);
        EXPECT_EQ(mReg.KeyValueIs(RegKey::ClassesRoot, key, c.expected), c.result) << c.what;
    }
    EXPECT_FALSE(mReg.KeyValueIs(RegKey::ClassesRoot, QStringLiteral("missing"), QString()));
    RegKey opened = RegKey::Null;
    mStore.closeKey((mStore.createKey(RegKey::ClassesRoot, QStringLiteral("no value"), &opened), opened));
    EXPECT_FALSE(mReg.KeyValueIs(RegKey::ClassesRoot, QStringLiteral("no value"), QString()));
}

TEST_F(AssociationTest, AnOpenCommandTooLongForTheBufferIsNeverFound)
{
    // The command is folder + "/q %1": 5 characters beyond the folder.
    for (const auto &[folderLength, associated] : {std::pair{249, true}, std::pair{250, false}}) {
        const QString folder = u'/' + QString(folderLength - 1, u'd');
        MemoryRegistryStore store;
        mdlRegFunctions reg(store, folder + QStringLiteral("/q"));
        ASSERT_EQ(reg.openCommand().size(), folderLength + 5);
        reg.AssociateSld();
        reg.AssociateSlb();
        EXPECT_EQ(reg.IsAssociated(), associated) << folderLength;
    }
}

TEST(AssociationStore, RemovalWithNothingThereChangesNothingAndTheStorePersists)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("registry.ini"));
    {
        FileRegistryStore store(path);
        mdlRegFunctions reg(store, kProgram);
        reg.RemoveAssociation();
        EXPECT_FALSE(QFileInfo::exists(path));
        EXPECT_FALSE(reg.IsAssociated());
        EXPECT_FALSE(QFileInfo::exists(path));
        reg.AssociateSld();
        reg.AssociateSlb();
    }
    FileRegistryStore reopened(path);
    mdlRegFunctions reg(reopened, kProgram);
    EXPECT_TRUE(reg.IsAssociated());
    reg.RemoveAssociation();
    FileRegistryStore again(path);
    EXPECT_FALSE(mdlRegFunctions(again, kProgram).IsAssociated());
    EXPECT_TRUE(again.keyExists(RegKey::LocalMachine, QStringLiteral("Software\\CLASSES\\.slb")));
}

} // namespace
