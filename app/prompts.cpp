#include "prompts.h"

#include <QApplication>
#include <QInputDialog>
#include <QMessageBox>

namespace quarvel {

namespace {

QString shownText(const QString &text)
{
    QString shown = text;
    return shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
}

// A box asks for the user's attention, so it gets the normal pointer even
// while the busy pointer is set for the program (at start-up).
class ArrowWhileAsking
{
public:
    ArrowWhileAsking() : mActive(QApplication::overrideCursor() != nullptr)
    {
        if (mActive)
            QApplication::setOverrideCursor(Qt::ArrowCursor);
    }
    ~ArrowWhileAsking()
    {
        if (mActive)
            QApplication::restoreOverrideCursor();
    }
    ArrowWhileAsking(const ArrowWhileAsking &) = delete;
    ArrowWhileAsking &operator=(const ArrowWhileAsking &) = delete;

private:
    bool mActive;
};

QMessageBox::Icon boxIcon(PromptIcon icon)
{
    switch (icon) {
    case PromptIcon::Critical:
        return QMessageBox::Critical;
    case PromptIcon::Exclamation:
        return QMessageBox::Warning;
    case PromptIcon::Question:
        return QMessageBox::Question;
    case PromptIcon::Information:
        break;
    }
    return QMessageBox::Information;
}

} // namespace

Answer WidgetPrompts::message(const MessageSpec &spec)
{
    const ArrowWhileAsking arrow;
    const bool question = spec.icon == PromptIcon::Question;
    const bool cancel = !question && spec.withCancel;
    QMessageBox::StandardButtons buttons = QMessageBox::Ok;
    if (question)
        buttons = QMessageBox::Yes | QMessageBox::No;
    else if (cancel)
        buttons = QMessageBox::Ok | QMessageBox::Cancel;
    QMessageBox box(boxIcon(spec.icon), spec.title, shownText(spec.text), buttons, mParent);
    box.setTextFormat(Qt::PlainText);
    if (question)
        box.setEscapeButton(QMessageBox::No);
    else if (cancel)
        box.setEscapeButton(QMessageBox::Cancel);
    const int result = box.exec();
    if (question)
        return result == QMessageBox::Yes ? Answer::Yes : Answer::No;
    if (cancel && result != QMessageBox::Ok)
        return Answer::Cancel;
    return Answer::Ok;
}

std::optional<QString> WidgetPrompts::input(const QString &prompt, const QString &title,
                                            const QString &defaultText)
{
    const ArrowWhileAsking arrow;
    bool ok = false;
    const QString text = QInputDialog::getText(mParent, title, shownText(prompt),
                                               QLineEdit::Normal, defaultText, &ok);
    if (!ok)
        return std::nullopt;
    return text;
}

} // namespace quarvel
