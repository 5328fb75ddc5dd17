#include "slideerror.h"

namespace quarvel {

static QString compose(const QString &file, const QString &reason, qint64 offset)
{
    if (offset >= 0)
        return QStringLiteral("%1, byte %2: %3").arg(file).arg(offset).arg(reason);
    return QStringLiteral("%1: %2").arg(file, reason);
}

SlideError::SlideError(QString file, QString reason, qint64 offset)
    : std::runtime_error(compose(file, reason, offset).toStdString())
    , mFile(std::move(file))
    , mReason(std::move(reason))
    , mOffset(offset)
{
}

QString SlideError::message() const
{
    return compose(mFile, mReason, mOffset);
}

} // namespace quarvel
