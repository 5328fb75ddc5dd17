// The registry stores: the Windows rules the association relies on, kept by
// the in-memory store and by the file store alike, and the file store's own
// persistence.

#include "fileregistrystore.h"
#include "memoryregistrystore.h"
#include "testdata.h"

#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace quarvel;

namespace {

enum class StoreKind { Memory, File };

class StoreTest : public ::testing::TestWithParam<StoreKind>
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(mDir.isValid());
        if (GetParam() == StoreKind::File)
            mStore = std::make_unique<FileRegistryStore>(mDir.filePath(QStringLiteral("sub/registry.ini")));
        else
            mStore = std::make_unique<MemoryRegistryStore>();
    }

    RegKey create(RegKey root, const QString &key)
    {
        RegKey opened = RegKey::Null;
        EXPECT_EQ(mStore->createKey(root, key, &opened), kRegSuccess) << qPrintable(key);
        return opened;
    }

    RegResult query(RegKey key, QByteArray *data, qsizetype capacity = 255)
    {
        RegValueType type = 0;
        return mStore->queryValue(key, QString(), &type, data, capacity);
    }

    QTemporaryDir mDir;
    std::unique_ptr<MemoryRegistryStore> mStore;
};

TEST_P(StoreTest, OpeningAMissingKeyFailsAndCreatingMakesTheWholePath)
{
    RegKey opened = RegKey::Null;
    EXPECT_EQ(mStore->openKey(RegKey::ClassesRoot, QStringLiteral("AutoCADSlide\\Shell"), &opened),
              kRegFileNotFound);
    EXPECT_EQ(opened, RegKey::Null);

    mStore->closeKey(create(RegKey::ClassesRoot, QStringLiteral("AutoCADSlide\\Shell\\open\\command")));
    EXPECT_TRUE(mStore->keyExists(RegKey::ClassesRoot, QStringLiteral("AutoCADSlide\\Shell\\open")));
    EXPECT_FALSE(mStore->keyExists(RegKey::LocalMachine, QStringLiteral("AutoCADSlide")));
    ASSERT_EQ(mStore->openKey(RegKey::ClassesRoot, QStringLiteral("AutoCADSlide\\Shell"), &opened),
              kRegSuccess);
    EXPECT_EQ(mStore->closeKey(opened), kRegSuccess);
}

TEST_P(StoreTest, KeyAndValueNamesIgnoreCase)
{
    const RegKey written = create(RegKey::LocalMachine, QStringLiteral("Software\\CLASSES\\.sld"));
    ASSERT_EQ(mStore->setValue(written, QStringLiteral("Content Type"), kRegSz, QByteArray("a\0", 2)), kRegSuccess);
    ASSERT_EQ(mStore->setValue(written, QString(), kRegSz, QByteArray("AutoCADSlide\0", 13)), kRegSuccess);

    RegKey read = RegKey::Null;
    ASSERT_EQ(mStore->openKey(RegKey::LocalMachine, QStringLiteral("SOFTWARE\\classes\\.SLD"), &read),
              kRegSuccess);
    QByteArray data;
    ASSERT_EQ(query(read, &data), kRegSuccess);
    EXPECT_EQ(data, QByteArray("AutoCADSlide\0", 13));
    RegValueType type = 0;
    ASSERT_EQ(mStore->queryValue(read, QStringLiteral("CONTENT TYPE"), &type, &data, 255), kRegSuccess);
    EXPECT_EQ(data, QByteArray("a\0", 2));
    mStore->closeKey(read);
    mStore->closeKey(written);
}

