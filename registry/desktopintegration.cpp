#include "desktopintegration.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QSaveFile>
#include <QStandardPaths>

#include <algorithm>

namespace quarvel {

namespace {

constexpr char kDesktopEntryTemplate[] = ":/quarvel/quarvel.desktop";
constexpr char kMimePackageResource[] = ":/quarvel/quarvel-mime.xml";
constexpr char kDefaultApplications[] = "[Default Applications]";

// The tools wait for a cache rebuild; one that hangs must not hang the
// program with it.
constexpr int kToolTimeoutMs = 30000;

QByteArray resource(const char *path)
{
    QFile file(QString::fromLatin1(path));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// A string value of a desktop entry: backslashes and control characters
// escaped as the format wants them.
QString escapeDesktopString(const QString &text)
{
    QString out;
    for (const QChar c : text) {
        switch (c.unicode()) {
        case u'\\': out += QStringLiteral("\\\\"); break;
        case u'\n': out += QStringLiteral("\\n"); break;
        case u'\t': out += QStringLiteral("\\t"); break;
        case u'\r': out += QStringLiteral("\\r"); break;
        default: out += c;
        }
    }
    return out;
}

// Writes bytes to path unless it already holds exactly them; *changed tells
// whether the file was written.
bool writeIfChanged(const QString &path, const QByteArray &bytes, bool *changed)
{
    *changed = false;
    QFile current(path);
    if (current.open(QIODevice::ReadOnly) && current.readAll() == bytes)
        return true;
    current.close();
    if (!QDir().mkpath(QFileInfo(path).absolutePath()))
        return false;
    QSaveFile file(path);
    file.setDirectWriteFallback(false);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size()) {
        file.cancelWriting();
        return false;
    }
    *changed = file.commit();
    return *changed;
}

bool removeIfPresent(const QString &path, bool *removed)
{
    *removed = false;
    if (!QFileInfo::exists(path))
        return true;
    *removed = QFile::remove(path);
    return *removed;
}

// One line of a mimeapps.list split into its key and its list of desktop
// entries; false for section headers, comments and blank lines.
struct ListLine
{
    QString key;
    QStringList entries;
    bool trailingSemicolon = false;
};

bool parseListLine(const QString &line, ListLine *parsed)
{
    const QString trimmed = line.trimmed();
    const qsizetype equals = trimmed.indexOf(u'=');
    if (trimmed.startsWith(u'#') || trimmed.startsWith(u'[') || equals <= 0)
        return false;
    parsed->key = trimmed.left(equals).trimmed();
    const QString value = trimmed.mid(equals + 1).trimmed();
    parsed->entries.clear();
    for (const QString &entry : value.split(u';')) {
        if (!entry.trimmed().isEmpty())
            parsed->entries << entry.trimmed();
    }
    parsed->trailingSemicolon = value.endsWith(u';');
    return true;
}

QString formatListLine(const ListLine &line)
{
    return line.key + u'=' + line.entries.join(u';')
           + (line.trailingSemicolon ? QStringLiteral(";") : QString());
}

bool isSectionHeader(const QString &line)
{
    const QString trimmed = line.trimmed();
    return trimmed.startsWith(u'[') && trimmed.endsWith(u']');
}

// The file as lines without their line breaks, and back; a last line always
// ends with a line break.
QStringList toLines(const QString &text)
{
    QStringList lines = text.split(u'\n');
    if (lines.last().isEmpty())
        lines.removeLast();
    return lines;
}

QString fromLines(const QStringList &lines)
{
    return lines.isEmpty() ? QString() : lines.join(u'\n') + u'\n';
}

// The lines [*begin, *end) of the [Default Applications] section, header
// included; false when the file has none.
bool findDefaultsSection(const QStringList &lines, qsizetype *begin, qsizetype *end)
{
    *begin = -1;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        if (lines[i].trimmed() == QLatin1String(kDefaultApplications)) {
            *begin = i;
            break;
        }
    }
    if (*begin < 0)
        return false;
    *end = *begin + 1;
    while (*end < lines.size() && !isSectionHeader(lines[*end]))
        ++*end;
    return true;
}

bool isMimeTypeLine(const QString &line, const QString &mimeType, ListLine *parsed)
{
    return parseListLine(line, parsed) && parsed->key.compare(mimeType, Qt::CaseInsensitive) == 0;
}

// Whether the [Default Applications] section has a line for mimeType.
bool listsDefaultsFor(const QString &mimeApps, const QString &mimeType)
{
    const QStringList lines = toLines(mimeApps);
    qsizetype begin = 0;
    qsizetype end = 0;
    ListLine parsed;
    return findDefaultsSection(lines, &begin, &end)
           && std::any_of(lines.begin() + begin + 1, lines.begin() + end,
                          [&](const QString &line) { return isMimeTypeLine(line, mimeType, &parsed); });
}

// The type and, for slides, its aliases.
QStringList namesOf(const QString &mimeType)
{
    QStringList names{mimeType};
    if (mimeType == QLatin1String(kSlideMimeType)) {
        for (const char *alias : kSlideMimeAliases)
            names << QLatin1String(alias);
    }
    return names;
}

} // namespace

