#pragma once

// Texts of the main window in both languages: captions and tooltips of the
// toolbar buttons and lists, the menus with their shortcuts and initial
// states, the language commands, and the main window's messages.
//
// Texts are kept exactly as they are shown, with "&" marking access keys
// (as Qt reads them too) and "\r\n" as the line break inside messages (the
// prompts turn it into "\n" for Qt's message boxes).

#include <QList>
#include <QString>
#include <QStringList>

namespace quarvel {

enum class Language { English, Russian };

// "Ru" (exactly) is Russian; any other code counts as English.
Language languageOf(const QString &languageCode);
// "Ru" or "En".
QString languageCodeOf(Language language);

// Window title and message box title in both languages.
inline constexpr char kProgramName[] = "Quarvel";

// Caption and tooltip the caption setter gives a control of the main window.
struct ControlTexts
{
    QString caption;
    QString toolTip;
};

// The controls the caption setter labels: the nine toolbar buttons, then
// List1 and ExplorerList1 (which only get tooltips).
QStringList captionedControlNames();

// Button captions show only when buttonCaptions is exactly "Use"; tooltips
// are set either way. An unknown control gives empty texts.
ControlTexts controlTexts(const QString &controlName, Language language,
                          const QString &buttonCaptions);

struct MenuItemDef
{
    QString name;
    // Parent item; empty for the menu bar's own items and the pop-up root.
    QString parent;
    bool popupRoot = false; // pmnuExport: shown on the Export button, never on the menu bar
    // Portable key sequence text (QKeySequence reads it); empty for none.
    QString shortcut;
    bool enabled = true;
    bool visible = true;
    bool checkable = false;
    // Shown before a caption setter runs, and always on items neither
    // setter touches.
    QString designCaption;
};

// Every menu item of the main window, parents before children, in menu
// order.
const QList<MenuItemDef> &mainMenuItems();

// Caption of a menu item once the caption setter of the language has run.
QString menuCaption(const QString &itemName, Language language);

// Settings key written by the language commands.
inline constexpr char kSettingsSection[] = "Settings";
inline constexpr char kLangKey[] = "Lang";

// Check marks of the two language items for the language applied.
struct LanguageMarks
{
    bool englishChecked = false; // mnuTLEng
    bool russianChecked = false; // mnuTLRus
};
LanguageMarks languageMarks(Language language);

// What a language command (mnuTLEng / mnuTLRus) does besides running the
// caption setter: write Lang, set LanguageCode, set the check marks.
struct LanguageCommand
{
    QString langValue;    // written to Lang in section Settings
    QString languageCode; // the new LanguageCode
    LanguageMarks marks;
};
LanguageCommand languageCommand(Language language);

// The file lists' own texts: the context menu's view styles, the Details
// columns, and the type shown for folders and files.
struct FileListTexts
{
    QString list, details;
    QStringList columns;   // name, size, type, date modified
    QString folderType;    // "Folder"
    QString fileType;      // "%1 File", %1 the extension upper-cased
};
FileListTexts fileListTexts(Language language);

enum class MessageIcon { Stop, Exclamation, Question };

struct MessageText
{
    MessageIcon icon = MessageIcon::Stop;
    bool yesNo = false; // Yes and No buttons instead of OK
    QString title;
    QString text;
};

// A box of the program's own title; a question has Yes and No.
MessageText message(MessageIcon icon, QString body);

// A library that yields no slide to select.
MessageText notLibraryMessage(Language language, const QString &path);
// A file whose first slide name is empty.
MessageText notSlideMessage(Language language, const QString &path);
// Add: a slide of that name (any letter case) is already in the library.
MessageText rewriteSlideQuestion(Language language, const QString &slideName,
                                 const QString &libraryPath);
// Delete: confirmation for the selected slide.
MessageText deleteSlideQuestion(Language language, const QString &slideName,
                                const QString &libraryPath);
// Open dialog: the chosen file does not exist.
MessageText fileNotFoundMessage(Language language, const QString &fileName);
// Reading a library or slide failed; reason is the component's own text.
MessageText openFailedMessage(Language language, const QString &path, const QString &reason);
// A metafile that cannot be read as a picture.
MessageText metafileUnreadableMessage(Language language, const QString &path);

// "\r\n" line breaks as "\n", for display in Qt.
// A command that could not do its work: what was left unchanged, then the
// file and the reason (detail names both).
enum class FailedAction { ChangeLibrary, SaveLibrary, ExportSlide };
MessageText failureMessage(Language language, FailedAction action, const QString &detail);

} // namespace quarvel