TEST_P(StoreTest, QueryFailsWhenTheValueDoesNotFitTheBuffer)
{
    const RegKey key = create(RegKey::ClassesRoot, QStringLiteral(".slb"));
    struct Case { qsizetype textLength; RegResult expected; };
    for (const Case &c : {Case{0, kRegSuccess}, Case{253, kRegSuccess}, Case{254, kRegSuccess},
                          Case{255, kRegMoreData}, Case{400, kRegMoreData}}) {
        const QByteArray bytes = QByteArray(c.textLength, 'x') + '\0';
        ASSERT_EQ(mStore->setValue(key, QString(), kRegSz, bytes), kRegSuccess);
        QByteArray data = "stale";
        RegValueType type = 0;
        EXPECT_EQ(mStore->queryValue(key, QString(), &type, &data, 255), c.expected) << c.textLength;
        EXPECT_EQ(type, kRegSz);
        EXPECT_EQ(data, c.expected == kRegSuccess ? bytes : QByteArray()) << c.textLength;
    }
    QByteArray data;
    RegValueType type = 0;
    EXPECT_EQ(mStore->queryValue(key, QStringLiteral("missing"), &type, &data, 255), kRegFileNotFound);
    mStore->closeKey(key);
}

TEST_P(StoreTest, DeletingAnOpenedKeyTakesEverythingBelowIt)
{
    const RegKey command = create(RegKey::ClassesRoot, QStringLiteral("AutoCADSlide\\Shell\\open\\command"));
    ASSERT_EQ(mStore->setValue(command, QString(), kRegSz, QByteArray("x %1\0", 5)), kRegSuccess);
    const RegKey shell = create(RegKey::ClassesRoot, QStringLiteral("AutoCADSlide\\Shell"));

    EXPECT_EQ(mStore->deleteKey(shell, QString()), kRegSuccess);
    EXPECT_FALSE(mStore->keyExists(RegKey::ClassesRoot, QStringLiteral("AutoCADSlide\\Shell")));
    EXPECT_TRUE(mStore->keyExists(RegKey::ClassesRoot, QStringLiteral("AutoCADSlide")));

    // Handles into the deleted tree are dead, but still have to be closed.
    QByteArray data;
    EXPECT_EQ(query(command, &data), kRegKeyDeleted);
    EXPECT_EQ(mStore->setValue(shell, QString(), kRegSz, "y"), kRegKeyDeleted);
    EXPECT_EQ(mStore->deleteKey(shell, QString()), kRegKeyDeleted);
    EXPECT_EQ(mStore->closeKey(command), kRegSuccess);
    EXPECT_EQ(mStore->closeKey(shell), kRegSuccess);
    EXPECT_EQ(mStore->closeKey(shell), kRegInvalidHandle);
}

TEST_P(StoreTest, RefusesWhatTheRegistryRefuses)
{
    RegKey opened = RegKey::Null;
    EXPECT_EQ(mStore->deleteKey(RegKey::ClassesRoot, QString()), kRegAccessDenied);
    EXPECT_EQ(mStore->deleteKey(RegKey::ClassesRoot, QStringLiteral("NoSuchClass\\Shell")), kRegFileNotFound);
    for (const char *bad : {"\\.sld", "a\\\\b", "a\\"})
        EXPECT_EQ(mStore->createKey(RegKey::ClassesRoot, QString::fromLatin1(bad), &opened), kRegBadPathname) << bad;
    EXPECT_EQ(mStore->openKey(static_cast<RegKey>(0x7777), QString(), &opened), kRegInvalidHandle);
    EXPECT_EQ(mStore->closeKey(static_cast<RegKey>(0x7777)), kRegInvalidHandle);
    EXPECT_EQ(mStore->closeKey(RegKey::LocalMachine), kRegSuccess);
}

INSTANTIATE_TEST_SUITE_P(Stores, StoreTest, ::testing::Values(StoreKind::Memory, StoreKind::File),
                         [](const auto &info) {
                             return info.param == StoreKind::File ? "File" : "Memory";
                         });

class FileStoreTest : public ::testing::Test
{
protected:
    QString path() const { return mDir.filePath(QStringLiteral("Quarvel/registry.ini")); }
    QTemporaryDir mDir;
};

