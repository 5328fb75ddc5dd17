#pragma once

// Captions and messages of the file dialog, the folder picker and the
// favourites dialog, in both languages. Texts are kept exactly as shown, with
// "\r\n" as the line break inside messages (Prompts turns it into one). The
// messages these dialogs share with the main window (a file that is not a
// library or slide) come from captions.h.

#include "captions.h"
#include "dialogpaths.h"
#include "prompts.h"

#include <QString>

namespace quarvel {

// frmExplore: title, accept caption, labels and tooltips follow the operation
// (open or save) and the language.
struct ExploreCaptions
{
    QString title;
    QString accept;          // cmdSave
    QString fileNameLabel;   // lblFileName
    QString fileTypeLabel;   // lblFileType
    QString cancel;          // CancelButton
    QString getDirTip;       // cmdGetDir
    QString favoritesTip;    // cmdFav
    QString newFolderTip;    // cmdNewDir
};
ExploreCaptions exploreCaptions(Language language, bool save);

// frmGetDir.
struct FolderPickerCaptions
{
    QString title;
    QString prompt;   // lbl1
    QString ok;       // cmdOK
    QString cancel;   // CancelButton
};
FolderPickerCaptions folderPickerCaptions(Language language);

// frmFav.
struct FavoriteCaptions
{
    QString title;
    QString folders;       // Label1
    QString goTo;          // cmdGoTo
    QString add;           // cmdAdd
    QString addActive;     // cmdAddActive
    QString remove;        // cmdDelete
    QString removeAll;     // vmdRemoveAll
    QString close;         // cmdClose
};
FavoriteCaptions favoriteCaptions(Language language);

// The input box of the new-folder button.
struct InputText
{
    QString prompt;
    QString title;
    QString defaultText;
};
InputText newFolderInput(Language language);

// Open mode, accept: the file is not there (OK stays, Cancel leaves).
MessageSpec fileNotFoundQuestion(Language language, const QString &path);
// Save mode, accept: the file exists already (Yes or No).
MessageSpec overwriteQuestion(Language language, const QString &path);
// A new folder name holding a character that no file name may hold; titled
// like the input box.
MessageSpec invalidFolderNameMessage(Language language);
// Why a new folder could not be made; parent is the folder above it.
MessageSpec folderNotCreatedMessage(Language language, const QString &folder, FolderFailure why,
                                    const QString &parent);
// Go To on a favourite whose folder is gone.
MessageSpec directoryNotFoundMessage(Language language, const QString &folder);
// Add Folder with a folder of the network neighbourhood.
MessageSpec networkFolderMessage(Language language);

} // namespace quarvel
