// Caption tables of both languages, the menus, the language commands and the
// main window's messages, checked against their exact texts.

#include "captions.h"

#include <QHash>
#include <QSet>

#include <gtest/gtest.h>

using namespace quarvel;

namespace {
constexpr Language En = Language::English;
constexpr Language Ru = Language::Russian;
} // namespace

TEST(Captions, ControlTexts)
{
    struct Row
    {
        const char *control;
        Language language;
        const char *caption;
        const char *toolTip;
    };
    const Row rows[] = {
        {"cmdFBNew", En, "New...", "Create a new Library of Slides"},
        {"cmdFBNew", Ru, "Новый", "Создание новой Библиотеки Слайдов"},
        {"cmdFBExtr", Ru, "Экспорт", "Экспорт Слайда из Библиотеки в файл SLD или WMF"},
        {"cmdFBExit", En, "Exit", "Exit Quarvel"},
        {"cmdFBExit", Ru, "Выход", "Выход из программы"},
        {"List1", En, "", "Choose slide for viewing"},
        {"ExplorerList1", Ru, "", "Выберите файл для просмотра"},
    };
    for (const Row &r : rows) {
        SCOPED_TRACE(r.control);
        const ControlTexts texts = controlTexts(r.control, r.language, "Use");
        EXPECT_EQ(texts.caption, QString::fromUtf8(r.caption));
        EXPECT_EQ(texts.toolTip, QString::fromUtf8(r.toolTip));
    }
}

TEST(Captions, EveryControlHasBothLanguagesAndCaptionsFollowTheChoice)
{
    const QStringList names = captionedControlNames();
    ASSERT_EQ(names.size(), 11);
    for (const QString &name : names) {
        SCOPED_TRACE(name.toStdString());
        const bool button = name.startsWith("cmdFB");
        const ControlTexts en = controlTexts(name, En, "Use");
        const ControlTexts ru = controlTexts(name, Ru, "Use");
        EXPECT_FALSE(en.toolTip.isEmpty());
        EXPECT_FALSE(ru.toolTip.isEmpty());
        EXPECT_NE(en.toolTip, ru.toolTip);
        EXPECT_EQ(en.caption.isEmpty(), !button);
        EXPECT_EQ(ru.caption.isEmpty(), !button);
        // Only exactly "Use" shows captions; tooltips stay.
        for (const char *choice : {"NotUse", "use", ""}) {
            const ControlTexts hidden = controlTexts(name, Ru, choice);
            EXPECT_TRUE(hidden.caption.isEmpty()) << choice;
            EXPECT_EQ(hidden.toolTip, ru.toolTip) << choice;
        }
    }
    EXPECT_FALSE(controlTexts("cmdFBExit", Ru, "Use").toolTip.contains("Quarvel"));
}

TEST(Captions, MenuCaptions)
{
    struct Row
    {
        const char *item, *design, *english, *russian;
    };
    const Row rows[] = {
        {"mnuFile", "&File", "&File", "Файл"},
        {"mnuFOpen", "&Open...", "Open...", "Открыть..."}, // no access key in English
        {"mnuAESLD", "SLD...", "SLD...", "в &SLD"},
        {"mnuAEWMF", "&WMF...", "WMF...", "в &WMF"},
        {"pmnuESLD", "To &SLD...", "to &SLD", "SLD..."},
        {"mnuTLanguages", "Languages", "Languages", "Язык"},
        {"mnuTAbout", "&About", "&About", "О программе"},
        // Items neither setter touches keep their design captions.
        {"mnuHelp", "&?", "&?", "&?"},
        {"mnuTLEng", "English", "English", "English"},
        {"pmnuExport", "pExport", "pExport", "pExport"},
    };
    QHash<QString, MenuItemDef> items;
    for (const MenuItemDef &item : mainMenuItems())
        items.insert(item.name, item);
    for (const Row &r : rows) {
        SCOPED_TRACE(r.item);
        ASSERT_TRUE(items.contains(r.item));
        EXPECT_EQ(items[r.item].designCaption, QString::fromUtf8(r.design));
        EXPECT_EQ(menuCaption(r.item, En), QString::fromUtf8(r.english));
        EXPECT_EQ(menuCaption(r.item, Ru), QString::fromUtf8(r.russian));
    }
}

