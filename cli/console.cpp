#include "console.h"

#include <QByteArray>

#include <cstdio>

namespace quarvel::cli {

namespace {
void writeLine(std::FILE *stream, const QString &line)
{
    QByteArray bytes = line.toUtf8();
    bytes.append('\n');
    std::fwrite(bytes.constData(), 1, static_cast<std::size_t>(bytes.size()), stream);
}
} // namespace

void printLine(const QString &line)
{
    writeLine(stdout, line);
}

void printError(const QString &line)
{
    // Anything already printed on stdout goes first, so that a failure shows
    // up after the output it interrupted.
    std::fflush(stdout);
    writeLine(stderr, line);
}

} // namespace quarvel::cli
