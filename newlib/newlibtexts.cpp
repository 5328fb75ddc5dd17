#include "newlibtexts.h"

#include "namecodec.h"

namespace quarvel {

namespace {

const QString kBreak = QStringLiteral("\r\n");

QString pick(Language language, const char *english, const char *russian)
{
    return QString::fromUtf8(language == Language::Russian ? russian : english);
}

MessageSpec critical(const QString &text)
{
    return {PromptIcon::Critical, text};
}

} // namespace

NewLibCaptions newLibCaptions(Language language)
{
    // The folder tooltips and Cancel read as in the file dialog, whose
    // folder controls these are.
    const ExploreCaptions explore = exploreCaptions(language, false);
    NewLibCaptions c;
    c.title = pick(language, "Making a new Library", "Создание новой Библиотеки");
    c.add = pick(language, "< Add Slide", "< Добавить слайд");
    c.addAll = pick(language, "<< Add All Slides", "<< Добавить все слайды");
    c.remove = pick(language, "Remove Slide >", "Удалить слайд >");
    c.removeAll = pick(language, "Remove All Slides >>", "Удалить все слайды >>");
    c.create = pick(language, "Create", "Создать");
    c.cancel = explore.cancel;
    c.getDirTip = explore.getDirTip;
    c.favoritesTip = explore.favoritesTip;
    c.addingSlides = pick(language, "Adding slides to the list...", "Добавление слайдов в список...");
    c.creatingLibrary = pick(language, "Creating the library...", "Создание библиотеки...");
    return c;
}

MessageSpec previewNotSlideMessage(Language language, const QString &path)
{
    const MessageText m = notSlideMessage(language, path);
    return {PromptIcon::Critical, m.text, m.title};
}

MessageSpec previewNotLibraryMessage(Language language, const QString &path)
{
    // Two blanks before "AutoCAD" in Russian: this box is worded apart from
    // the main window's.
    return critical(pick(language, "File ", "Файл ") + path + kBreak
                    + pick(language, "is not library of AutoCAD slides.",
                           "не является библиотекой слайдов  AutoCAD."));
}

MessageSpec rowFileNotFoundMessage(Language language, const QString &path)
{
    return critical(pick(language, "File ", "Файл ") + path + pick(language, " is not found", " не найден"));
}

MessageSpec duplicateSlideQuestion(Language language, const QString &path)
{
    return {PromptIcon::Question, pick(language, "Slide ", "Слайд ") + path
                                      + pick(language, " already be in list", " уже есть в списке") + kBreak
                                      + pick(language, "Add this Slide under other name?",
                                             "Добавить этот слайд под другим именем?")};
}

InputText newSlideNameInput(Language language)
{
    return {pick(language, "Enter new Name of Slide", "Введите новое имя Слайда"),
            pick(language, "New Name of Slide", "Новое имя Слайда"), QString()};
}

MessageSpec invalidSlideNameMessage(Language language)
{
    return {PromptIcon::Critical,
            pick(language, "Name of Slide must not contain following symbols:",
                 "Имя Слайда не должно содержать следующие смволы:")
                + kBreak + QStringLiteral("        \\ / : * ? \" < > | ")
                + pick(language, "and Spase", "и пробелы"),
            newSlideNameInput(language).title};
}

MessageSpec slideNotAddedMessage(Language language, const QString &path, const QString &name,
                                 const AddFailure &failure)
{
    const QString head = pick(language, "File ", "Файл ") + path + kBreak;
    switch (failure.kind) {
    case AddFailureKind::NotSlide:
        break;
    case AddFailureKind::NameTooLong:
        return critical(head
                        + pick(language, "is a slide, but its name \"%1\" is too long: a slide library holds "
                                         "names of at most %2 bytes.",
                               "является слайдом, но его имя \"%1\" слишком длинное: библиотека слайдов "
                               "хранит имена не длиннее %2 байта.")
                              .arg(name)
                              .arg(kMaxSlideNameBytes));
    case AddFailureKind::Other:
        return critical(head
                        + pick(language, "cannot be added to the library: ",
                               "не удаётся добавить в библиотеку: ")
                        + failure.reason);
    }
    return critical(head + pick(language, "is not file of slides.", "не является слайдом."));
}

} // namespace quarvel
