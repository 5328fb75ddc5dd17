#include "namecodec.h"

#include <QStringDecoder>
#include <QStringEncoder>

namespace quarvel {

namespace {

const char *encodingName(int codePage)
{
    switch (codePage) {
    case 874: return "windows-874";
    case 932: return "windows-31j";
    case 936: return "GBK";
    case 949: return "windows-949";
    case 950: return "Big5";
    case 1250: return "windows-1250";
    case 1251: return "windows-1251";
    case 1252: return "windows-1252";
    case 1253: return "windows-1253";
    case 1254: return "windows-1254";
    case 1255: return "windows-1255";
    case 1256: return "windows-1256";
    case 1257: return "windows-1257";
    case 1258: return "windows-1258";
    case 437: return "IBM437";
    case 850: return "IBM850";
    case 866: return "IBM866";
    default: return nullptr;
    }
}

bool isAscii(const QByteArray &bytes)
{
    for (char c : bytes) {
        if (static_cast<unsigned char>(c) >= 0x80)
            return false;
    }
    return true;
}

} // namespace

struct NameCodec::Converters
{
    QStringDecoder decoder;
    QStringEncoder encoder;
};

NameCodec::NameCodec(int codePage)
    : mCodePage(codePage)
{
    if (const char *name = encodingName(codePage)) {
        mConv = std::make_shared<Converters>(
            Converters{QStringDecoder(name, QStringConverter::Flag::Stateless),
                       QStringEncoder(name, QStringConverter::Flag::Stateless)});
        if (!mConv->decoder.isValid() || !mConv->encoder.isValid())
            mConv.reset();
    }
}

bool NameCodec::isValid() const
{
    return mConv != nullptr;
}

QList<int> NameCodec::supportedCodePages()
{
    QList<int> pages;
    for (int cp : {437, 850, 866, 874, 932, 936, 949, 950, 1250, 1251, 1252, 1253, 1254, 1255,
                   1256, 1257, 1258}) {
        if (NameCodec(cp).isValid())
            pages.append(cp);
    }
    return pages;
}

QString NameCodec::decode(const QByteArray &bytes) const
{
    if (isAscii(bytes) || !mConv)
        return QString::fromLatin1(bytes);
    return mConv->decoder.decode(bytes);
}

std::optional<QByteArray> NameCodec::encodeNew(const QString &name, QString *why) const
{
    auto refuse = [why](const QString &reason) -> std::optional<QByteArray> {
        if (why)
            *why = reason;
        return std::nullopt;
    };
    if (name.isEmpty())
        return refuse(QStringLiteral("the slide name is empty"));
    QString upper = name;
    for (QChar &c : upper) {
        if (c >= QLatin1Char('a') && c <= QLatin1Char('z'))
            c = QChar(c.unicode() - 'a' + 'A');
    }
    QByteArray bytes;
    if (!mConv) {
        if (!isAscii(upper.toLatin1()) || upper.toLatin1() != upper.toUtf8())
            return refuse(QStringLiteral("code page %1 is not available").arg(mCodePage));
        bytes = upper.toLatin1();
    } else {
        bytes = mConv->encoder.encode(upper);
        // A character the code page lacks is replaced silently by some
        // converters; only a clean round trip proves the name survives.
        if (mConv->encoder.hasError() || mConv->decoder.decode(bytes) != upper) {
            mConv->encoder.resetState();
            return refuse(QStringLiteral("the slide name \"%1\" has characters that code page %2 cannot hold")
                              .arg(name)
                              .arg(mCodePage));
        }
    }
    if (bytes.contains('\0'))
        return refuse(QStringLiteral("the slide name contains a NUL character"));
    if (bytes.size() > kMaxSlideNameBytes)
        return refuse(QStringLiteral("the slide name \"%1\" takes %2 bytes; a library holds at most 31")
                          .arg(name)
                          .arg(bytes.size()));
    return bytes;
}

bool NameCodec::sameName(const QString &a, const QString &b) const
{
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

} // namespace quarvel
