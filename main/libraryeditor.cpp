#include "libraryeditor.h"

#include "captions.h"
#include "errortexts.h"
#include "paths.h"
#include "slideerror.h"
#include "slidelibrary.h"

#include <QDir>

#include <algorithm>
#include <memory>
#include <vector>

namespace quarvel {

// One edit as the history keeps it: what it took out of the library and
// what it put in. undo() and redo() do nothing: the editor applies a step
// with undoOn/redoOn, saves, and only then moves the stack.
class LibraryEditor::Step : public QUndoCommand
{
public:
    // An appended slide (replaced < 0) or a replacement of the slide at
    // replaced, which moves to the end.
    struct Change
    {
        int replaced = -1;
        core::KeptSlide before;
        core::KeptSlide after;
    };

    explicit Step(EditKind kind)
        : kind(kind)
    {
    }

    void undo() override {}
    void redo() override {}

    void undoOn(SlideLibrary &library) const
    {
        switch (kind) {
        case EditKind::Add:
        case EditKind::Replace:
            for (auto it = changes.crbegin(); it != changes.crend(); ++it) {
                library.deleteSlide(library.slideCount() - 1);
                if (it->replaced >= 0)
                    library.insertSlide(it->replaced, it->before);
            }
            break;
        case EditKind::Delete:
            for (const auto &[row, slide] : removed)
                library.insertSlide(row, slide);
            break;
        case EditKind::Rename:
            library.restoreSlideName(row, oldName);
            break;
        }
    }

    void redoOn(SlideLibrary &library) const
    {
        switch (kind) {
        case EditKind::Add:
        case EditKind::Replace:
            for (const Change &c : changes) {
                if (c.replaced >= 0)
                    library.deleteSlide(c.replaced);
                library.insertSlide(library.slideCount(), c.after);
            }
            break;
        case EditKind::Delete:
            for (auto it = removed.crbegin(); it != removed.crend(); ++it)
                library.deleteSlide(it->first);
            break;
        case EditKind::Rename:
            library.restoreSlideName(row, newName);
            break;
        }
    }

    // The slides the step concerns, in a library of count slides after it
    // was undone (back) or done.
    EditShown shown(bool back, int count) const
    {
        EditShown s;
        switch (kind) {
        case EditKind::Add:
        case EditKind::Replace:
            if (back) {
                for (const Change &c : changes) {
                    if (c.replaced >= 0 && !s.rows.contains(c.replaced))
                        s.rows << c.replaced;
                }
                std::sort(s.rows.begin(), s.rows.end());
            } else {
                for (int i = std::max(0, count - int(changes.size())); i < count; ++i)
                    s.rows << i;
            }
            if (s.rows.isEmpty() && count > 0)
                s.rows << count - 1;
            break;
        case EditKind::Delete:
            if (back) {
                for (const auto &r : removed)
                    s.rows << r.first;
            } else {
                s.rows << std::min(removed.front().first, count - 1);
            }
            break;
        case EditKind::Rename:
            s.rows << row;
            s.namesOnly = true;
            break;
        }
        if (!s.rows.isEmpty())
            s.current = kind == EditKind::Add || kind == EditKind::Replace ? (back ? s.rows.front() : s.rows.back())
                                                                         : s.rows.front();
        return s;
    }

    qint64 keptBytes() const
    {
        qint64 total = 0;
        for (const Change &c : changes)
            total += qint64(c.before.bytes.size() + c.after.bytes.size());
        for (const auto &r : removed)
            total += qint64(r.second.bytes.size());
        return total;
    }

    int count() const
    {
        switch (kind) {
        case EditKind::Add:
        case EditKind::Replace: return int(changes.size());
        case EditKind::Delete: return int(removed.size());
        case EditKind::Rename: break;
        }
        return 1;
    }

    Step *clone() const
    {
        auto *copy = new Step(kind);
        copy->changes = changes;
        copy->removed = removed;
        copy->row = row;
        copy->oldName = oldName;
        copy->newName = newName;
        copy->setText(text());
        return copy;
    }

