// The registry stores: the Windows rules the association relies on, kept by
// the in-memory store and by the file store alike, and the file store's own
// persistence and failures. The 255-byte query buffer is checked through the
// association in test_regfunctions.cpp.

#include "fileregistrystore.h"
#include "memoryregistrystore.h"
#include "testdata.h"
#ifdef Q_OS_WIN
#include "winregistrystore.h"
#endif

#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace quarvel;

namespace {

class StoreTest : public ::testing::TestWithParam<bool> // file store, else memory
{
protected:
    RegKey create(RegKey root, const QString &key)
    {
        RegKey opened = RegKey::Null;
        EXPECT_EQ(mStore->createKey(root, key, &opened), kRegSuccess) << qPrintable(key);
        return opened;
    }

    QTemporaryDir mDir;
    std::unique_ptr<MemoryRegistryStore> mStore{GetParam() ? new FileRegistryStore(mDir.filePath("sub/registry.ini"))
                                                           : new MemoryRegistryStore};
    RegKey mOpened = RegKey::Null;
    RegValueType mType = 0;
    QByteArray mData;
};

TEST_P(StoreTest, OpenFailsForAMissingKeyCreateMakesThePathAndKeyNamesIgnoreCase)
{
    EXPECT_EQ(mStore->openKey(RegKey::ClassesRoot, "AutoCADSlide\\Shell", &mOpened), kRegFileNotFound);
    EXPECT_EQ(mOpened, RegKey::Null);
    mStore->closeKey(create(RegKey::ClassesRoot, "AutoCADSlide\\Shell\\open\\command"));
    EXPECT_TRUE(mStore->keyExists(RegKey::ClassesRoot, "AutoCADSlide\\Shell\\open"));
    EXPECT_FALSE(mStore->keyExists(RegKey::LocalMachine, "AutoCADSlide"));

    const RegKey written = create(RegKey::LocalMachine, "Software\\CLASSES\\.sld");
    ASSERT_EQ(mStore->setValue(written, QString(), kRegSz, QByteArray("AutoCADSlide\0", 13)), kRegSuccess);
    ASSERT_EQ(mStore->openKey(RegKey::LocalMachine, "SOFTWARE\\classes\\.SLD", &mOpened), kRegSuccess);
    ASSERT_EQ(mStore->queryValue(mOpened, QString(), &mType, &mData, 255), kRegSuccess);
    EXPECT_EQ(mData, QByteArray("AutoCADSlide\0", 13));
    EXPECT_EQ(mStore->queryValue(mOpened, "missing", &mType, &mData, 255), kRegFileNotFound);
    EXPECT_EQ(mStore->closeKey(mOpened), kRegSuccess);
    mStore->closeKey(written);
}

TEST_P(StoreTest, DeletingAnOpenedKeyTakesEverythingBelowIt)
{
    const RegKey command = create(RegKey::ClassesRoot, "AutoCADSlide\\Shell\\open\\command");
    ASSERT_EQ(mStore->setValue(command, QString(), kRegSz, QByteArray("x %1\0", 5)), kRegSuccess);
    const RegKey shell = create(RegKey::ClassesRoot, "AutoCADSlide\\Shell");
    EXPECT_EQ(mStore->deleteKey(shell, QString()), kRegSuccess);
    EXPECT_FALSE(mStore->keyExists(RegKey::ClassesRoot, "AutoCADSlide\\Shell"));
    EXPECT_TRUE(mStore->keyExists(RegKey::ClassesRoot, "AutoCADSlide"));
    // Handles into the deleted tree are dead, but still have to be closed.
    EXPECT_EQ(mStore->queryValue(command, QString(), &mType, &mData, 255), kRegKeyDeleted);
    EXPECT_EQ(mStore->closeKey(command), kRegSuccess);
    EXPECT_EQ(mStore->closeKey(shell), kRegSuccess);
    EXPECT_EQ(mStore->closeKey(shell), kRegInvalidHandle);
}

TEST_P(StoreTest, RefusesWhatTheRegistryRefuses)
{
    EXPECT_EQ(mStore->deleteKey(RegKey::ClassesRoot, QString()), kRegAccessDenied);
    EXPECT_EQ(mStore->deleteKey(RegKey::ClassesRoot, "NoSuchClass\\Shell"), kRegFileNotFound);
    for (const char *bad : {"\\.sld", "a\\\\b", "a\\"})
        EXPECT_EQ(mStore->createKey(RegKey::ClassesRoot, bad, &mOpened), kRegBadPathname) << bad;
    EXPECT_EQ(mStore->openKey(static_cast<RegKey>(0x7777), QString(), &mOpened), kRegInvalidHandle);
    EXPECT_EQ(mStore->closeKey(static_cast<RegKey>(0x7777)), kRegInvalidHandle);
    EXPECT_EQ(mStore->closeKey(RegKey::LocalMachine), kRegSuccess);
}

INSTANTIATE_TEST_SUITE_P(Stores, StoreTest, ::testing::Bool(),
                         [](const auto &info) { return info.param ? "File" : "Memory"; });

TEST(FileStore, ContentsSurviveANewInstanceByteForByteAndInstancesShareThem)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("Quarvel/registry.ini");
    // Names and bytes that the file's own syntax uses must come back intact.
    const QString key = QStringLiteral("Odd [key]=%\\Ключ\nline"), valueName = "@=[x]";
    static const char raw[] = "C:\\Program Files\\Q %1 =[]\n\r;\0\xff";
    const QByteArray bytes(raw, sizeof raw - 1);
    FileRegistryStore first(path);
    RegKey opened = RegKey::Null;
    ASSERT_EQ(first.createKey(RegKey::LocalMachine, key, &opened), kRegSuccess);
    ASSERT_EQ(first.setValue(opened, valueName, 7, bytes), kRegSuccess);
    first.closeKey(opened);

