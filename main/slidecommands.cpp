#include "slidecommands.h"

#include "errortexts.h"
#include "featuretexts.h"
#include "libraryeditor.h"
#include "paths.h"
#include "slideerror.h"
#include "slidelibrary.h"

#include <limits>

namespace quarvel {

OpenCheck checkOpened(const SlideLibrary &library, const QString &path, Language lang)
{
    OpenCheck check;
    // A file that cannot be read, or whose directory cannot be, is reported
    // with its reason; the other messages say what the file is not.
    const std::optional<core::Error> &failure = library.loadFailure();
    const bool unreadable = library.kind() == SlideLibrary::Kind::None && failure
                            && failure->reason() != core::Reason::NotSlideOrLibrary
                            && failure->reason() != core::Reason::NotASlide;
    const QString reason = unreadable ? errorReasonText(*failure, lang) : QString();
    if (fileKindOf(path) != FileKind::Library) {
        check.names << library.slideName(0);
        if (check.names.front().isEmpty())
            check.refusal = unreadable ? openFailedMessage(lang, path, reason) : notSlideMessage(lang, path);
        return check;
    }
    const int count = std::min(library.slideCount(), int(std::numeric_limits<qint16>::max()));
    check.names.reserve(count);
    for (int i = 0; i < count; ++i)
        check.names << library.slideName(i);
    // A directory whose every entry points nowhere is not read as a library
    // of garbage names: it is refused with what is wrong.
    const core::Library &core = library.core();
    bool readable = count == 0;
    for (int i = 0; i < count && !readable; ++i)
        readable = core.isReadable(std::size_t(i));
    if (!readable && !core.problems().empty()) {
        const core::LibraryProblem &first = core.problems().front();
        const QString what = libraryProblemText(first, library.codec().decode(QByteArray::fromStdString(first.name)), lang);
        check.refusal = openFailedMessage(lang, path, directoryUnreadableText(what, lang));
        check.dropObject = true;
    } else if (count == 0) {
        check.refusal = unreadable ? openFailedMessage(lang, path, reason) : notLibraryMessage(lang, path);
    }
    return check;
}

QString damageNote(const SlideLibrary *library, const QString &slide, Language lang)
{
    if (!library || library->kind() == SlideLibrary::Kind::None)
        return {};
    const bool inLibrary = library->kind() == SlideLibrary::Kind::Library;
    QStringList notes;
    const int index = inLibrary ? library->indexOf(slide) : 0;
    if (index >= 0) {
        try {
            notes << slideDamageText(inLibrary ? slide : QString(), library->decode(index, nullptr), lang);
        } catch (const SlideError &e) {
            notes << errorReasonText(e.error(), lang);
        }
    }
    const std::vector<core::LibraryProblem> &problems = library->core().problems();
    if (inLibrary && !problems.empty()) {
        const core::LibraryProblem &first = problems.front();
        const QString what = libraryProblemText(first, library->codec().decode(QByteArray::fromStdString(first.name)), lang);
        notes << (problems.size() == 1
                      ? (lang == Language::Russian ? QStringLiteral("библиотека повреждена: %1")
                                                   : QStringLiteral("the library is damaged: %1"))
                            .arg(what)
                      : (lang == Language::Russian ? QStringLiteral("библиотека повреждена (%1 нарушений), первое: %2")
                                                   : QStringLiteral("the library is damaged (%1 problems), first: %2"))
                            .arg(problems.size())
                            .arg(what));
    }
    notes.removeAll(QString());
    return notes.join(QStringLiteral("; "));
}


SlideCommands::SlideCommands(AppState &state, Prompts &prompts, MainDialogs &dialogs, LibraryEditor &editor)
    : mState(state)
    , mPrompts(prompts)
    , mDialogs(dialogs)
    , mEditor(editor)
{
}

ExploreDialog SlideCommands::explore()
{
    return [this](const ExploreRequest &r) { return mDialogs.explore(r); };
}

void SlideCommands::failed(const SlideError &error)
{
    const Language lang = languageOf(mState.LanguageCode);
    showMessage(mPrompts, failureMessage(lang, FailedAction::SaveLibrary, errorText(error, lang)));
}

bool SlideCommands::newLibrary(const QString &shownFolder)
{
    // DirSLD and DirLib were checked at start, but a folder may have gone
    // since; the folder on view stands in for one that has.
    const auto existingOrShown = [&](const QString &folder) {
        return !folder.isEmpty() && IsExistingFolder(folder) ? folder : shownFolder;
    };
    mState.NewLibrary.reset();
    std::unique_ptr<SlideLibrary> built = mDialogs.newLibrary(existingOrShown(mState.SlideFolder));
    if (!built)
        return false;
    mState.NewLibrary = std::move(built);
    const QString path = ShowSaveDialog(mState, explore(), existingOrShown(mState.LibraryFolder), QString(), LibraryFiles);
    if (!path.isEmpty()) {
        try {
            mState.NewLibrary->saveLibrary(path);
        } catch (const SlideError &e) {
            failed(e);
        }
    }
    mState.NewLibrary.reset();
    return true;
}

QString SlideCommands::slideToAdd(const QString &library, const QString &shownFolder)
{
    mState.AddTargetLibrary = library;
    if (mState.AddSlideFolder.size() < 2)
        mState.AddSlideFolder = shownFolder;
    mState.CurrentSlideName = ShowOpenDialog(mState, mPrompts, explore(), mState.AddSlideFolder, SlideFiles);
    return mState.CurrentSlideName;
}

void SlideCommands::saveAs(const QString &openPath, const QString &shownFolder, int currentRow)
{
    const QString path = ShowSaveDialog(mState, explore(), shownFolder, GetShotName(openPath), LibraryFiles);
    const Language lang = languageOf(mState.LanguageCode);
    // A damaged slide or library is written as it stands only when the user
    // agrees.
    SlideLibrary &open = *mState.CurrentLibrary;
    const QString damage = open.kind() == SlideLibrary::Kind::Slide || !open.core().problems().empty()
                               ? damageNote(&open, open.slideName(currentRow >= 0 ? currentRow : 0), lang)
                               : QString();
    const bool agreed = damage.isEmpty()
                        || mPrompts.message({PromptIcon::Question, saveDamagedQuestion(lang, openPath, damage).text})
                               == Answer::Yes;
    // A single slide goes into the library under its file's name; one the
    // library cannot hold is given another by the user first.
    QString single = open.kind() == SlideLibrary::Kind::Slide ? open.slideName(0) : QString();
    const bool named = single.isEmpty() || mEditor.nameForLibrary(single);
    if (!path.isEmpty() && agreed && named) {
        try {
            if (!single.isEmpty() && single != open.slideName(0))
                open.renameSlide(0, single);
            open.saveLibrary(path);
        } catch (const SlideError &e) {
            failed(e);
        }
    }
}

} // namespace quarvel