DesktopIntegration::DesktopIntegration(QString programPath, ToolRunner runTool)
    : mProgramPath(std::move(programPath))
    , mRunTool(std::move(runTool))
{
}

QString DesktopIntegration::desktopEntryPath()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation)
           + QStringLiteral("/applications/") + QLatin1String(kDesktopEntryName);
}

QString DesktopIntegration::mimePackagePath()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation)
           + QStringLiteral("/mime/packages/quarvel.xml");
}

QString DesktopIntegration::mimeAppsListPath()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation)
           + QStringLiteral("/mimeapps.list");
}

QString DesktopIntegration::execArgument(const QString &programPath)
{
    static const QString reserved = QStringLiteral(" \t\n\"'\\><~|&;$*?#()`");
    const bool quote = programPath.isEmpty()
                       || std::any_of(programPath.begin(), programPath.end(),
                                      [](QChar c) { return reserved.contains(c); });
    QString argument;
    if (quote) {
        argument += u'"';
        for (const QChar c : programPath) {
            if (c == u'"' || c == u'`' || c == u'$' || c == u'\\')
                argument += u'\\';
            argument += c;
        }
        argument += u'"';
    } else {
        argument = programPath;
    }
    // "%" starts a field code even inside quotes.
    return argument.replace(u'%', QStringLiteral("%%"));
}

QString DesktopIntegration::desktopEntryText(const QString &programPath)
{
    QStringList lines = toLines(QString::fromUtf8(resource(kDesktopEntryTemplate)));
    for (QString &line : lines) {
        if (line.startsWith(QLatin1String("Exec=")))
            line = QStringLiteral("Exec=") + escapeDesktopString(execArgument(programPath))
                   + QStringLiteral(" %f");
        else if (line.startsWith(QLatin1String("TryExec=")))
            line = QStringLiteral("TryExec=") + escapeDesktopString(programPath);
    }
    return fromLines(lines);
}

QString DesktopIntegration::withDefaultApplication(const QString &mimeApps, const QString &mimeType,
                                                   const QString &entry)
{
    QStringList lines = toLines(mimeApps);
    qsizetype begin = 0;
    qsizetype end = 0;
    if (!findDefaultsSection(lines, &begin, &end)) {
        if (!lines.isEmpty() && !lines.last().trimmed().isEmpty())
            lines << QString();
        lines << QLatin1String(kDefaultApplications) << mimeType + u'=' + entry;
        return fromLines(lines);
    }

    ListLine parsed;
    for (qsizetype i = begin + 1; i < end; ++i) {
        if (isMimeTypeLine(lines[i], mimeType, &parsed)) {
            parsed.entries.removeAll(entry);
            parsed.entries.prepend(entry);
            lines[i] = formatListLine(parsed);
            return fromLines(lines);
        }
    }
    // A new line goes after the section's last entry, before the blank lines
    // that separate it from the next section.
    qsizetype at = end;
    while (at - 1 > begin && lines[at - 1].trimmed().isEmpty())
        --at;
    lines.insert(at, mimeType + u'=' + entry);
    return fromLines(lines);
}

