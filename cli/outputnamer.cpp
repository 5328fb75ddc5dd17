#include "outputnamer.h"

#include "slideerror.h"

#include <array>

namespace quarvel::cli {

OutputNamer::OutputNamer(const QDir &directory, QString extension)
    : mDirectory(directory), mExtension(std::move(extension))
{
}

QString OutputNamer::safeFileName(const QString &slideName)
{
    QString name;
    name.reserve(slideName.size());
    for (const QChar c : slideName) {
        const bool refused = c.unicode() < 0x20 || c == QChar(0x7F)
                             || QStringLiteral("<>:\"/\\|?*").contains(c);
        name.append(refused ? QLatin1Char('_') : c);
    }
    while (name.endsWith(QLatin1Char('.')) || name.endsWith(QLatin1Char(' ')))
        name.chop(1);
    if (name.isEmpty())
        return QStringLiteral("_");

    // Windows treats these as devices whatever the extension.
    static const std::array<const char *, 4> kDevices = {"CON", "PRN", "AUX", "NUL"};
    const QString stem = name.section(QLatin1Char('.'), 0, 0).trimmed().toUpper();
    bool reserved = false;
    for (const char *device : kDevices)
        reserved = reserved || stem == QLatin1String(device);
    if (stem.size() == 4 && (stem.startsWith(QLatin1String("COM")) || stem.startsWith(QLatin1String("LPT")))
        && stem[3] >= QLatin1Char('1') && stem[3] <= QLatin1Char('9'))
        reserved = true;
    return reserved ? QLatin1Char('_') + name : name;
}

QString OutputNamer::pathFor(const QString &slideName)
{
    const QString base = safeFileName(slideName);
    QString candidate = base + mExtension;
    for (int n = 2; mTaken.contains(candidate.toCaseFolded()); ++n)
        candidate = QStringLiteral("%1~%2%3").arg(base).arg(n).arg(mExtension);
    mTaken.insert(candidate.toCaseFolded());
    return mDirectory.filePath(candidate);
}

QDir makeOutputDirectory(const QString &path)
{
    QDir dir(path);
    if (!dir.exists() && !QDir().mkpath(path))
        throw SlideError(QDir::toNativeSeparators(path), QStringLiteral("cannot create the folder"));
    return dir;
}

} // namespace quarvel::cli
