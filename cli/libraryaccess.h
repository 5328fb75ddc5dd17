#pragma once

// Opening the file a command works on, with the failures worded once for
// every command.

#include "commands.h"
#include "slidelibrary.h"

#include <QString>

namespace quarvel::cli {

// A slide library or a single slide; throws CliFailure when the file cannot
// be read or is neither.
SlideLibrary openSlideFile(const CommandContext &context, const QString &path);

// A slide library that is going to be changed and saved over itself. A single
// slide is refused: saving would turn it into a library.
SlideLibrary openLibraryForEdit(const CommandContext &context, const QString &path);

// Index of the first slide of that name (any case); throws CliFailure when
// there is none.
int requireSlide(const SlideLibrary &library, const QString &name);

} // namespace quarvel::cli
