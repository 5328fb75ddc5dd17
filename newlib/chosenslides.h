#pragma once

// The builder's list of chosen slides without its grid: rows of slide name
// and slide file in the order they were added, the names unique without
// regard to letter case, and the question-and-rename dialogue that keeps
// them so. Also how one row goes into a library: under the row's name, so
// that a renamed slide keeps the name it was given in the list.

#include "captions.h"
#include "namecodec.h"
#include "newlibtexts.h"
#include "paths.h"
#include "prompts.h"

#include <QString>

#include <optional>
#include <vector>

namespace quarvel {

class SlideLibrary;

struct ChosenSlide
{
    QString name;   // as derived or typed; its case is kept
    QString path;   // the .sld file; the same file may be listed under two names
};

// One Add All's course through its duplicates: the answer the user gave for
// all the remaining ones, and whether the user stopped it.
struct AddAllRun
{
    std::optional<bool> sameAnswer;   // Yes to All or No to All
    bool stopped = false;             // Cancel: the Add All ends, rows added so far stay
};

class ChosenSlides
{
public:
    // separator: how the paths added are spelt (the short name of a file is
    // what follows the last separator).
    explicit ChosenSlides(char16_t separator = nativePaths().separator);

    // The code page names are stored in: a name a library of it cannot hold
    // (too long) is not taken from a file as it is, nor typed. Without one,
    // only the characters are checked.
    void setCodec(const NameCodec &codec) { mCodec = codec; }

    // SlideExist: the 1-based number of the first row whose name, upper-cased,
    // equals strShotSLDName upper-cased; 0 when there is none.
    int SlideExist(const QString &strShotSLDName) const;

    // AddSldToList: appends path under its short name. A short name that a
    // library cannot hold (a blank, a forbidden character, too long) asks for
    // another name at once (Cancel: the file is not added). When that name is
    // taken, asks whether to add the file under another name and, on Yes,
    // asks for names until one is valid and free (or until the user declines
    // the question again). Cancel in the input box only asks again. Returns
    // the row added (always the last), or -1 when nothing was added.
    // Within an Add All (run given) the question also offers Yes to All, No
    // to All and Cancel, and Cancel in the name box skips the file, so that
    // a long run can always be left.
    int AddSldToList(const QString &path, Prompts &prompts, Language language, AddAllRun *run = nullptr);

    int count() const { return int(mRows.size()); }
    bool isEmpty() const { return mRows.empty(); }
    const ChosenSlide &at(int row) const { return mRows.at(size_t(row)).slide; }

    // A row outside the list changes nothing.
    void remove(int row);
    void clear() { mRows.clear(); }

    // A typed name must not be empty nor hold \ / : * ? " < > | or a blank.
    static bool isValidTypedName(const QString &name);

private:
    int append(const QString &name, const QString &path);

    struct Row
    {
        ChosenSlide slide;
        QString key;   // the name upper-cased, kept so that lookups stay cheap on long lists
    };
    // Why a library cannot hold name (empty when it can).
    QString nameFault(const QString &name, Language language) const;

    std::vector<Row> mRows;
    char16_t mSeparator;
    std::optional<NameCodec> mCodec;
};

// Appends the slide of slide.path to library under slide.name. Nothing when
// it was added; otherwise why not (worded in language), the library being
// unchanged.
std::optional<AddFailure> addChosenSlide(SlideLibrary &library, const ChosenSlide &slide,
                                         Language language = Language::English);

} // namespace quarvel
