#pragma once

// The program's shared state: what start-up reads from the command line and
// the settings file, and the strings and objects that windows and dialogs
// hand to each other. One object is made by main() and passed by reference to
// whoever needs it, so each test can start from a fresh one. The field names
// are the names the rest of the program knows these values by.

#include "slidelibrary.h"

#include <QString>

#include <memory>

namespace quarvel {

struct AppState
{
    // The folder that holds the program, and the settings file in use.
    QString ProgramFolder;
    QString SettingsFile;

    // From the command line: the file to open at start, its folder and name.
    QString CommandLineFile;
    QString StartFolder;
    QString StartFile;

    // Settings DirLib and DirSLD; empty when unset or not an existing folder.
    QString LibraryFolder;
    QString SlideFolder;

    // "Ru" or "En"; anything but "Ru" behaves as English.
    QString LanguageCode = QStringLiteral("Ru");
    // "Use" or "NotUse": whether toolbar buttons show captions.
    QString ButtonCaptions = QStringLiteral("Use");
    // Windows code page of slide names in libraries (setting NameCodePage).
    int NameCodePage = 1251;

    // The last slide name read and the last value shown in a slide view.
    QString CurrentSlideName;
    QString CurrentSlideSpec;

    // Adding slides: the library added to and the folder slides came from.
    QString AddTargetLibrary;
    QString AddSlideFolder;

    // The folder the file dialog, the favourites and the folder picker start
    // from, and the results the last two leave behind.
    QString DialogFolder;
    QString FavoriteResult;
    QString FolderPickerResult;

    // The library on view in the main window, and the builder's result while
    // it is saved.
    std::unique_ptr<SlideLibrary> CurrentLibrary;
    std::unique_ptr<SlideLibrary> NewLibrary;
};

} // namespace quarvel
