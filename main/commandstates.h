#pragma once

// Which commands of the main window are enabled for the file on view, and
// which buttons a running command switches off.

#include "paths.h"

#include <QList>
#include <QString>
#include <QtGlobal>

#include <optional>

namespace quarvel {


// The format the export button repeats on a plain click, shown by its picture.
enum class ExportFormat { Sld, Wmf };

struct CommandStates
{
    bool saveAs = false;      // cmdFBSave, File > Save As (mnuFSaveAs)
    bool addSlide = false;    // cmdFBAdd, Actions > Add Slide (mnuADdd)
    bool deleteSlide = false; // cmdFBDel, Actions > Delete Slide (mnuADelete)
    bool exportSlide = false; // cmdFBExtr, Actions > Export (mnuAExport)
    bool exportToSld = false; // Export > SLD (mnuAESLD), pop-up to SLD (pmnuESLD)
    bool slideList = false;   // List1
    // The picture to give the export button; none leaves it as it is.
    std::optional<ExportFormat> exportPicture;

    friend bool operator==(const CommandStates &, const CommandStates &) = default;
};

// The states for a file just opened, from its name and the number of entries
// in the slide list. A library needs two slides for Delete, since its last
// slide cannot be deleted; export to SLD is offered only from a library; a
// single slide switches the export button to WMF. New, Open, Favourites,
// Options and Exit are never switched off here.
CommandStates setButtEnabled(const QString &libraryName, qint32 listCount);

// Nothing open: a folder, a metafile, or a file that failed to open.
CommandStates noLibraryStates();

struct ControlEnabled
{
    QString name;
    bool enabled = false;
};

// Every control the states switch, by name: the four buttons, the menu items
// that copy them, the SLD export items and List1.
QList<ControlEnabled> controlStates(const CommandStates &states);

enum class MainCommand { New, Open, SaveAs, Add, Delete, Export, Favorites, Options, Exit };

enum class WhileRunning {
    NothingOff,            // Delete, Export and Exit stay as they are
    OwnButtonOff,          // the command's button is off until it ends
    WindowAndOwnButtonOff, // Open also disables the whole window
};

WhileRunning whileRunning(MainCommand command);

} // namespace quarvel
