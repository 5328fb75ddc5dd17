// Metafiles shown as pictures: every real metafile plays, and anything that
// is not a sound metafile leaves the panel empty with a reason.

#include "metafileimage.h"
#include "metafileview.h"
#include "testdata.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <algorithm>

using namespace quarvel;

// Counts pixels that differ clearly from fully transparent white.
static int inkedPixels(const QImage &image)
{
    int count = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QRgb p = image.pixel(x, y);
            count += qAlpha(p) > 0 && std::min({qRed(p), qGreen(p), qBlue(p)}) < 200;
        }
    }
    return count;
}

TEST(Metafile, EveryCorpusMetafilePlaysWithinTheRequestedSize)
{
    const QStringList files = test::corpusFiles(QStringLiteral("wmf"));
    ASSERT_FALSE(files.isEmpty());
    for (const QString &path : files) {
        SCOPED_TRACE(path.toStdString());
        QString error;
        const QImage image = renderMetafile(path, QSize(400, 300), &error);
        ASSERT_FALSE(image.isNull()) << error.toStdString();
        EXPECT_TRUE(error.isEmpty());
        EXPECT_TRUE(QRect(0, 0, 400, 300).contains(image.rect()) && (image.width() == 400 || image.height() == 300))
            << image.width() << "x" << image.height();
        // This one draws white polygons without outlines: nothing shows on white paper.
        EXPECT_TRUE(path.endsWith(QLatin1String("empty-polygon-close.wmf")) || inkedPixels(image) > 20);
    }
}

TEST(Metafile, BrokenFilesLeaveThePanelEmptyWithAReason)
{
    QTemporaryDir dir;
    const QByteArray good = test::readFile(test::corpusDir(QStringLiteral("wmf/santa.wmf")));
    QByteArray hugeRecord = good;
    hugeRecord[40] = hugeRecord[41] = '\xff';
    const struct { const char *name; QByteArray bytes; const char *reason; } cases[] = {
        {"empty.wmf", QByteArray(), "too short"},
        {"text.wmf", QByteArray(200, 'x'), "not a Windows metafile"},
        {"cut.wmf", good.left(good.size() / 2), "damaged at byte"},
        {"huge.wmf", hugeRecord, "runs past the end"},
    };
    MetafileView view;
    view.resize(200, 100);
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        const QString path = dir.filePath(QString::fromLatin1(c.name));
        ASSERT_TRUE(test::writeFile(path, c.bytes));
        EXPECT_FALSE(view.setPicture(path));
        EXPECT_TRUE(view.lastError().contains(QString::fromLatin1(c.name)));
        EXPECT_TRUE(view.lastError().contains(QLatin1String(c.reason))) << view.lastError().toStdString();
    }
    EXPECT_FALSE(view.setPicture(dir.filePath(QStringLiteral("missing.wmf"))));
    EXPECT_TRUE(view.setPicture(test::corpusDir(QStringLiteral("wmf/santa.wmf"))));
    EXPECT_TRUE(view.setPicture(QString()));
}