    EditKind kind;
    std::vector<Change> changes;                            // add, replace
    std::vector<std::pair<int, core::KeptSlide>> removed;   // delete, ascending rows
    int row = -1;                                           // rename
    QByteArray oldName, newName;
    bool lost = false;   // a slide could not be kept: the edit cannot be undone
};

namespace {

std::filesystem::path fsPath(const QString &path)
{
    return std::filesystem::path(path.toStdU16String());
}

} // namespace

LibraryEditor::LibraryEditor(AppState &state, Prompts &prompts, qint64 keptBytesLimit)
    : mState(state)
    , mPrompts(prompts)
    , mLimit(keptBytesLimit)
{
}

LibraryEditor::~LibraryEditor() = default;

Language LibraryEditor::language() const
{
    return languageOf(mState.LanguageCode);
}

const LibraryEditor::Step *LibraryEditor::stepAt(int index) const
{
    if (index < 0 || index >= mStack.count())
        return nullptr;
    return static_cast<const Step *>(mStack.command(index));
}

bool LibraryEditor::nameForLibrary(QString &name)
{
    const Language lang = language();
    std::optional<core::Error> fault;
    while (!mState.CurrentLibrary->codec().encodeNew(name, nullptr, &fault)) {
        const MessageText ask = slideNameInput(lang, fault ? errorReasonText(*fault, lang) : QString());
        const std::optional<QString> typed = mPrompts.input(ask.text, ask.title, name);
        if (!typed)
            return false;
        name = typed->trimmed();
        fault.reset();
    }
    return true;
}

bool LibraryEditor::save(const QString &library, const std::function<bool(SlideLibrary &)> &edit)
{
    SlideLibrary &open = *mState.CurrentLibrary;
    try {
        if (!edit(open))
            return false;
        open.saveLibrary(library);
        mWrittenPath = library;
        mWrittenStamp = open.fileStamp();
        if (onSaved)
            onSaved(library);
        return true;
    } catch (const SlideError &e) {
        showMessage(mPrompts, failureMessage(language(), FailedAction::ChangeLibrary, errorText(e, language())));
    }
    // A failed save leaves the file as it was: the object is read from it
    // again.
    open.setLibraryFile(library);
    if (onReread)
        onReread();
    return false;
}

void LibraryEditor::record(Step *step)
{
    std::unique_ptr<Step> owned(step);
    if (owned->lost) {
        clearHistory();
        return;
    }
    owned->setText(editText(language(), owned->kind, owned->count()));
    mStack.push(owned.release());
    // Over the bound, the oldest steps go: the newest that fit are kept and
    // pushed anew (pushing does nothing to the library).
    int first = mStack.count();
    qint64 total = 0;
    while (first > 0 && total + stepAt(first - 1)->keptBytes() <= mLimit)
        total += stepAt(--first)->keptBytes();
    if (first == 0)
        return;
    std::vector<Step *> newest;
    for (int i = first; i < mStack.count(); ++i)
        newest.push_back(stepAt(i)->clone());
    mStack.clear();
    for (Step *s : newest)
        mStack.push(s);
}

namespace {

// The slide at index as the history keeps it; when it cannot be read the
// step is marked lost (the edit goes on, without history).
core::KeptSlide keepFor(const SlideLibrary &library, int index, bool &lost)
{
    try {
        return library.keepSlide(index);
    } catch (const SlideError &) {
        lost = true;
        return {};
    }
}

// Adds file under name, or in place of slide existing (>= 0), and records
// what it took and gave in step.
void addRecorded(SlideLibrary &edited, LibraryEditor::Step &step, int existing, const QString &file,
                 const QString &name)
{
    LibraryEditor::Step::Change change;
    change.replaced = existing;
    if (existing >= 0) {
        change.before = keepFor(edited, existing, step.lost);
        edited.replaceSlide(existing, file);
    } else {
        edited.addSlideFile(file, name);
    }
    change.after = keepFor(edited, edited.slideCount() - 1, step.lost);
    step.changes.push_back(std::move(change));
}

} // namespace

bool LibraryEditor::agreed(const MessageText &question)
{
    return mPrompts.message({PromptIcon::Question, question.text, question.title}) == Answer::Yes;
}

void LibraryEditor::done(Step *step, const EditShown &shown)
{
    record(step);
    if (onEdited)
        onEdited(shown);
}

void LibraryEditor::addSlide(const QString &library, const QString &slideFile, QString name)
{
    if (!mState.CurrentLibrary || !nameForLibrary(name))
        return;
    const int existing = mState.CurrentLibrary->indexOf(name);
    if (existing >= 0 && !agreed(rewriteSlideQuestion(language(), name, library)))
        return;
    auto step = std::make_unique<Step>(existing >= 0 ? EditKind::Replace : EditKind::Add);
    const bool saved = save(library, [&](SlideLibrary &edited) {
        addRecorded(edited, *step, existing, slideFile, name);
        return true;
    });
    if (saved) {
        const int last = mState.CurrentLibrary->slideCount() - 1;
        done(step.release(), {{last}, last, false});
    }
}

void LibraryEditor::addSlideFiles(const QString &library, const QStringList &files)
{
    if (!mState.CurrentLibrary || mState.CurrentLibrary->kind() != SlideLibrary::Kind::Library)
        return;
    SlideLibrary &open = *mState.CurrentLibrary;
    // Each name already in the library, or dropped before it, asks the
    // rewrite question; then everything agreed is added in one save.
    struct Planned
    {
        QString path;
        QString name;
    };
    std::vector<Planned> plan;
    for (const QString &path : files) {
        const QString name = GetShotName(path);
        const bool taken = open.indexOf(name) >= 0 || std::any_of(plan.begin(), plan.end(), [&](const Planned &p) {
                               return open.codec().sameName(p.name, name);
                           });
        if (!taken || agreed(rewriteSlideQuestion(language(), name, library)))
            plan.push_back({path, name});
    }
    if (plan.empty())
        return;
    auto step = std::make_unique<Step>(EditKind::Replace);
    const bool saved = save(library, [&](SlideLibrary &edited) {
        for (const Planned &p : plan)
            addRecorded(edited, *step, edited.indexOf(p.name), p.path, p.name);
        return true;
    });
    if (!saved)
        return;
    if (std::any_of(step->changes.begin(), step->changes.end(), [](const Step::Change &c) { return c.replaced < 0; }))
        step->kind = EditKind::Add;
    const int last = mState.CurrentLibrary->slideCount() - 1;
    done(step.release(), {{last}, last, false});
}

void LibraryEditor::deleteSlides(const QString &library, const QList<int> &rows)
{
    if (!mState.CurrentLibrary || rows.isEmpty())
        return;
    SlideLibrary &open = *mState.CurrentLibrary;
    const Language lang = language();
    if (rows.size() >= open.slideCount()) {
        showMessage(mPrompts, lastSlideKeptMessage(lang));
        return;
    }
    if (!agreed(rows.size() == 1 ? deleteSlideQuestion(lang, open.slideName(rows.front()), library)
                                 : deleteSlidesQuestion(lang, int(rows.size()), library)))
        return;
    auto step = std::make_unique<Step>(EditKind::Delete);
    const bool saved = save(library, [&](SlideLibrary &edited) {
        for (int row : rows)
            step->removed.emplace_back(row, keepFor(edited, row, step->lost));
        for (auto it = rows.crbegin(); it != rows.crend(); ++it)
            edited.deleteSlide(*it);
        return true;
    });
    if (saved) {
        const EditShown shown = step->shown(false, mState.CurrentLibrary->slideCount());
        done(step.release(), shown);
    }
}

void LibraryEditor::renameSlide(const QString &library, int row)
{
    if (!mState.CurrentLibrary || row < 0 || row >= mState.CurrentLibrary->slideCount())
        return;
    SlideLibrary &open = *mState.CurrentLibrary;
    const Language lang = language();
    const QString old = open.slideName(row);
    QString typed = old;
    while (true) {
        const InputPrompt ask = renameSlideInput(lang, old);
        const std::optional<QString> answer = mPrompts.input(ask.prompt, ask.title, typed);
        if (!answer)
            return;
        typed = answer->trimmed();
        const NameProblem problem = checkNewSlideName(open, row, typed);
        if (problem == NameProblem::None)
            break;
        showMessage(mPrompts, badSlideNameMessage(lang, typed, problem));
    }
    auto step = std::make_unique<Step>(EditKind::Rename);
    step->row = row;
    step->oldName = open.slideNameBytes(row);
    const bool saved = save(library, [&](SlideLibrary &edited) {
        edited.renameSlide(row, typed);
        step->newName = edited.slideNameBytes(row);
        return step->newName != step->oldName;
    });
    if (saved)
        done(step.release(), {{row}, -1, true});
}

bool LibraryEditor::writtenFileUnchanged() const
{
    if (!mWrittenStamp)
        return false;
    try {
        return core::stampOf(fsPath(mWrittenPath)) == *mWrittenStamp;
    } catch (const core::Error &) {
        return false;   // gone, or no longer readable
    }
}

void LibraryEditor::move(bool back)
{
    const Step *step = stepAt(back ? mStack.index() - 1 : mStack.index());
    if (!step || !mState.CurrentLibrary)
        return;
    if (!writtenFileUnchanged()) {
        const core::Error changed(QDir::toNativeSeparators(mWrittenPath).toStdString(), core::Reason::Changed);
        showMessage(mPrompts, failureMessage(language(), FailedAction::ChangeLibrary, errorText(changed, language())));
        clearHistory();
        return;
    }
    const bool saved = save(mWrittenPath, [&](SlideLibrary &edited) {
        back ? step->undoOn(edited) : step->redoOn(edited);
        return true;
    });
    if (!saved)
        return;
    const EditShown shown = step->shown(back, mState.CurrentLibrary->slideCount());
    back ? mStack.undo() : mStack.redo();
    if (onEdited)
        onEdited(shown);
}

void LibraryEditor::undo()
{
    move(true);
}

void LibraryEditor::redo()
{
    move(false);
}

void LibraryEditor::libraryOpened(const QString &library)
{
    const SlideLibrary *open = mState.CurrentLibrary.get();
    const bool asWritten = open && library == mWrittenPath && mWrittenStamp && open->fileStamp() == mWrittenStamp
                           && writtenFileUnchanged();
    if (!asWritten)
        clearHistory();
}

void LibraryEditor::clearHistory()
{
    mStack.clear();
}

QString LibraryEditor::undoCaption(Language language) const
{
    const Step *step = stepAt(mStack.index() - 1);
    return historyCaption(language, false, step ? editText(language, step->kind, step->count()) : QString());
}

QString LibraryEditor::redoCaption(Language language) const
{
    const Step *step = stepAt(mStack.index());
    return historyCaption(language, true, step ? editText(language, step->kind, step->count()) : QString());
}

qint64 LibraryEditor::keptBytes() const
{
    qint64 total = 0;
    for (int i = 0; i < mStack.count(); ++i)
        total += stepAt(i)->keptBytes();
    return total;
}

} // namespace quarvel
