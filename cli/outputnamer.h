#pragma once

// File names for slides written out (extract, render of a whole library):
// the slide name made safe for the file system, plus an extension. Path
// separators and the characters Windows refuses (< > : " | ? * and control
// characters) become "_", trailing dots and spaces are dropped, and reserved
// device names (CON, NUL, COM1, ...) get a leading "_". Two slides that would
// land on the same file in one run (libraries may hold names differing only
// in case, or names that become equal once made safe) get "~2", "~3", ...
// so that no slide silently overwrites another.

#include <QDir>
#include <QSet>
#include <QString>

namespace quarvel::cli {

class OutputNamer
{
public:
    OutputNamer(const QDir &directory, QString extension);

    // Full path of the file for this slide name; unique within this namer.
    QString pathFor(const QString &slideName);

    static QString safeFileName(const QString &slideName);

private:
    QDir mDirectory;
    QString mExtension;   // with its dot
    QSet<QString> mTaken; // case-folded names already handed out
};

// The folder to write into, made when missing; throws SlideError when it
// cannot be made.
QDir makeOutputDirectory(const QString &path);

} // namespace quarvel::cli
