// quarvel-cli make-slide: a slide from a text description (developer tool;
// it builds the bundled sample library).

#include "argparser.h"
#include "commands.h"
#include "slidedescription.h"
#include "slideerror.h"
#include "savefile.h"

#include <QDir>
#include <QFile>

namespace quarvel::cli {

int runMakeSlide(const CommandContext &, const QStringList &args)
{
    const ArgParser parser(args, {{QStringLiteral("--output"), QStringLiteral("-o")}});
    parser.expectPositionals(1, 1, QStringLiteral("DESC.txt"));
    if (!parser.has(QStringLiteral("--output")))
        throw UsageError(QStringLiteral("missing -o OUT.sld"));
    const QString source = parser.positionals().first();
    QFile file(source);
    if (!file.open(QIODevice::ReadOnly))
        throw SlideError(QDir::toNativeSeparators(source), QStringLiteral("cannot read: %1").arg(file.errorString()));
    const QByteArray slide = SlideDescription::toSlide(QString::fromUtf8(file.readAll()), QDir::toNativeSeparators(source));
    saveFileAtomically(parser.value(QStringLiteral("--output")), slide);
    return 0;
}

} // namespace quarvel::cli
