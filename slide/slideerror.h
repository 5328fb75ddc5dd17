#pragma once

#include "core/coreerror.h"

#include <QString>

#include <stdexcept>

namespace quarvel {

// The error type of the slide component on the Qt side. Every operation that
// cannot do its work throws it; the message names the file and the reason,
// and, for damaged data, the byte offset where the damage was found. It
// carries the core error with its reason code, so that the windows can word
// the reason in the interface language.
class SlideError : public std::runtime_error
{
public:
    // A failure the core did not report: the reason is English text only.
    SlideError(QString file, QString reason, qint64 offset = -1);
    explicit SlideError(core::Error error);

    const QString &file() const { return mFile; }
    const QString &reason() const { return mReason; }   // English
    qint64 offset() const { return mOffset; }
    const core::Error &error() const { return mError; }

    // "FILE: reason" or "FILE, byte N: reason".
    QString message() const;

private:
    core::Error mError;
    QString mFile;
    QString mReason;
    qint64 mOffset;
};

} // namespace quarvel
