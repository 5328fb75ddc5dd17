#pragma once

// What a Linux desktop needs so that opening a .sld or .slb file in a file
// manager starts the program with that file: a desktop entry that runs the
// program with the file's path, MIME types for the two extensions, and the
// program as the default application for them. Everything goes into the
// user's own folders ($XDG_DATA_HOME, $XDG_CONFIG_HOME), so no rights beyond
// the user's are needed, and everything is taken away again on removal while
// the user's other settings stay as they were.
//
// The registry entries remain the record of whether the association is in
// place; this class only keeps the desktop in step with them.

#include <QString>
#include <QStringList>

#include <functional>

namespace quarvel {

inline constexpr char kSlideMimeType[] = "image/vnd.sld";
// The names slides went by before image/vnd.sld was registered. The MIME
// definitions keep them as aliases; earlier versions made the program the
// default application under the last one.
inline constexpr const char *kSlideMimeAliases[] = {"image/x-sld", "application/x-autocad-slide"};
inline constexpr char kLibraryMimeType[] = "application/x-autocad-slide-library";
inline constexpr char kDesktopEntryName[] = "quarvel.desktop";

class DesktopIntegration
{
public:
    // Runs one of the desktop's cache tools ("update-mime-database",
    // "update-desktop-database") on a folder, if the tool is installed.
    using ToolRunner = std::function<void(const QString &tool, const QStringList &arguments)>;

    explicit DesktopIntegration(QString programPath, ToolRunner runTool = runInstalledTool);

    // Installs the desktop entry and the MIME types (unchanged files are not
    // rewritten) and makes the program the default application for mimeType,
    // ahead of any application the user had chosen (also on the lines the
    // user's list has for the type's aliases). False when a file could not be
    // written.
    bool associate(const QString &mimeType);
    // Removes the desktop entry, the MIME types and the program from the
    // default applications of both types and of the slide type's aliases. False when a file could not be
    // changed.
    bool remove();

    static QString desktopEntryPath();
    static QString mimePackagePath();
    static QString mimeAppsListPath();

    // The desktop entry that starts the program at programPath with one file.
    static QString desktopEntryText(const QString &programPath);
    // programPath as the program argument of an Exec line: quoted when it
    // holds characters the line reserves, with "%" doubled.
    static QString execArgument(const QString &programPath);
    // The text of a mimeapps.list with entry first among the default
    // applications of mimeType / with entry taken out of them. Every other
    // line stays as it was.
    static QString withDefaultApplication(const QString &mimeApps, const QString &mimeType,
                                          const QString &entry);
    static QString withoutDefaultApplication(const QString &mimeApps, const QString &mimeType,
                                             const QString &entry);

    // The runner used outside tests: looks the tool up on PATH and waits for
    // it; a missing or failing tool is ignored, since the files themselves
    // are in place and the desktop picks them up on its next scan.
    static void runInstalledTool(const QString &tool, const QStringList &arguments);

private:
    bool editMimeApps(const std::function<QString(const QString &)> &edit);
    void refreshCaches(bool entriesChanged, bool mimeTypesChanged);

    QString mProgramPath;
    ToolRunner mRunTool;
};

} // namespace quarvel