QString DesktopIntegration::withoutDefaultApplication(const QString &mimeApps,
                                                      const QString &mimeType, const QString &entry)
{
    QStringList lines = toLines(mimeApps);
    qsizetype begin = 0;
    qsizetype end = 0;
    if (!findDefaultsSection(lines, &begin, &end))
        return mimeApps;

    bool changed = false;
    ListLine parsed;
    for (qsizetype i = end - 1; i > begin; --i) {
        if (!isMimeTypeLine(lines[i], mimeType, &parsed) || !parsed.entries.contains(entry))
            continue;
        parsed.entries.removeAll(entry);
        if (parsed.entries.isEmpty()) {
            lines.removeAt(i);
            --end;
        } else {
            lines[i] = formatListLine(parsed);
        }
        changed = true;
    }
    if (!changed)
        return mimeApps;

    // A section left without entries goes as well, and with it the blank
    // lines that set it apart when it closed the file.
    const bool sectionEmpty = std::all_of(lines.begin() + begin + 1, lines.begin() + end,
                                          [](const QString &line) { return line.trimmed().isEmpty(); });
    if (sectionEmpty) {
        lines.remove(begin, end - begin);
        if (begin == lines.size()) {
            while (!lines.isEmpty() && lines.last().trimmed().isEmpty())
                lines.removeLast();
        }
    }
    return fromLines(lines);
}

bool DesktopIntegration::editMimeApps(const std::function<QString(const QString &)> &edit)
{
    const QString path = mimeAppsListPath();
    QString before;
    QFile file(path);
    if (file.exists()) {
        // Never replace a list that could not be read: the user's choices
        // for every other file type are in it.
        if (!file.open(QIODevice::ReadOnly))
            return false;
        before = QString::fromUtf8(file.readAll());
        file.close();
    }
    const QString after = edit(before);
    if (after == before)
        return true;
    bool done = false;
    if (after.trimmed().isEmpty())
        return removeIfPresent(path, &done);
    return writeIfChanged(path, after.toUtf8(), &done);
}

void DesktopIntegration::refreshCaches(bool entriesChanged, bool mimeTypesChanged)
{
    if (mimeTypesChanged)
        mRunTool(QStringLiteral("update-mime-database"),
                 {QFileInfo(QFileInfo(mimePackagePath()).absolutePath()).absolutePath()});
    if (entriesChanged)
        mRunTool(QStringLiteral("update-desktop-database"),
                 {QFileInfo(desktopEntryPath()).absolutePath()});
}

bool DesktopIntegration::associate(const QString &mimeType)
{
    bool entryChanged = false;
    bool mimeChanged = false;
    const bool entryOk = writeIfChanged(desktopEntryPath(), desktopEntryText(mProgramPath).toUtf8(),
                                        &entryChanged);
    const bool mimeOk = writeIfChanged(mimePackagePath(), resource(kMimePackageResource), &mimeChanged);
    const bool listOk = editMimeApps([&](const QString &text) {
        const QString entry = QLatin1String(kDesktopEntryName);
        QString edited = withDefaultApplication(text, mimeType, entry);
        // A desktop that reads the list by alias would otherwise still find
        // the application chosen under the old name first.
        for (const QString &alias : namesOf(mimeType).mid(1)) {
            if (listsDefaultsFor(edited, alias))
                edited = withDefaultApplication(edited, alias, entry);
        }
        return edited;
    });
    refreshCaches(entryChanged, mimeChanged);
    return entryOk && mimeOk && listOk;
}

bool DesktopIntegration::remove()
{
    bool entryRemoved = false;
    bool mimeRemoved = false;
    const bool entryOk = removeIfPresent(desktopEntryPath(), &entryRemoved);
    const bool mimeOk = removeIfPresent(mimePackagePath(), &mimeRemoved);
    const bool listOk = editMimeApps([](const QString &text) {
        const QString entry = QLatin1String(kDesktopEntryName);
        QStringList types = namesOf(QLatin1String(kSlideMimeType));
        types << QLatin1String(kLibraryMimeType);
        QString edited = text;
        for (const QString &type : types)
            edited = withoutDefaultApplication(edited, type, entry);
        return edited;
    });
    refreshCaches(entryRemoved, mimeRemoved);
    return entryOk && mimeOk && listOk;
}

void DesktopIntegration::runInstalledTool(const QString &tool, const QStringList &arguments)
{
    const QString program = QStandardPaths::findExecutable(tool);
    if (program.isEmpty())
        return;
    QProcess process;
    process.setStandardOutputFile(QProcess::nullDevice());
    process.setStandardErrorFile(QProcess::nullDevice());
    process.start(program, arguments);
    if (process.waitForStarted() && !process.waitForFinished(kToolTimeoutMs)) {
        process.kill();
        process.waitForFinished();
    }
}

} // namespace quarvel
