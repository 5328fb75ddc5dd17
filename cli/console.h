#pragma once

// Output of quarvel-cli: text goes out as UTF-8 whatever the locale, one line
// per call, so that names decoded from any code page print the same way.

#include <string>
#include <string_view>

namespace quarvel::cli {

void printLine(std::string_view line);   // stdout
void printError(std::string_view line);  // stderr

// text with control bytes shown as \xNN, so that a message stays one line
// whatever the names and paths in it hold.
std::string oneLine(std::string_view text);

// Sets the console up for UTF-8 output (Windows; nothing elsewhere).
void initConsole();

} // namespace quarvel::cli
