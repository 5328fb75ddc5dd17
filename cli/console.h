#pragma once

// Output of quarvel-cli: text goes out as UTF-8 whatever the locale, one line
// per call, so that names decoded from any code page print the same way.

#include <QString>

namespace quarvel::cli {

void printLine(const QString &line);   // stdout
void printError(const QString &line);  // stderr

} // namespace quarvel::cli
