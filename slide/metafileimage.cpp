#include "metafileimage.h"

#include <QDir>
#include <QFile>

#include <libwmf/api.h>
#include <libwmf/gd.h>

#include <algorithm>
#include <cmath>
#include <cstring>

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

// Releases the player however playing ends.
struct Player
{
    wmfAPI *api = nullptr;
    ~Player()
    {
        if (api)
            wmf_api_destroy(api);
    }
};

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

    Player player;
    wmfAPI_Options options;
    std::memset(&options, 0, sizeof options);
    options.function = wmf_gd_function;
    const unsigned long flags = WMF_OPT_FUNCTION | WMF_OPT_IGNORE_NONFATAL | WMF_OPT_NO_ERROR;
    if (wmf_api_create(&player.api, flags, &options) != wmf_E_None)
        return fail(QStringLiteral("the metafile player cannot start"));
    auto *device = WMF_GD_GetData(player.api);
    if (wmf_mem_open(player.api, reinterpret_cast<unsigned char *>(bytes.data()), bytes.size()) != wmf_E_None)
        return fail(QStringLiteral("not a Windows metafile"));
    wmfD_Rect bbox;
    if (wmf_scan(player.api, 0, &bbox) != wmf_E_None)
        return fail(QStringLiteral("the metafile is damaged"));
    unsigned int naturalWidth = 0;
    unsigned int naturalHeight = 0;
    if (wmf_display_size(player.api, &naturalWidth, &naturalHeight, 96, 96) != wmf_E_None || naturalWidth == 0
        || naturalHeight == 0) {
        naturalWidth = static_cast<unsigned int>(std::max(1.0f, std::fabs(bbox.BR.x - bbox.TL.x)));
        naturalHeight = static_cast<unsigned int>(std::max(1.0f, std::fabs(bbox.BR.y - bbox.TL.y)));
    }
    const QSize size = QSize(static_cast<int>(naturalWidth), static_cast<int>(naturalHeight))
                           .scaled(maxSize, Qt::KeepAspectRatio)
                           .expandedTo(QSize(1, 1));
    // The player writes a PNG through a sink that we own: its own image
    // object could not be freed through its interface and would leak.
    QByteArray png;
    device->type = wmf_gd_png;
    device->flags |= WMF_GD_OUTPUT_MEMORY | WMF_GD_OWN_BUFFER;
    device->sink.context = &png;
    device->sink.function = [](void *context, char *buffer, int length) {
        static_cast<QByteArray *>(context)->append(buffer, length);
        return length;
    };
    device->bbox = bbox;
    device->width = static_cast<unsigned int>(size.width());
    device->height = static_cast<unsigned int>(size.height());
    if (wmf_play(player.api, 0, &bbox) != wmf_E_None)
        return fail(QStringLiteral("the metafile cannot be played"));
    QImage image;
    if (!image.loadFromData(png, "PNG"))
        return fail(QStringLiteral("the metafile cannot be played"));
    if (error)
        error->clear();
    return image;
}

} // namespace quarvel
