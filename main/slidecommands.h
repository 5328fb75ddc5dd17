#pragma once

// What the main window does with a file beyond showing it: the checks a
// newly read library or slide must pass before it is shown, the note on
// damage beside the slide on view, and the New and Save As commands.

#include "appstate.h"
#include "captions.h"
#include "maindialogs.h"
#include "prompts.h"

#include <QString>
#include <QStringList>

#include <optional>

namespace quarvel {

class LibraryEditor;
class SlideLibrary;

// A file just read into library for the slide list: the names to list (a
// single slide's one name), or why it is refused. dropObject: the object
// is not kept either (a directory of nothing but dangling entries).
struct OpenCheck
{
    QStringList names;
    std::optional<MessageText> refusal;
    bool dropObject = false;
};
OpenCheck checkOpened(const SlideLibrary &library, const QString &path, Language language);

// What is wrong with slide of library and with the library itself, in
// language; empty when both are sound (or nothing is open).
QString damageNote(const SlideLibrary *library, const QString &slide, Language language);

class SlideCommands
{
public:
    SlideCommands(AppState &state, Prompts &prompts, MainDialogs &dialogs, LibraryEditor &editor);

    // New: the builder, then the save dialog in DirLib (or shownFolder);
    // false when the builder was cancelled.
    bool newLibrary(const QString &shownFolder);
    // Add: the slide file to add to library, chosen in the folder of the
    // run's first Add (shownFolder for that one); empty when cancelled.
    QString slideToAdd(const QString &library, const QString &shownFolder);
    // Save As of the open file openPath (slide currentRow on view) in a
    // file chosen in shownFolder; the open file itself stays as it is.
    void saveAs(const QString &openPath, const QString &shownFolder, int currentRow);

private:
    ExploreDialog explore();
    void failed(const class SlideError &error);

    AppState &mState;
    Prompts &mPrompts;
    MainDialogs &mDialogs;
    LibraryEditor &mEditor;
};

} // namespace quarvel
