#include "metafileplayer.h"

#include <libwmf/api.h>
#include <libwmf/gd.h>

#include <algorithm>
#include <cmath>
#include <cstring>

namespace quarvel {

namespace {

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

QImage playMetafile(QByteArray &bytes, QSize maxSize, QString *reason)
{
    auto fail = [&](const QString &why) {
        *reason = why;
        return QImage();
    };
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
    return image;
}

} // namespace quarvel
