#include "maindialogs.h"

#include "captions.h"
#include "paths.h"

#include <QFileDialog>
#include <QMessageBox>

namespace quarvel {

QString ShowOpenDialog(AppState &state, Prompts &prompts, const ExploreDialog &dialog,
                       const QString &folder, int fileTypes)
{
    if (!folder.isEmpty())
        state.DialogFolder = folder;
    while (true) {
        const QString name = dialog({fileTypes, folder, QString(), 0});
        if (name.isEmpty() || FileExists(name))
            return name;
        const MessageText m = fileNotFoundMessage(languageOf(state.LanguageCode), name);
        prompts.message({PromptIcon::Exclamation, m.text, m.title});
    }
}

QString ShowSaveDialog(AppState &state, const ExploreDialog &dialog, const QString &folder,
                       const QString &fileName, int fileTypes)
{
    if (!folder.isEmpty())
        state.DialogFolder = folder;
    return dialog({fileTypes, folder, fileName, 1});
}

namespace {
QString filterFor(int fileTypes)
{
    switch (fileTypes) {
    case LibraryFiles: return QStringLiteral("Slide libraries (*.slb)");
    case SlideFiles: return QStringLiteral("Slides (*.sld)");
    case MetafileFiles: return QStringLiteral("Windows metafiles (*.wmf)");
    case DxfFiles: return QStringLiteral("AutoCAD drawings (*.dxf)");
    default: return QStringLiteral("Slide libraries and slides (*.slb *.sld)");
    }
}
} // namespace

QString BasicDialogs::explore(const ExploreRequest &request)
{
    QFileDialog dialog(mParent, QString(), request.currentDir, filterFor(request.fileTypes));
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    if (request.operation == 1) {
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.selectFile(request.fileName);
    }
    return dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty() ? dialog.selectedFiles().first()
                                                                                   : QString();
}

QString BasicDialogs::favorites()
{
    return QFileDialog::getExistingDirectory(mParent, QString(), mState.DialogFolder,
                                             QFileDialog::DontUseNativeDialog);
}

void BasicDialogs::options() {}

void BasicDialogs::about()
{
    QMessageBox::about(mParent, QString::fromLatin1(kProgramName), QStringLiteral("Quarvel 2.2"));
}

std::unique_ptr<SlideLibrary> BasicDialogs::newLibrary(const QString &)
{
    return nullptr;
}

} // namespace quarvel
