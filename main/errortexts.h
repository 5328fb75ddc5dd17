#pragma once

// The slide component's failures worded in the interface language. The
// component reports a reason code with its details (the system's error
// number, the slide name, a byte count, the damage found); these tables turn
// them into English or Russian text, so that a Russian message is Russian
// throughout, its reason included.

#include "captions.h"

#include "core/coreerror.h"
#include "core/library.h"
#include "slideerror.h"
#include "slideformat.h"

#include <QString>

namespace quarvel {

// What the system error number means ("no space left on device" / "на
// диске нет места"); the common numbers by name, others by number.
QString systemErrorText(int error, Language language);

// The damage found in a slide ("no end-of-file record" / "нет записи конца
// файла"); value is the level or record type it names.
QString damageText(core::Damage damage, std::int64_t value, Language language);

// The reason alone: "cannot write: no space left on device".
QString errorReasonText(const core::Error &error, Language language);

// The file, the byte offset when there is one, and the reason:
// "FILE, byte N: reason" / "FILE, байт N: reason".
QString errorText(const core::Error &error, Language language);

// A failure of the slide component as the windows show it: the core's
// reason worded in the language (the component's own text for a failure it
// reported without a reason code, in English only).
QString errorText(const SlideError &error, Language language);

// What is wrong with slide `slide` of a library (or with the single slide
// file when slide is empty), from its decoding: "slide "D1" is damaged at
// byte 410 of the slide: no end-of-file record". Empty for a sound slide.
QString slideDamageText(const QString &slide, const DecodeResult &result, Language language);

// A problem of a library's directory: "address 90000 of slide "D1" lies past
// the end of the file"; name is the decoded slide name.
QString libraryProblemText(const core::LibraryProblem &problem, const QString &name, Language language);

// A library refused because no entry of its directory can be read:
// "the library's directory cannot be read: WHAT".
QString directoryUnreadableText(const QString &what, Language language);

// The box that asks for another slide name when a name breaks the rule for
// names in a library: reason, then "Enter new Name of Slide" (text is the
// prompt; title "New Name of Slide").
MessageText slideNameInput(Language language, const QString &reason);

// Save As of a damaged slide or library: "File PATH\r\nis damaged: DAMAGE\r\n
// Save it as it stands?", a question.
MessageText saveDamagedQuestion(Language language, const QString &path, const QString &damage);

} // namespace quarvel
