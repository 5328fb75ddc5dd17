#pragma once

// The start and the end of a run: one running copy, the command line, the
// settings read into the shared state, the splash and the busy pointer while
// the main window is made, and the window keys written when it closes.

#include "appstate.h"
#include "prompts.h"
#include "singleinstance.h"

#include <QString>
#include <QStringList>

#include <functional>
#include <memory>
#include <optional>

class QWidget;

namespace quarvel {

// The whole command line from the program's arguments (arguments[0] is the
// program): the rest joined with single spaces, so an unquoted path with
// spaces comes back whole.
QString commandLineFromArguments(const QStringList &arguments);

// The file to open from the command line: spaces at both ends removed, then a
// double quote at the end, then one at the start.
QString commandLineFileOf(const QString &commandLine);

// Fills state from the command line and the settings file: CommandLineFile,
// StartFolder, StartFile (a folder gives StartFolder alone; a path that is
// neither an existing file nor a folder is reported through prompts and
// dropped), LibraryFolder, SlideFolder, ButtonCaptions,
// NameCodePage, LanguageCode "Ru", NewLibrary cleared. Creates the settings
// file with Lang=En when it is missing. state.ProgramFolder and
// state.SettingsFile must be set.
void readStartupState(AppState &state, Prompts &prompts, const QString &commandLine);

// Creates (loads) the main window from the state without showing it.
using MainWindowFactory = std::function<std::unique_ptr<QWidget>(AppState &)>;

// A started program: keep it alive for the whole run.
struct RunningProgram
{
    std::unique_ptr<SingleInstanceGuard> guard;
    std::unique_ptr<QWidget> mainWindow;
};

// The start-up sequence. Refuses with the message "Программа уже запущена"
// and returns nothing, having read and written nothing, when another copy of
// this program (same ProgramFolder) runs. Otherwise shows the busy pointer
// and the splash, reads the state, makes the main window, removes the splash
// and the busy pointer, and shows the window (nothing is returned when the
// factory made none). lockFolder overrides the
// user's runtime folder for the lock (tests).
std::optional<RunningProgram> runStartup(AppState &state, Prompts &prompts,
                                         const QString &commandLine,
                                         const MainWindowFactory &createMainWindow,
                                         const QString &lockFolder = {});

// For the start-up benchmark: when the environment variable
// QUARVEL_STARTUP_MARK names a file, the window's first paint appends
// "painted SECONDS" (the monotonic clock) to it and ends the program, so that
// a script can time exec to the painted window from outside. Does nothing
// when the variable is unset.
void markFirstPaintForBenchmark(QWidget &window);

// What the main window writes to section Settings on every close. Sizes are
// in twips.
struct WindowKeys
{
    int WinMode = 0;   // 0 normal, 1 minimised, 2 maximised
    float WinH = 0;    // window height
    float WinW = 0;    // window width
    float WinSldW = 0; // slide view width
    float WinETH = 0;  // folder tree height
    float WinETW = 0;  // folder tree width
    float WinELH = 0;  // file list height
    float WinELW = 0;  // file list width
};

// Writes the eight keys, one write each, in the order of the fields, as
// decimal text (the shortest that reads back the same number).
void writeWindowKeys(const QString &settingsFile, const WindowKeys &keys);

} // namespace quarvel
