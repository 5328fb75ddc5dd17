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

enum class Answer { Ok, Yes, No, Cancel };

struct MessageSpec
{
    PromptIcon icon = PromptIcon::Information;
    // "\r\n" inside the text is a line break.
    QString text;
    QString title = QString::fromUtf16(kProgramTitle);
    // OK and Cancel instead of OK alone (not for questions, which have Yes
    // and No).
    bool withCancel = false;
};

class Prompts
{
public:
    virtual ~Prompts() = default;

    // Shows a message and waits for it to be closed. A question answers Yes
    // or No (closing the box is No); a box withCancel answers Ok or Cancel
    // (closing it is Cancel); any other box answers Ok.
    virtual Answer message(const MessageSpec &spec) = 0;

    // Asks for a line of text; nothing when the user cancels.
    virtual std::optional<QString> input(const QString &prompt, const QString &title,
                                         const QString &defaultText) = 0;
};

// Modal QMessageBox and QInputDialog on top of parent (or of the screen).
class WidgetPrompts : public Prompts
{
public:
    explicit WidgetPrompts(QWidget *parent = nullptr) : mParent(parent) {}
    void setParent(QWidget *parent) { mParent = parent; }

    Answer message(const MessageSpec &spec) override;
    std::optional<QString> input(const QString &prompt, const QString &title,
                                 const QString &defaultText) override;

private:
    QWidget *mParent;
};

} // namespace quarvel
