#include "programdialogs.h"

#include "frmexplore.h"
#include "frmexport.h"
#include "frmfav.h"

namespace quarvel {

ProgramDialogs::ProgramDialogs(AppState &state, Prompts &prompts, QWidget *parent, Hooks hooks)
    : mState(state)
    , mPrompts(prompts)
    , mParent(parent)
    , mHooks(std::move(hooks))
{
}

QString ProgramDialogs::explore(const ExploreRequest &request)
{
    FrmExplore dialog(mState, mPrompts, mParent);
    if (!dialog.setFileTypes(qint16(request.fileTypes)))
        return {};
    dialog.setCurrentDir(request.currentDir);
    if (request.operation != 0)
        dialog.setFileName(request.fileName);
    dialog.setOperation(request.operation);
    dialog.exec();
    return dialog.fileName();
}

std::optional<ExportChoice> ProgramDialogs::exportChoice(const ExportOffer &offer)
{
    FrmExport dialog(offer, languageOf(mState.LanguageCode),
                     [this](const QString &start) { return ShowFolderPicker(mState, start, mParent); }, mParent);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.choice();
}

QString ProgramDialogs::favorites()
{
    return ShowFavorites(mState, mPrompts, mParent);
}

void ProgramDialogs::options()
{
    if (mHooks.options)
        mHooks.options();
}

void ProgramDialogs::about()
{
    if (mHooks.about)
        mHooks.about();
}

std::unique_ptr<SlideLibrary> ProgramDialogs::newLibrary(const QString &startFolder)
{
    return mHooks.newLibrary ? mHooks.newLibrary(startFolder) : nullptr;
}

} // namespace quarvel
