#include "slideerror.h"

#include <QDir>

namespace quarvel {

// The file is named in the form this system spells paths.
static QString compose(const QString &givenFile, const QString &reason, qint64 offset)
{
    if (givenFile.isEmpty())
        return reason;
    const QString file = QDir::toNativeSeparators(givenFile);
    if (offset >= 0)
        return QStringLiteral("%1, byte %2: %3").arg(file).arg(offset).arg(reason);
    return QStringLiteral("%1: %2").arg(file, reason);
}

SlideError::SlideError(QString file, QString reason, qint64 offset)
    : std::runtime_error(compose(file, reason, offset).toStdString())
    , mError(file.toStdString(), core::Reason::Other, reason.toStdString(), offset)
    , mFile(std::move(file))
    , mReason(std::move(reason))
    , mOffset(offset)
{
}

SlideError::SlideError(core::Error error)
    : std::runtime_error(error.message())
    , mError(std::move(error))
    , mFile(QString::fromStdString(mError.file()))
    , mReason(QString::fromStdString(mError.reasonText()))
    , mOffset(mError.offset())
{
}

QString SlideError::message() const
{
    return compose(mFile, mReason, mOffset);
}

} // namespace quarvel
