#pragma once

// Where the settings file lives: "Quarvel.ini" in the program's own folder.
// An installed program's folder often cannot be written (/usr on Linux,
// Program Files on Windows), and the settings would silently not be kept;
// then the file lives in the user's configuration folder instead: on Linux
// $XDG_CONFIG_HOME/Quarvel/Quarvel.ini (by default ~/.config/Quarvel),
// on Windows %APPDATA%\Quarvel\Quarvel.ini.

#include <QString>

namespace quarvel {

inline constexpr char16_t kSettingsFileName[] = u"Quarvel.ini";

// The choice itself. userConfigFolder is the folder that holds per-user
// configuration folders (XDG_CONFIG_HOME, on Windows APPDATA); it is used
// only when the program's folder is not writable.
QString settingsFilePath(const QString &programFolder, bool programFolderWritable,
                         const QString &userConfigFolder);

// True for the folders an installed program lives in (/usr/..., /bin,
// /sbin): settings never go there, even when the user may write there.
bool isSystemProgramFolder(const QString &programFolder);

// The choice on this machine for the program's folder. Creates the per-user
// folder when it is chosen and missing, so the first write can create the
// file.
QString settingsFilePath(const QString &programFolder);

} // namespace quarvel
