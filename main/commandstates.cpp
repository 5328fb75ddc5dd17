#include "commandstates.h"

namespace quarvel {

CommandStates setButtEnabled(const QString &libraryName, qint32 listCount)
{
    CommandStates states;
    switch (fileKindOf(libraryName)) {
    case FileKind::Library:
        states.saveAs = true;
        states.addSlide = true;
        states.deleteSlide = listCount >= 2;
        states.exportSlide = true;
        states.exportToSld = true;
        break;
    case FileKind::Slide:
        // A single slide can be saved under another name (the object saves
        // the one slide it holds) and exported, but there is nothing to add
        // it to and only the metafile export makes sense.
        states.saveAs = true;
        states.exportSlide = true;
        states.exportPicture = ExportFormat::Wmf;
        break;
    case FileKind::Metafile:
    case FileKind::Other:
        break;
    }
    states.slideList = listCount > 1;
    return states;
}

CommandStates noLibraryStates()
{
    return setButtEnabled(QString(), 0);
}

QList<ControlEnabled> controlStates(const CommandStates &s)
{
    return {
        {QStringLiteral("cmdFBSave"), s.saveAs},
        {QStringLiteral("cmdFBAdd"), s.addSlide},
        {QStringLiteral("cmdFBDel"), s.deleteSlide},
        {QStringLiteral("cmdFBExtr"), s.exportSlide},
        {QStringLiteral("mnuAESLD"), s.exportToSld},
        {QStringLiteral("mnuFSaveAs"), s.saveAs},
        {QStringLiteral("mnuADdd"), s.addSlide},
        {QStringLiteral("mnuADelete"), s.deleteSlide},
        {QStringLiteral("mnuAExport"), s.exportSlide},
        {QStringLiteral("pmnuESLD"), s.exportToSld},
        {QStringLiteral("List1"), s.slideList},
    };
}

WhileRunning whileRunning(MainCommand command)
{
    switch (command) {
    case MainCommand::Open:
        return WhileRunning::WindowAndOwnButtonOff;
    case MainCommand::New:
    case MainCommand::SaveAs:
    case MainCommand::Add:
    case MainCommand::Favorites:
    case MainCommand::Options:
        return WhileRunning::OwnButtonOff;
    case MainCommand::Delete:
    case MainCommand::Export:
    case MainCommand::Exit:
        break;
    }
    return WhileRunning::NothingOff;
}

} // namespace quarvel