    FileRegistryStore second(path);
    ASSERT_EQ(second.openKey(RegKey::LocalMachine, key.toUpper(), &opened), kRegSuccess);
    RegValueType type = 0;
    QByteArray data;
    ASSERT_EQ(second.queryValue(opened, valueName, &type, &data, 255), kRegSuccess);
    EXPECT_EQ(type, 7u);
    EXPECT_EQ(data, bytes);
    // The spelling a key was created with is what the file keeps.
    EXPECT_TRUE(test::readFile(path).contains("HKEY_LOCAL_MACHINE\\Odd%20%5Bkey%5D"));
    // A change through one instance is seen by the other.
    ASSERT_EQ(second.deleteKey(opened, QString()), kRegSuccess);
    EXPECT_FALSE(first.keyExists(RegKey::LocalMachine, key));
}

// A folder where the file should be (it exists, cannot be read, and is not
// replaced), or a file where the store's folder should be made.
TEST(FileStore, AStoreThatCannotBeReadOrWrittenReportsAFailure)
{
    QTemporaryDir dir;
    ASSERT_TRUE(QDir().mkpath(dir.filePath("blocked/registry.ini")));
    ASSERT_TRUE(test::writeFile(dir.filePath("file"), "not a folder"));
    for (const char *where : {"blocked/registry.ini", "file/registry.ini"}) {
        RegKey opened = RegKey::Null;
        FileRegistryStore store(dir.filePath(where));
        EXPECT_EQ(store.createKey(RegKey::ClassesRoot, ".sld", &opened), kRegIoFailed) << where;
        EXPECT_EQ(opened, RegKey::Null) << where;
        EXPECT_EQ(store.setValue(RegKey::ClassesRoot, QString(), kRegSz, "x"), kRegIoFailed) << where;
    }
    EXPECT_TRUE(QFileInfo(dir.filePath("blocked/registry.ini")).isDir());
}

} // namespace

#ifdef Q_OS_WIN
// The system registry keeps the same rules: a key of its own under
// HKEY_CLASSES_ROOT, so that no real association is touched, with text that
// lies outside any ANSI code page, removed with everything below it.
TEST(WindowsRegistry, TextRoundTripsAndATreeIsDeletedWhole)
{
    WinRegistryStore store;
    const QString top = QStringLiteral("Quarvel.TestClass");
    RegKey command = RegKey::Null;
    ASSERT_EQ(store.createKey(RegKey::ClassesRoot, top + "\\Shell\\open\\command", &command), kRegSuccess);
    const QByteArray text = QStringLiteral("C:\\Чертежи\\中文\\Quarvel.EXE %1").toUtf8() + '\0';
    ASSERT_EQ(store.setValue(command, QString(), kRegSz, text), kRegSuccess);
    store.closeKey(command);

    RegKey opened = RegKey::Null;
    RegValueType type = 0;
    QByteArray data;
    ASSERT_EQ(store.openKey(RegKey::ClassesRoot, top.toUpper() + "\\SHELL\\Open\\Command", &opened), kRegSuccess);
    EXPECT_EQ(store.queryValue(opened, QString(), &type, &data, 255), kRegSuccess);
    EXPECT_EQ(type, kRegSz);
    EXPECT_EQ(data, text);
    EXPECT_EQ(store.queryValue(opened, QString(), &type, &data, 4), kRegMoreData);
    store.closeKey(opened);

    ASSERT_EQ(store.openKey(RegKey::ClassesRoot, top, &opened), kRegSuccess);
    EXPECT_EQ(store.deleteKey(opened, QString()), kRegSuccess);
    store.closeKey(opened);
    EXPECT_EQ(store.openKey(RegKey::ClassesRoot, top + "\\Shell", &opened), kRegFileNotFound);
}
#endif
