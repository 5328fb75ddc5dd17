#include "startup.h"

#include "frmstart.h"
#include "inifile.h"
#include "namecodec.h"
#include "paths.h"

#include <QApplication>
#include <QFile>
#include <QTimer>
#include <QWidget>

#include <charconv>
#include <chrono>

namespace quarvel {

namespace {

const QString kSettings = QStringLiteral("Settings");

// Only a value naming a real folder is taken; a file or a wildcard pattern
// would pass a bare directory lookup and then fail wherever the folder is
// used.
QString existingFolderOr(const QString &value, const QString &fallback)
{
    return !value.isEmpty() && IsExistingFolder(value) ? value : fallback;
}

class BusyPointer
{
public:
    BusyPointer() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~BusyPointer() { QApplication::restoreOverrideCursor(); }
    BusyPointer(const BusyPointer &) = delete;
    BusyPointer &operator=(const BusyPointer &) = delete;
};

// Waits for the first paint of a window, then writes the mark once the
// paint is over (the window's whole content has been drawn and flushed).
class FirstPaintMark : public QObject
{
public:
    FirstPaintMark(QWidget &window, QString file) : QObject(&window), mFile(std::move(file))
    {
        window.installEventFilter(this);
    }

    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Paint && !mSeen) {
            mSeen = true;
            watched->removeEventFilter(this);
            QTimer::singleShot(0, this, [this] { write(); });
        }
        return false;
    }

private:
    void write()
    {
        const double seconds =
            std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
        QFile mark(mFile);
        if (mark.open(QIODevice::Append))
            mark.write("painted " + QByteArray::number(seconds, 'f', 6) + '\n');
        QCoreApplication::exit(0);
    }

    QString mFile;
    bool mSeen = false;
};

QString decimalText(float value)
{
    char buffer[32];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    return QString::fromLatin1(buffer, result.ptr - buffer);
}

} // namespace

QString commandLineFromArguments(const QStringList &arguments)
{
    return arguments.mid(1).join(u' ');
}

QString commandLineFileOf(const QString &commandLine)
{
    qsizetype first = 0;
    qsizetype last = commandLine.size();
    while (first < last && commandLine.at(first) == u' ')
        ++first;
    while (last > first && commandLine.at(last - 1) == u' ')
        --last;
    QString file = commandLine.sliced(first, last - first);
    if (file.endsWith(u'"'))
        file.chop(1);
    if (file.startsWith(u'"'))
        file.remove(0, 1);
    return file;
}

void readStartupState(AppState &state, Prompts &prompts, const QString &commandLine)
{
    state.NewLibrary.reset();

    state.CommandLineFile = commandLineFileOf(commandLine);
    state.StartFolder.clear();
    state.StartFile.clear();
    if (!state.CommandLineFile.isEmpty()) {
        if (IsExistingFolder(state.CommandLineFile)) {
            // A folder, whatever its name ends with: the window starts in it
            // with nothing selected. The long form has no trailing separator
            // (a root stays the root).
            state.StartFolder = GetLongPath(state.CommandLineFile);
        } else if (!FileExists(state.CommandLineFile)) {
            prompts.message({PromptIcon::Critical,
                             QStringLiteral("Файл ") + state.CommandLineFile
                                 + QStringLiteral(" не найден")});
        } else {
            const QString longPath = GetLongPath(state.CommandLineFile);
            state.StartFolder = FolderOfPath(longPath);
            state.StartFile = NameOfPath(longPath);
            // A file in the root: the folder is the root itself, not the
            // empty text (or the bare drive) before the separator.
            const int rootLength = nativePaths().rootLength;
            if (!state.StartFile.isEmpty() && state.StartFolder.size() < rootLength)
                state.StartFolder = longPath.left(rootLength);
        }
    }

    const QString &ini = state.SettingsFile;
    if (!FileExists(ini))
        WriteIniString(ini, kSettings, QStringLiteral("Lang"), QStringLiteral("En"));

    if (state.StartFolder.isEmpty())
        state.StartFolder = existingFolderOr(ReadIniString(ini, kSettings, QStringLiteral("DirStartUp")),
                                             state.ProgramFolder);
    state.LibraryFolder = existingFolderOr(ReadIniString(ini, kSettings, QStringLiteral("DirLib")), {});
    state.SlideFolder = existingFolderOr(ReadIniString(ini, kSettings, QStringLiteral("DirSLD")), {});

    // Every run starts in Russian; the saved Lang is not read.
    state.LanguageCode = QStringLiteral("Ru");

    const QString captions = ReadIniString(ini, kSettings, QStringLiteral("UseCapt"));
    state.ButtonCaptions = captions == u"Use" || captions == u"NotUse" ? captions
                                                                        : QStringLiteral("Use");

    bool ok = false;
    const int codePage = ReadIniString(ini, kSettings, QStringLiteral("NameCodePage")).toInt(&ok);
    state.NameCodePage = ok && NameCodec::supportedCodePages().contains(codePage) ? codePage : 1251;
}

std::optional<RunningProgram> runStartup(AppState &state, Prompts &prompts,
                                         const QString &commandLine,
                                         const MainWindowFactory &createMainWindow,
                                         const QString &lockFolder)
{
    RunningProgram run;
    run.guard = std::make_unique<SingleInstanceGuard>(state.ProgramFolder, lockFolder);
    if (run.guard->anotherIsRunning()) {
        prompts.message({PromptIcon::Exclamation, QStringLiteral("Программа уже запущена")});
        return std::nullopt;
    }

    std::optional<BusyPointer> busy(std::in_place);
    auto splash = std::make_unique<FrmStart>();
    splash->show();
    splash->repaint();
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);

    readStartupState(state, prompts, commandLine);
    run.mainWindow = createMainWindow(state);

    splash.reset();
    busy.reset();
    // Without a main window there is nothing to run.
    if (!run.mainWindow)
        return std::nullopt;
    run.mainWindow->show();
    return run;
}

void markFirstPaintForBenchmark(QWidget &window)
{
    const QString file = qEnvironmentVariable("QUARVEL_STARTUP_MARK");
    if (!file.isEmpty())
        new FirstPaintMark(window, file);
}

void writeWindowKeys(const QString &settingsFile, const WindowKeys &keys)
{
    const auto write = [&](const char *key, const QString &value) {
        WriteIniString(settingsFile, kSettings, QString::fromLatin1(key), value);
    };
    write("WinMode", QString::number(keys.WinMode));
    write("WinH", decimalText(keys.WinH));
    write("WinW", decimalText(keys.WinW));
    write("WinSldW", decimalText(keys.WinSldW));
    write("WinETH", decimalText(keys.WinETH));
    write("WinETW", decimalText(keys.WinETW));
    write("WinELH", decimalText(keys.WinELH));
    write("WinELW", decimalText(keys.WinELW));
}

} // namespace quarvel