TEST_F(FileStoreTest, ContentsSurviveANewInstanceByteForByte)
{
    // Names and bytes that the file's own syntax uses must come back intact.
    const QString key = QStringLiteral("Odd [key]=%\\Ключ\nline");
    const QString valueName = QStringLiteral("@=[x]");
    static const char raw[] = "C:\\Program Files\\Q %1 =[]\n\r;\0\xff";
    const QByteArray bytes(raw, sizeof raw - 1);
    {
        FileRegistryStore first(path());
        RegKey opened = RegKey::Null;
        ASSERT_EQ(first.createKey(RegKey::LocalMachine, key, &opened), kRegSuccess);
        ASSERT_EQ(first.setValue(opened, valueName, 7, bytes), kRegSuccess);
        ASSERT_EQ(first.setValue(opened, QString(), kRegSz, QByteArray("d\0", 2)), kRegSuccess);
        first.closeKey(opened);
    }
    FileRegistryStore second(path());
    RegKey opened = RegKey::Null;
    ASSERT_EQ(second.openKey(RegKey::LocalMachine, key.toUpper(), &opened), kRegSuccess);
    RegValueType type = 0;
    QByteArray data;
    ASSERT_EQ(second.queryValue(opened, valueName, &type, &data, 255), kRegSuccess);
    EXPECT_EQ(type, 7u);
    EXPECT_EQ(data, bytes);
    ASSERT_EQ(second.queryValue(opened, QString(), &type, &data, 255), kRegSuccess);
    EXPECT_EQ(data, QByteArray("d\0", 2));
    // The spelling a key was created with is what the file keeps.
    EXPECT_TRUE(test::readFile(path()).contains("HKEY_LOCAL_MACHINE\\Odd%20%5Bkey%5D"));
}

TEST_F(FileStoreTest, TwoInstancesSeeEachOthersChanges)
{
    FileRegistryStore first(path());
    FileRegistryStore second(path());
    RegKey opened = RegKey::Null;
    ASSERT_EQ(first.createKey(RegKey::ClassesRoot, QStringLiteral("AutoCADSlide\\Shell"), &opened), kRegSuccess);
    first.closeKey(opened);
    ASSERT_EQ(second.openKey(RegKey::ClassesRoot, QStringLiteral("AutoCADSlide\\Shell"), &opened), kRegSuccess);
    ASSERT_EQ(second.deleteKey(opened, QString()), kRegSuccess);
    EXPECT_FALSE(first.keyExists(RegKey::ClassesRoot, QStringLiteral("AutoCADSlide\\Shell")));
    EXPECT_TRUE(first.keyExists(RegKey::ClassesRoot, QStringLiteral("AutoCADSlide")));
}

TEST_F(FileStoreTest, AStoreThatCannotBeReadIsNeitherUsedNorReplaced)
{
    // A folder where the file should be: it exists but cannot be read.
    ASSERT_TRUE(QDir().mkpath(path()));
    FileRegistryStore store(path());
    RegKey opened = RegKey::Null;
    EXPECT_EQ(store.createKey(RegKey::ClassesRoot, QStringLiteral(".sld"), &opened), kRegIoFailed);
    EXPECT_EQ(opened, RegKey::Null);
    EXPECT_TRUE(QFileInfo(path()).isDir());
}

TEST_F(FileStoreTest, AFailedWriteIsReportedAsAFailure)
{
    // The store's folder cannot be made: a file is in the way.
    ASSERT_TRUE(test::writeFile(mDir.filePath(QStringLiteral("Quarvel")), "not a folder"));
    FileRegistryStore store(path());
    RegKey opened = RegKey::Null;
    EXPECT_EQ(store.createKey(RegKey::ClassesRoot, QStringLiteral(".sld"), &opened), kRegIoFailed);
    EXPECT_EQ(store.setValue(RegKey::ClassesRoot, QString(), kRegSz, "x"), kRegIoFailed);
}

} // namespace
