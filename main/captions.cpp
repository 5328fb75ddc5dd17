#include "captions.h"

namespace quarvel {

namespace {

// Texts are UTF-8 in this file.
QString text(const char *utf8)
{
    return QString::fromUtf8(utf8);
}

QString pick(Language language, const char *english, const char *russian)
{
    return text(language == Language::Russian ? russian : english);
}

struct ControlRow
{
    const char *name;
    const char *captionEn;
    const char *captionRu;
    const char *toolTipEn;
    const char *toolTipRu;
};

// The two lists carry no caption of their own.
constexpr ControlRow kControls[] = {
    {"cmdFBNew", "New...", "Новый", "Create a new Library of Slides",
     "Создание новой Библиотеки Слайдов"},
    {"cmdFBOpen", "Open...", "Открыть", "Open an existing Slide or Library of Slide",
     "Открыть Слайд или Библиотеку слайдов"},
    {"cmdFBSave", "Save As...", "Сохранить", "Save under other name",
     "Сохранить под другим именем"},
    {"cmdFBAdd", "Add...", "Добавить", "Adding Slide to library",
     "Добавление слайда в библиотеку"},
    {"cmdFBDel", "Delete", "Удалить", "Delete Slide from Library",
     "Удаление слайда из библиотеки"},
    {"cmdFBExtr", "Export...", "Экспорт", "Export of Slide from Library to SLD or WMF",
     "Экспорт Слайда из Библиотеки в файл SLD или WMF"},
    {"cmdFBFav", "Favorites", "Фавориты", "List Slides in your Favorite Folders",
     "Выбор папки из списка фаворитов"},
    {"cmdFBConf", "Option...", "Опции", "Set configuration options", "Настройка программы"},
    {"cmdFBExit", "Exit", "Выход", "Exit Quarvel", "Выход из программы"},
    {"List1", "", "", "Choose slide for viewing", "Выберите слайд для просмотра"},
    {"ExplorerList1", "", "", "Choose file for viewing", "Выберите файл для просмотра"},
};

// The toolbar buttons are the rows before the two lists; only they follow
// the caption choice.
constexpr int kButtonRows = 9;

struct MenuRow
{
    const char *name;
    const char *parent;
    bool popupRoot;
    const char *shortcut;
    bool enabled;
    bool visible;
    bool checkable;
    const char *design;
    // Null where neither caption setter touches the item.
    const char *captionEn;
    const char *captionRu;
};

// Exit has a shortcut of its own that is not Ctrl+letter: Alt+F4, the usual
// key for closing a program's main window.
constexpr MenuRow kMenus[] = {
    {"mnuFile", "", false, "", true, true, false, "&File", "&File", "Файл"},
    {"mnuFNew", "mnuFile", false, "Ctrl+N", true, true, false, "&New...", "&New...", "Новый..."},
    {"mnuFOpen", "mnuFile", false, "Ctrl+O", true, true, false, "&Open...", "Open...",
     "Открыть..."},
    {"mnuFSaveAs", "mnuFile", false, "Ctrl+S", true, true, false, "&Save As...", "&Save As...",
     "Сохранить как..."},
    {"mnuFExit", "mnuFile", false, "Alt+F4", true, true, false, "E&xit", "E&xit", "Выход"},
    {"mnuActions", "", false, "", true, true, false, "&Actions", "&Actions", "Команды"},
    {"mnuADdd", "mnuActions", false, "Ctrl+A", false, true, false, "&Add Slide...",
     "&Add Slide...", "Добавить слайд"},
    {"mnuADelete", "mnuActions", false, "Ctrl+D", false, true, false, "&Delete Slide",
     "&Delete Slide", "Удалить слайд"},
    {"mnuAExport", "mnuActions", false, "", false, true, false, "&Export", "&Export", "Экспорт"},
    {"mnuAESLD", "mnuAExport", false, "", true, true, false, "SLD...", "SLD...", "в &SLD"},
    {"mnuAEBMP", "mnuAExport", false, "", true, false, false, "&BMP...", nullptr, nullptr},
    {"mnuAEWMF", "mnuAExport", false, "", true, true, false, "&WMF...", "WMF...", "в &WMF"},
    {"mnuAEDXF", "mnuAExport", false, "", true, true, false, "&DXF...", "DXF...", "в &DXF"},
    {"mnuView", "", false, "", true, true, false, "&View", "&View", "Вид"},
    {"mnuVRefresh", "mnuView", false, "F5", true, true, false, "&Refresh", "&Refresh", "Обновить"},
    {"mnuTools", "", false, "", true, true, false, "&Tools", "&Tools", "Инструменты"},
    {"mnuFFav", "mnuTools", false, "Ctrl+F", true, true, false, "Look in &Favorites...",
     "Look in &Favorites...", "Посмотреть в Фаворитах..."},
    {"mnuTOptions", "mnuTools", false, "", true, true, false, "Options...", "Options...",
     "Опции..."},
    {"mnuTLanguages", "mnuTools", false, "", true, false, false, "Languages", "Languages",
     "Язык"},
    {"mnuTLEng", "mnuTLanguages", false, "", true, true, true, "English", nullptr, nullptr},
    {"mnuTLRus", "mnuTLanguages", false, "", true, true, true, "Russian", nullptr, nullptr},
    {"mnuHelp", "", false, "", true, true, false, "&?", nullptr, nullptr},
    {"mnuTAbout", "mnuHelp", false, "", true, true, false, "&About", "&About", "О программе"},
    {"pmnuExport", "", true, "", true, false, false, "pExport", nullptr, nullptr},
    {"pmnuESLD", "pmnuExport", false, "", true, true, false, "To &SLD...", "to &SLD", "SLD..."},
    {"pmnuEBMP", "pmnuExport", false, "", true, false, false, "To &BMP...", nullptr, nullptr},
    {"pmnuEWMF", "pmnuExport", false, "", true, true, false, "To &WMF...", "to &WMF", "WMF..."},
    {"pmnuEDXF", "pmnuExport", false, "", true, true, false, "To &DXF...", "to &DXF", "DXF..."},
};

template <typename Row, size_t N>
const Row *findRow(const Row (&rows)[N], const QString &name)
{
    for (const Row &row : rows) {
        if (name == QLatin1String(row.name))
            return &row;
    }
    return nullptr;
}

const QString kBreak = QStringLiteral("\r\n");

} // namespace

MessageText message(MessageIcon icon, QString body)
{
    MessageText m;
    m.icon = icon;
    m.yesNo = icon == MessageIcon::Question;
    m.title = QString::fromLatin1(kProgramName);
    m.text = std::move(body);
    return m;
}

Language languageOf(const QString &languageCode)
{
    return languageCode == QLatin1String("Ru") ? Language::Russian : Language::English;
}

QString languageCodeOf(Language language)
{
    return language == Language::Russian ? QStringLiteral("Ru") : QStringLiteral("En");
}

QStringList captionedControlNames()
{
    QStringList names;
    for (const ControlRow &row : kControls)
        names.append(QLatin1String(row.name));
    return names;
}

ControlTexts controlTexts(const QString &controlName, Language language,
                          const QString &buttonCaptions)
{
    const ControlRow *row = findRow(kControls, controlName);
    if (!row)
        return {};
    const bool isButton = row - kControls < kButtonRows;
    ControlTexts texts;
    if (isButton && buttonCaptions == QLatin1String("Use"))
        texts.caption = pick(language, row->captionEn, row->captionRu);
    texts.toolTip = pick(language, row->toolTipEn, row->toolTipRu);
    return texts;
}

const QList<MenuItemDef> &mainMenuItems()
{
    static const QList<MenuItemDef> items = [] {
        QList<MenuItemDef> list;
        for (const MenuRow &row : kMenus) {
            MenuItemDef item;
            item.name = QLatin1String(row.name);
            item.parent = QLatin1String(row.parent);
            item.popupRoot = row.popupRoot;
            item.shortcut = QLatin1String(row.shortcut);
            item.enabled = row.enabled;
            item.visible = row.visible;
            item.checkable = row.checkable;
            item.designCaption = text(row.design);
            list.append(item);
        }
        return list;
    }();
    return items;
}

QString menuCaption(const QString &itemName, Language language)
{
    const MenuRow *row = findRow(kMenus, itemName);
    if (!row)
        return {};
    if (!row->captionEn)
        return text(row->design);
    return pick(language, row->captionEn, row->captionRu);
}

LanguageMarks languageMarks(Language language)
{
    LanguageMarks marks;
    marks.englishChecked = language == Language::English;
    marks.russianChecked = language == Language::Russian;
    return marks;
}

LanguageCommand languageCommand(Language language)
{
    LanguageCommand command;
    command.langValue = languageCodeOf(language);
    command.languageCode = languageCodeOf(language);
    command.marks = languageMarks(language);
    return command;
}

MessageText notLibraryMessage(Language language, const QString &path)
{
    return message(MessageIcon::Stop,
                   pick(language, "File ", "Файл ") + path + kBreak
                       + pick(language, "is not library of AutoCAD slides.",
                              "не является библиотекой слайдов AutoCAD."));
}

MessageText notSlideMessage(Language language, const QString &path)
{
    return message(MessageIcon::Stop,
                   pick(language, "File ", "Файл ") + path + kBreak
                       + pick(language, "is not file of AutoCAD slide.",
                              "не является слайдом AutoCAD."));
}

MessageText rewriteSlideQuestion(Language language, const QString &slideName,
                                 const QString &libraryPath)
{
    return message(MessageIcon::Question,
                   pick(language, "Slide ", "Слайд ") + slideName
                       + pick(language, " in Library ", " в библиотеке ") + libraryPath
                       + pick(language, " already exist.", " уже есть.") + kBreak
                       + pick(language, "Rewrite existing slide in the library?",
                              "Перезаписать существующий в библиотеке слайд?"));
}

MessageText deleteSlideQuestion(Language language, const QString &slideName,
                                const QString &libraryPath)
{
    return message(MessageIcon::Question,
                   pick(language, "Are You sure to delete slide ",
                        "Вы уверены, что хотите удалить слайд ")
                       + slideName + pick(language, " from Library ", " из библиотеки ")
                       + kBreak + libraryPath + QLatin1Char('?'));
}

MessageText fileNotFoundMessage(Language language, const QString &fileName)
{
    return message(MessageIcon::Exclamation, pick(language, "File ", "Файл ") + fileName
                                                 + pick(language, " is not Found.", " не найден."));
}

FileListTexts fileListTexts(Language language)
{
    if (language == Language::Russian)
        return {QStringLiteral("Список"), QStringLiteral("Таблица"),
                {QStringLiteral("Имя"), QStringLiteral("Размер"), QStringLiteral("Тип"), QStringLiteral("Изменён")},
                QStringLiteral("Папка"), QStringLiteral("Файл %1")};
    return {QStringLiteral("List"), QStringLiteral("Details"),
            {QStringLiteral("Name"), QStringLiteral("Size"), QStringLiteral("Type"), QStringLiteral("Date Modified")},
            QStringLiteral("Folder"), QStringLiteral("%1 File")};
}

MessageText openFailedMessage(Language language, const QString &path, const QString &reason)
{
    return message(MessageIcon::Stop, pick(language, "File ", "Файл ") + path + kBreak
                                          + pick(language, "cannot be opened: ",
                                                 "не удаётся открыть: ")
                                          + reason);
}

MessageText metafileUnreadableMessage(Language language, const QString &path)
{
    return message(MessageIcon::Stop,
                   pick(language, "File ", "Файл ") + path + kBreak
                       + pick(language, "cannot be shown as a Windows metafile.",
                              "не удаётся показать как метафайл Windows."));
}

MessageText failureMessage(Language language, FailedAction action, const QString &detail)
{
    QString head;
    switch (action) {
    case FailedAction::ChangeLibrary:
        head = pick(language, "The library was not changed.", "Библиотека не изменена.");
        break;
    case FailedAction::SaveLibrary:
        head = pick(language, "The library was not saved.", "Библиотека не сохранена.");
        break;
    case FailedAction::ExportSlide:
        head = pick(language, "The slide was not exported.", "Слайд не экспортирован.");
        break;
    }
    return message(MessageIcon::Stop, head + kBreak + detail);
}

} // namespace quarvel
