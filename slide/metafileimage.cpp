#include "metafileimage.h"

#include "metafileplayer.h"

#include <QDir>
#include <QFile>

namespace quarvel {

namespace {

constexpr qsizetype kPlaceableSize = 22;
constexpr qsizetype kHeaderSize = 18;
constexpr qint64 kMaxMetafileSize = 64 << 20;

quint32 le16(const char *p)
{
    const auto *u = reinterpret_cast<const unsigned char *>(p);
    return u[0] | (u[1] << 8);
}

quint32 le32(const char *p)
{
    return le16(p) | (le16(p + 2) << 16);
}

} // namespace

QString checkMetafile(const QByteArray &bytes)
{
    const char *data = bytes.constData();
    qsizetype pos = 0;
    if (bytes.size() >= 4 && le32(data) == 0x9AC6CDD7u)
        pos = kPlaceableSize;
    if (bytes.size() < pos + kHeaderSize)
        return QStringLiteral("the file is too short to be a Windows metafile");
    const quint32 type = le16(data + pos);
    const quint32 headerWords = le16(data + pos + 2);
    const quint32 version = le16(data + pos + 4);
    if ((type != 1 && type != 2) || headerWords != 9 || (version != 0x0300 && version != 0x0100))
        return QStringLiteral("not a Windows metafile (no metafile header)");
    pos += kHeaderSize;
    // Real files disagree with their own size fields, so the records are
    // walked instead: each must lie inside the file, up to the end record.
    while (pos + 6 <= bytes.size()) {
        const quint64 words = le32(data + pos);
        const quint32 function = le16(data + pos + 4);
        if (function == 0)
            return {};
        if (words < 3 || words * 2 > static_cast<quint64>(bytes.size() - pos))
            return QStringLiteral("the metafile is damaged at byte %1 (a record runs past the end)").arg(pos);
        pos += static_cast<qsizetype>(words * 2);
    }
    return QStringLiteral("the metafile has no end record");
}

QImage renderMetafile(const QString &path, QSize maxSize, QString *error)
{
    auto fail = [&](const QString &reason) {
        if (error)
            *error = QDir::toNativeSeparators(path) + QStringLiteral(": ") + reason;
        return QImage();
    };
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return fail(QStringLiteral("cannot read: %1").arg(file.errorString()));
    if (file.size() > kMaxMetafileSize)
        return fail(QStringLiteral("the metafile is larger than 64 MiB"));
    QByteArray bytes = file.readAll();
    if (const QString why = checkMetafile(bytes); !why.isEmpty())
        return fail(why);
    if (maxSize.width() < 1 || maxSize.height() < 1)
        return fail(QStringLiteral("no room to show the picture"));

    QString why;
    QImage image = playMetafile(bytes, maxSize, &why);
    if (image.isNull())
        return fail(why);
    if (error)
        error->clear();
    return image;
}

} // namespace quarvel
