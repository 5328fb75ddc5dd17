#pragma once

// Every message box and input box of the program goes through Prompts, so
// that tests can script the answers and check the exact texts shown.

#include <QString>

#include <optional>

class QWidget;

namespace quarvel {

inline constexpr char16_t kProgramTitle[] = u"Quarvel";

enum class PromptIcon {
    Critical,      // stop: a file that is not a library or slide, a failure
    Exclamation,   // a file or folder that is not found
    Question,      // a confirmation; the box has Yes and No
    Information,
};

enum class Answer { Ok, Yes, No, Cancel, YesToAll, NoToAll };

struct MessageSpec
{
    PromptIcon icon = PromptIcon::Information;
    // "\r\n" inside the text is a line break.
    QString text;
    QString title = QString::fromUtf16(kProgramTitle);
    // OK and Cancel instead of OK alone; for a question, Cancel besides Yes
    // and No.
    bool withCancel = false;
    // A question asked for each of many items: also Yes to All and No to All.
    bool toAll = false;
};

class Prompts
{
public:
    virtual ~Prompts() = default;

    // Shows a message and waits for it to be closed. A question answers Yes
    // or No (closing the box is No; with Cancel, closing it is Cancel); a box
    // withCancel answers Ok or Cancel (closing it is Cancel); any other box
    // answers Ok.
    virtual Answer message(const MessageSpec &spec) = 0;

    // Asks for a line of text; nothing when the user cancels.
    virtual std::optional<QString> input(const QString &prompt, const QString &title,
                                         const QString &defaultText) = 0;
};

// The caption of a box's button in the interface language (Russian when
// russian): OK, Yes, No or Cancel. The boxes set these themselves, so they
// read right whether or not Qt's own translations are installed.
QString promptButtonText(Answer button, bool russian);

// Installs Qt's own translations of the language (qtbase_ru from Qt's
// translations folder) for the texts Qt draws itself, or removes them for
// English. Missing translation files leave Qt's English texts.
void applyQtTranslations(bool russian);

// Modal QMessageBox and QInputDialog on top of parent (or of the screen).
class WidgetPrompts : public Prompts
{
public:
    explicit WidgetPrompts(QWidget *parent = nullptr) : mParent(parent) {}
    void setParent(QWidget *parent) { mParent = parent; }
    // The language code ("Ru" or anything else) that the buttons follow;
    // English while none is set.
    void setLanguageCode(const QString *languageCode) { mLanguageCode = languageCode; }

    Answer message(const MessageSpec &spec) override;
    std::optional<QString> input(const QString &prompt, const QString &title,
                                 const QString &defaultText) override;

private:
    bool russian() const { return mLanguageCode && *mLanguageCode == QLatin1String("Ru"); }

    QWidget *mParent;
    const QString *mLanguageCode = nullptr;
};

} // namespace quarvel