TEST(Captions, MenuStructureShortcutsAndStates)
{
    const QList<MenuItemDef> &items = mainMenuItems();
    EXPECT_EQ(items.size(), 24);
    QSet<QString> seen;
    QHash<QString, MenuItemDef> byName;
    for (const MenuItemDef &item : items) {
        SCOPED_TRACE(item.name.toStdString());
        EXPECT_TRUE(item.parent.isEmpty() || seen.contains(item.parent)) << "parent first";
        EXPECT_FALSE(menuCaption(item.name, En).isEmpty());
        EXPECT_FALSE(menuCaption(item.name, Ru).isEmpty());
        seen.insert(item.name);
        byName.insert(item.name, item);
    }
    const QHash<QString, QString> shortcuts = {
        {"mnuFNew", "Ctrl+N"},  {"mnuFOpen", "Ctrl+O"},   {"mnuFSaveAs", "Ctrl+S"},
        {"mnuADdd", "Ctrl+A"},  {"mnuADelete", "Ctrl+D"}, {"mnuFFav", "Ctrl+F"}};
    for (const MenuItemDef &item : items) {
        if (item.name == "mnuFExit")
            continue;
        EXPECT_EQ(item.shortcut, shortcuts.value(item.name)) << item.name.toStdString();
    }
    const QString exitKey = byName["mnuFExit"].shortcut;
    EXPECT_FALSE(exitKey.isEmpty());
    EXPECT_FALSE(exitKey.startsWith("Ctrl+") && exitKey.size() == 6) << "not Ctrl+letter";

    // Add, Delete and Export wait for a library; BMP export, the language
    // submenu and the pop-up root are never on show.
    for (const char *name : {"mnuADdd", "mnuADelete", "mnuAExport"})
        EXPECT_FALSE(byName[name].enabled) << name;
    for (const char *name : {"mnuAEBMP", "mnuTLanguages", "pmnuExport", "pmnuEBMP"})
        EXPECT_FALSE(byName[name].visible) << name;
}

TEST(Captions, LanguageCodesAndCommands)
{
    EXPECT_EQ(languageOf("Ru"), Ru);
    for (const char *other : {"En", "ru", "RU", "", "De"})
        EXPECT_EQ(languageOf(other), En) << other;

    for (Language language : {En, Ru}) {
        const LanguageCommand command = languageCommand(language);
        const QString code = language == Ru ? "Ru" : "En";
        EXPECT_EQ(command.langValue, code);
        EXPECT_EQ(command.languageCode, code);
        EXPECT_NE(command.marks.englishChecked, command.marks.russianChecked);
        EXPECT_EQ(command.marks.russianChecked, language == Ru);
    }
    EXPECT_STREQ(kLangKey, "Lang");
    EXPECT_STREQ(kSettingsSection, "Settings");
}

TEST(Captions, Messages)
{
    const QString lib = "C:\\Lib\\doors.slb";
    struct Row
    {
        MessageText message;
        MessageIcon icon;
        const char *text;
    };
    const Row rows[] = {
        {notLibraryMessage(En, lib), MessageIcon::Stop,
         "File C:\\Lib\\doors.slb\r\nis not library of AutoCAD slides."},
        {notLibraryMessage(Ru, lib), MessageIcon::Stop,
         "Файл C:\\Lib\\doors.slb\r\nне является библиотекой слайдов AutoCAD."},
        {notSlideMessage(En, "a.sld"), MessageIcon::Stop,
         "File a.sld\r\nis not file of AutoCAD slide."},
        {notSlideMessage(Ru, "a.sld"), MessageIcon::Stop,
         "Файл a.sld\r\nне является слайдом AutoCAD."},
        {rewriteSlideQuestion(En, "D1", lib), MessageIcon::Question,
         "Slide D1 in Library C:\\Lib\\doors.slb already exist.\r\n"
         "Rewrite existing slide in the library?"},
        {rewriteSlideQuestion(Ru, "D1", lib), MessageIcon::Question,
         "Слайд D1 в библиотеке C:\\Lib\\doors.slb уже есть.\r\n"
         "Перезаписать существующий в библиотеке слайд?"},
        {deleteSlideQuestion(En, "D1", lib), MessageIcon::Question,
         "Are You sure to delete slide D1 from Library \r\nC:\\Lib\\doors.slb?"},
        {deleteSlideQuestion(Ru, "D1", lib), MessageIcon::Question,
         "Вы уверены, что хотите удалить слайд D1 из библиотеки \r\nC:\\Lib\\doors.slb?"},
        {fileNotFoundMessage(En, "x.slb"), MessageIcon::Exclamation, "File x.slb is not Found."},
        {fileNotFoundMessage(Ru, "x.slb"), MessageIcon::Exclamation, "Файл x.slb не найден."},
    };
    for (const Row &r : rows) {
        EXPECT_EQ(r.message.text, QString::fromUtf8(r.text));
        EXPECT_EQ(r.message.icon, r.icon);
        EXPECT_EQ(r.message.yesNo, r.icon == MessageIcon::Question);
        EXPECT_EQ(r.message.title, "Quarvel");
    }
    // Failures of our own name the file and the reason in both languages.
    for (Language language : {En, Ru}) {
        const MessageText failed = openFailedMessage(language, lib, "truncated record");
        EXPECT_TRUE(failed.text.contains(lib) && failed.text.endsWith("truncated record"));
        EXPECT_TRUE(metafileUnreadableMessage(language, "p.wmf").text.contains("p.wmf"));
    }
    EXPECT_NE(openFailedMessage(En, lib, "r").text, openFailedMessage(Ru, lib, "r").text);
    EXPECT_EQ(toDisplayText("a\r\nb\r\nc"), "a\nb\nc");
}
