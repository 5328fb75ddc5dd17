#pragma once

// Texts of the main window's commands for working on many slides at once
// (view menu, the slide list's context menu, filter, rename, delete of
// several slides), in both languages, and the rule a typed slide name must
// pass. Messages keep "\r\n" as their line break, like the other tables.

#include "captions.h"
#include "prompts.h"

#include <QList>
#include <QString>

namespace quarvel {

class NameCodec;
class SlideLibrary;

struct FeatureCommandDef
{
    QString name;
    QString parent;       // menu bar item it sits in; empty for the context menu only
    QString shortcut;     // portable key sequence text; empty for none
    bool checkable = false;
    QString captionEn;
    QString captionRu;
};

// A message of the caption tables shown through prompts.
PromptIcon promptIcon(MessageIcon icon);
Answer showMessage(Prompts &prompts, const MessageText &text);

// The View menu's items mnuVTiles and mnuVFilter, and the actions of the
// slide list's context menu (cmnu...), in menu order.
const QList<FeatureCommandDef> &featureCommands();
QString featureCaption(const QString &name, Language language);

// "12 of 783" beside the filter box.
QString filterCountText(Language language, int shown, int total);
// Placeholder of the empty filter box.
QString filterPlaceholder(Language language);

// The window title for the open file ("DOOR.SLB — Quarvel"); the program's
// name alone when nothing is open.
QString windowTitleFor(const QString &openFile);

// Delete of several slides: one question for all of them.
MessageText deleteSlidesQuestion(Language language, int count, const QString &libraryPath);
// Delete would remove every slide of the library.
MessageText lastSlideKeptMessage(Language language);

// Why a typed slide name cannot be used.
enum class NameProblem { None, Empty, BadCharacter, NotInCodePage, TooLong, Taken };
// A new name for slide index of library (-1: a slide that is not in it yet):
// no \ / : * ? " < > | or blank, representable in the code page, at most
// 31 bytes there, and no other slide of that name in any letter case.
NameProblem checkNewSlideName(const SlideLibrary &library, int index, const QString &name);

struct InputPrompt
{
    QString prompt;
    QString title;
};
InputPrompt renameSlideInput(Language language, const QString &slideName);

// Export...: count of the files to write exist already in folder; Yes
// overwrites them, No skips them, Cancel exports nothing.
MessageText exportOverwriteQuestion(Language language, int count, const QString &folder);
// The progress box of a long export, and its Cancel button.
QString exportProgressText(Language language);
QString cancelText(Language language);
MessageText badSlideNameMessage(Language language, const QString &name, NameProblem problem);

// What an edit of the open library did, as the Undo and Redo items name it:
// "Delete 3 Slides" / "удаление 3 слайдов" (Russian in the case the verbs
// "Отменить" and "Повторить" take).
enum class EditKind { Add, Replace, Delete, Rename };
QString editText(Language language, EditKind kind, int count);
// The Undo or Redo item for an edit so named ("Undo Delete 3 Slides",
// "Отменить удаление 3 слайдов"); the bare command when there is none.
QString historyCaption(Language language, bool redo, const QString &edit);

} // namespace quarvel
