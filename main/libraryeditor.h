#pragma once

// The edits of the open library (AppState::CurrentLibrary): add and replace
// (the Add command and dropped files), delete of one or many slides, rename,
// and undo and redo of all of them. Each edit asks what it must through the
// prompts, changes the library object and saves it at once; only a saved
// edit enters the history. The history is a QUndoStack whose commands only
// record what an edit took and gave: undo and redo are edits like the
// others, applied and saved here, and the stack moves only once the save
// succeeded.

#include "appstate.h"
#include "featuretexts.h"
#include "prompts.h"
#include "core/fileio.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <QUndoStack>

#include <functional>
#include <optional>

namespace quarvel {

class SlideLibrary;

// What the window shows after an edit: the slides of rows selected, current
// the one on view. namesOnly: only names changed, the rows stay as they are.
struct EditShown
{
    QList<int> rows;
    int current = -1;
    bool namesOnly = false;
};

class LibraryEditor
{
public:
    // The slide bytes the history keeps at most; the oldest steps go first.
    static constexpr qint64 kKeptBytesLimit = qint64(64) << 20;

    LibraryEditor(AppState &state, Prompts &prompts, qint64 keptBytesLimit = kKeptBytesLimit);
    ~LibraryEditor();
    LibraryEditor(const LibraryEditor &) = delete;
    LibraryEditor &operator=(const LibraryEditor &) = delete;

    QUndoStack &history() { return mStack; }

    // Called after every saved edit, undo and redo.
    std::function<void(const EditShown &)> onEdited;
    // Called when a save failed and the library object was read again from
    // the file, which the failed save left as it was.
    std::function<void()> onReread;
    // Called after every successful save, with the file written.
    std::function<void(const QString &)> onSaved;

    // Add: slideFile under name (asked again while the name rule refuses
    // it), asking before it replaces a slide of that name.
    void addSlide(const QString &library, const QString &slideFile, QString name);
    // Dropped files in one save, asking before each one that would replace a
    // slide of the same name.
    void addSlideFiles(const QString &library, const QStringList &files);
    // Delete of rows (ascending), after the question; never every slide.
    void deleteSlides(const QString &library, const QList<int> &rows);
    // Rename of row, asking for the new name until it is accepted.
    void renameSlide(const QString &library, int row);

    // Undo and redo of the step before and after the history's position,
    // on the file the last edit wrote. Refused, the history cleared, when
    // another program changed that file since.
    void undo();
    void redo();

    // The open library was read (again) from library: the history stays
    // only when that is the file as the last edit wrote it.
    void libraryOpened(const QString &library);
    void clearHistory();

    // The Undo and Redo items' texts in language.
    QString undoCaption(Language language) const;
    QString redoCaption(Language language) const;
    // Slide bytes the history keeps now.
    qint64 keptBytes() const;

    // A name the libraries' name rule refuses is asked for again, saying
    // why, until one is accepted; false when the user cancels.
    bool nameForLibrary(QString &name);

    // One edit as the history keeps it.
    class Step;

private:
    Language language() const;
    const Step *stepAt(int index) const;
    // Runs edit on the open library (false: nothing to save) and saves it to
    // library; on failure the message names it and the object is read again.
    bool save(const QString &library, const std::function<bool(SlideLibrary &)> &edit);
    bool agreed(const MessageText &question);
    // A saved edit: into the history, and onto the window.
    void done(Step *step, const EditShown &shown);
    void record(Step *step);
    void move(bool back);
    bool writtenFileUnchanged() const;

    AppState &mState;
    Prompts &mPrompts;
    const qint64 mLimit;
    QUndoStack mStack;
    QString mWrittenPath;                        // the file the last edit wrote
    std::optional<core::FileStamp> mWrittenStamp;
};

} // namespace quarvel
