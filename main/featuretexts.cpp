#include "featuretexts.h"

#include "slidelibrary.h"

namespace quarvel {

namespace {

QString pick(Language language, const char *english, const char *russian)
{
    return QString::fromUtf8(language == Language::Russian ? russian : english);
}

const QString kBreak = QStringLiteral("\r\n");

// "слайд", "слайда" or "слайдов" as Russian counts them.
QString russianSlides(int count)
{
    const int tens = count % 100;
    const int units = count % 10;
    if (tens < 11 || tens > 14) {
        if (units == 1)
            return QString::fromUtf8("слайд");
        if (units >= 2 && units <= 4)
            return QString::fromUtf8("слайда");
    }
    return QString::fromUtf8("слайдов");
}

// "слайда" after 1, 21, 31... (not 11), else "слайдов": the genitive that
// follows a noun of action ("удаление 3 слайдов").
QString russianSlidesGenitive(int count)
{
    return count % 10 == 1 && count % 100 != 11 ? QString::fromUtf8("слайда") : QString::fromUtf8("слайдов");
}

} // namespace

PromptIcon promptIcon(MessageIcon icon)
{
    switch (icon) {
    case MessageIcon::Stop: return PromptIcon::Critical;
    case MessageIcon::Exclamation: return PromptIcon::Exclamation;
    case MessageIcon::Question: return PromptIcon::Question;
    }
    return PromptIcon::Information;
}

Answer showMessage(Prompts &prompts, const MessageText &text)
{
    return prompts.message({promptIcon(text.icon), text.text, text.title});
}

const QList<FeatureCommandDef> &featureCommands()
{
    static const QList<FeatureCommandDef> commands = {
        {"mnuVTiles", "mnuView", "Ctrl+T", true, "&Tiles", "Плитки"},
        {"mnuVFilter", "mnuView", "Ctrl+L", false, "&Filter", "Фильтр"},
        {"cmnuSelectAll", "", "", false, "Select &All", "Выделить все"},
        {"cmnuDelete", "", "Del", false, "&Delete", "Удалить"},
        {"cmnuRename", "", "F2", false, "&Rename...", "Переименовать..."},
        {"cmnuExport", "", "", false, "&Export...", "Экспорт..."},
        {"cmnuCopy", "", "Ctrl+C", false, "&Copy Picture", "Копировать рисунок"},
    };
    return commands;
}

QString featureCaption(const QString &name, Language language)
{
    for (const FeatureCommandDef &c : featureCommands()) {
        if (c.name == name)
            return language == Language::Russian ? c.captionRu : c.captionEn;
    }
    return {};
}

QString filterCountText(Language language, int shown, int total)
{
    return QStringLiteral("%1%2%3").arg(shown).arg(pick(language, " of ", " из ")).arg(total);
}

QString filterPlaceholder(Language language)
{
    return pick(language, "Filter names", "Фильтр имён");
}

QString windowTitleFor(const QString &openFile)
{
    const QString program = QString::fromLatin1(kProgramName);
    if (openFile.isEmpty())
        return program;
    const qsizetype slash = std::max(openFile.lastIndexOf(u'/'), openFile.lastIndexOf(u'\\'));
    return openFile.mid(slash + 1) + QString::fromUtf8(" — ") + program;
}

MessageText deleteSlidesQuestion(Language language, int count, const QString &libraryPath)
{
    if (language == Language::Russian) {
        return message(MessageIcon::Question, QString::fromUtf8("Удалить %1 %2 из %3?")
                                                  .arg(count)
                                                  .arg(russianSlides(count), libraryPath));
    }
    return message(MessageIcon::Question,
                   QStringLiteral("Delete %1 slide%2 from %3?").arg(count).arg(count == 1 ? "" : "s", libraryPath));
}

MessageText lastSlideKeptMessage(Language language)
{
    return message(MessageIcon::Exclamation,
                   pick(language, "A library keeps at least one slide: the last slide cannot be deleted.",
                        "В библиотеке остаётся хотя бы один слайд: последний слайд удалить нельзя."));
}

NameProblem checkNewSlideName(const SlideLibrary &library, int index, const QString &name)
{
    if (name.isEmpty())
        return NameProblem::Empty;
    static const QString forbidden = QStringLiteral("/\\:*?\"<>| ");
    for (const QChar c : name) {
        if (forbidden.contains(c) || c.isSpace())
            return NameProblem::BadCharacter;
    }
    const NameCodec &codec = library.codec();
    if (!codec.encodeNew(name)) {
        for (const QChar c : name) {
            if (!codec.encodeNew(QString(c)))
                return NameProblem::NotInCodePage;
        }
        return NameProblem::TooLong;
    }
    for (int i = 0; i < library.slideCount(); ++i) {
        if (i != index && codec.sameName(library.slideName(i), name))
            return NameProblem::Taken;
    }
    return NameProblem::None;
}

MessageText exportOverwriteQuestion(Language language, int count, const QString &folder)
{
    if (language == Language::Russian) {
        return message(MessageIcon::Question,
                       QString::fromUtf8("В папке %1 уже есть файлов: %2.").arg(folder).arg(count) + kBreak
                           + QString::fromUtf8("Да — перезаписать их, Нет — пропустить их, Отмена — ничего не экспортировать."));
    }
    return message(MessageIcon::Question,
                   QStringLiteral("%1 of the files already exist in %2.").arg(count).arg(folder) + kBreak
                       + QStringLiteral("Yes overwrites them, No skips them, Cancel exports nothing."));
}

QString exportProgressText(Language language)
{
    return pick(language, "Exporting slides...", "Экспорт слайдов...");
}

QString cancelText(Language language)
{
    return pick(language, "Cancel", "Отмена");
}

InputPrompt renameSlideInput(Language language, const QString &slideName)
{
    return {pick(language, "New name of slide ", "Новое имя слайда ") + slideName + QLatin1Char(':'),
            QString::fromLatin1(kProgramName)};
}

MessageText badSlideNameMessage(Language language, const QString &name, NameProblem problem)
{
    const QString head = pick(language, "The slide cannot be named ", "Слайду нельзя дать имя ") + name
                         + QLatin1Char('.') + kBreak;
    switch (problem) {
    case NameProblem::Empty:
    case NameProblem::BadCharacter:
        return message(MessageIcon::Exclamation,
                       head + pick(language, "A slide name holds no blank and none of \\ / : * ? \" < > |",
                                   "Имя слайда не содержит пробелов и символов \\ / : * ? \" < > |"));
    case NameProblem::NotInCodePage:
        return message(MessageIcon::Exclamation,
                       head + pick(language, "Some of its characters cannot be stored in the code page of slide names.",
                                   "Некоторые его символы нельзя записать в кодовой странице имён слайдов."));
    case NameProblem::TooLong:
        return message(MessageIcon::Exclamation,
                       head + pick(language, "A slide name takes at most 31 bytes.",
                                   "Имя слайда занимает не больше 31 байта."));
    case NameProblem::Taken:
    case NameProblem::None:
        break;
    }
    return message(MessageIcon::Exclamation,
                   head + pick(language, "The library already holds a slide of that name.",
                               "В библиотеке уже есть слайд с таким именем."));
}

QString editText(Language language, EditKind kind, int count)
{
    static const char *const english[] = {"Add", "Replace", "Delete", "Rename"};
    static const char *const russian[] = {"добавление", "замену", "удаление", "переименование"};   // as Undo and Redo take them
    const int k = int(kind);
    if (language == Language::Russian) {
        return QStringLiteral("%1 %2 %3").arg(QString::fromUtf8(russian[k])).arg(count).arg(russianSlidesGenitive(count));
    }
    return QStringLiteral("%1 %2 Slide%3").arg(QLatin1String(english[k])).arg(count).arg(count == 1 ? "" : "s");
}

QString historyCaption(Language language, bool redo, const QString &edit)
{
    const QString command = redo ? pick(language, "&Redo", "Повторить") : pick(language, "&Undo", "Отменить");
    return edit.isEmpty() ? command : command + QLatin1Char(' ') + edit;
}

} // namespace quarvel
