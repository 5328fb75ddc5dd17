#pragma once

// Captions and messages of the new-library builder frmNewLib, in both
// languages. Texts are kept exactly as shown, with "\r\n" as the line break
// inside messages (Prompts turns it into one).

#include "captions.h"
#include "dialogtexts.h"
#include "prompts.h"

#include <QString>

namespace quarvel {

struct NewLibCaptions
{
    QString title;
    QString add;            // cmdAdd
    QString addAll;         // cmdAddAll
    QString remove;         // cmdRemove
    QString removeAll;      // cmdRemoveAll
    QString create;         // cmdSave
    QString cancel;         // CancelButton
    QString getDirTip;      // cmdGetDir
    QString favoritesTip;   // cmdFav
    QString addingSlides;   // progress of Add All
    QString creatingLibrary;   // progress of Create
};
NewLibCaptions newLibCaptions(Language language);

// Preview: the file's first slide name is empty.
MessageSpec previewNotSlideMessage(Language language, const QString &path);
// Preview: the slide could not be shown.
MessageSpec previewNotLibraryMessage(Language language, const QString &path);
// A row of the list whose file is gone.
MessageSpec rowFileNotFoundMessage(Language language, const QString &path);

// The name path would get is in the list already (Yes or No).
MessageSpec duplicateSlideQuestion(Language language, const QString &path);
// The input box of the rename loop.
InputText newSlideNameInput(Language language);
// A typed name holding a forbidden character or a blank; titled like the
// input box.
MessageSpec invalidSlideNameMessage(Language language);

// Why Create could not put the slide of one row into the library.
enum class AddFailureKind {
    NotSlide,      // the file cannot be read as a slide
    NameTooLong,   // the file is a slide; its name takes more than 31 bytes
    Other,         // the file is a slide; the component refused it for reason
};
struct AddFailure
{
    AddFailureKind kind = AddFailureKind::NotSlide;
    QString reason;   // the component's reason, in the interface language
};
MessageSpec slideNotAddedMessage(Language language, const QString &path, const QString &name,
                                 const AddFailure &failure);

} // namespace quarvel
