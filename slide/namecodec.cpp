#include "namecodec.h"

#include "core/coreerror.h"

#include <string_view>

namespace quarvel {

namespace {

std::string_view view(const QByteArray &bytes)
{
    return {bytes.constData(), static_cast<std::size_t>(bytes.size())};
}

} // namespace

QString NameCodec::decode(const QByteArray &bytes) const
{
    return QString::fromStdString(mPage.decode(view(bytes)));
}

std::optional<QByteArray> NameCodec::encodeNew(const QString &name, QString *why,
                                               std::optional<core::Error> *error) const
{
    try {
        const std::string bytes = mPage.encodeNew(name.toStdString());
        return QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size()));
    } catch (const core::Error &e) {
        if (why)
            *why = QString::fromStdString(e.reasonText());
        if (error)
            *error = e;
        return std::nullopt;
    }
}

bool NameCodec::sameName(const QString &a, const QString &b) const
{
    return core::NameCodePage::sameText(a.toStdString(), b.toStdString());
}

bool NameCodec::matches(const QByteArray &raw, const QString &typed) const
{
    return mPage.matches(view(raw), typed.toStdString());
}

QList<int> NameCodec::supportedCodePages()
{
    QList<int> pages;
    for (const core::CodePageInfo &info : core::NameCodePage::supportedCodePages())
        pages.append(info.number);
    return pages;
}

} // namespace quarvel
