#pragma once

#include <QString>

#include <stdexcept>

namespace quarvel {

// The one error type of the slide component. Every operation that cannot do
// its work throws it; the message names the file and the reason, and, for
// damaged data, the byte offset where the damage was found.
class SlideError : public std::runtime_error
{
public:
    SlideError(QString file, QString reason, qint64 offset = -1);

    const QString &file() const { return mFile; }
    const QString &reason() const { return mReason; }
    qint64 offset() const { return mOffset; }

    // "FILE: reason" or "FILE, byte N: reason".
    QString message() const;

private:
    QString mFile;
    QString mReason;
    qint64 mOffset;
};

} // namespace quarvel
