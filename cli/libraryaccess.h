#pragma once

// Opening the file a command works on, with the failures worded once for
// every command, and slide names as people type and read them.

#include "commands.h"

#include "library.h"
#include "namecodepage.h"

#include <cstddef>
#include <string>

namespace quarvel::cli {

// A slide library or a single slide; throws core::Error when the file cannot
// be read (a folder included) or is neither.
core::Library openSlideFile(const CommandContext &context, const std::string &path);

// A slide library that is going to be changed and saved over itself, locked
// for the edit. A single slide is refused: saving would turn it into a library.
core::Library openLibraryForEdit(const CommandContext &context, const std::string &path);

// The name of slide index as shown (UTF-8, odd bytes escaped); for a single
// slide file, the file's name without folder and extension.
std::string shownName(const CommandContext &context, const core::Library &library, std::size_t index);

// Index of the first slide the typed name names (any case, or its escaped
// shown form); throws core::Error (NoSuchSlide) when there is none.
std::size_t requireSlide(const CommandContext &context, const core::Library &library, const std::string &typed);

// The stored name for a slide added from a file: its name without folder and
// extension, encoded as a new name. Errors name the slide file.
std::string nameForSlideFile(const CommandContext &context, const std::string &slidePath);

// error with file as the file it names.
core::Error naming(const core::Error &error, const std::string &file);

} // namespace quarvel::cli
