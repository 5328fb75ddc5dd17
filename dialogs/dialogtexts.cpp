#include "dialogtexts.h"

namespace quarvel {

namespace {

const QString kBreak = QStringLiteral("\r\n");

QString pick(Language language, const char *english, const char *russian)
{
    return QString::fromUtf8(language == Language::Russian ? russian : english);
}

} // namespace

ExploreCaptions exploreCaptions(Language language, bool save)
{
    ExploreCaptions c;
    c.title = save ? pick(language, "Save File", "Сохранение файла") : pick(language, "Open File", "Открытие файла");
    c.accept = save ? pick(language, "Save", "Сохранить") : pick(language, "Open", "Открыть");
    c.fileNameLabel = pick(language, "File name:", "Имя файла:");
    c.fileTypeLabel = pick(language, "File type:", "Тип файла:");
    c.cancel = pick(language, "Cancel", "Отмена");
    c.getDirTip = pick(language, "Choice of Folder...", "Выбрать папку...");
    c.favoritesTip = pick(language, "Look in Favorites...", "Посмотреть в Фаворитах...");
    c.newFolderTip = pick(language, "Create Folder...", "Создать папку...");
    return c;
}

FolderPickerCaptions folderPickerCaptions(Language language)
{
    return {pick(language, "Selecting a Directory", "Выбор папки"),
            pick(language, "Select Directory:", "Вберите папку:"), QStringLiteral("OK"),
            pick(language, "Cancel", "Отмена")};
}

FavoriteCaptions favoriteCaptions(Language language)
{
    return {pick(language, "Favorite Folders", "Папки - Фавориты"),
            pick(language, "Folders:", "Папки:"),
            pick(language, "Go To", "Перейти"),
            pick(language, "Add Folder...", "Добавить папку..."),
            pick(language, "Add Active Folder", "Добавить текущую"),
            pick(language, "Remove Folder", "Удалить папку"),
            pick(language, "Remove All", "Удалить все"),
            pick(language, "Close", "Закрыть")};
}

InputText newFolderInput(Language language)
{
    return {pick(language, "Assign name of new Folder:", "Задайте имя для новой папки:"),
            pick(language, "Making a new Folder", "Создание новой папки"), QStringLiteral("New Folder")};
}

MessageSpec fileNotFoundQuestion(Language language, const QString &path)
{
    MessageSpec m{PromptIcon::Exclamation,
                  pick(language, "File ", "Файл ") + path + pick(language, " is not Found.", " не найден")};
    m.withCancel = true;
    return m;
}

MessageSpec overwriteQuestion(Language language, const QString &path)
{
    return {PromptIcon::Question, pick(language, "File ", "Файл ") + path
                                      + pick(language, " already exists, rewrite existing file?",
                                             " уже есть, переписать существующий файл?")};
}

MessageSpec invalidFolderNameMessage(Language language)
{
    return {PromptIcon::Critical,
            pick(language, "Name of file must not contain following symbols:",
                 "Имя папки не должно содержать следующие символы:")
                + kBreak + QStringLiteral("        \\ / : * ? \" < > |"),
            newFolderInput(language).title};
}

MessageSpec folderNotCreatedMessage(Language language, const QString &folder, FolderFailure why,
                                    const QString &parent)
{
    QString reason;
    switch (why) {
    case FolderFailure::FileInTheWay:
        reason = pick(language, "a file of this name is already there.", "там уже есть файл с таким именем.");
        break;
    case FolderFailure::NoPermission:
        reason = pick(language, "no permission to create folders in ", "нет прав на создание папок в ") + parent
                 + QStringLiteral(".");
        break;
    case FolderFailure::Refused:
        reason = pick(language, "the file system does not accept this name.",
                      "файловая система не принимает это имя.");
        break;
    }
    return {PromptIcon::Critical, pick(language, "Folder ", "Папку ") + folder + kBreak
                                      + pick(language, "cannot be created: ", "не удаётся создать: ") + reason};
}

MessageSpec directoryNotFoundMessage(Language language, const QString &folder)
{
    return {PromptIcon::Critical,
            pick(language, "Directory ", "Папка ") + folder + pick(language, " is not found", " не найдена")};
}

MessageSpec networkFolderMessage(Language language)
{
    return {PromptIcon::Information, pick(language, "Impossible add Folder from Network Encirclement",
                                          "Нельзя добавить папку из сетевого окружения")};
}

} // namespace quarvel
