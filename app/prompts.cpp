#include "prompts.h"

#include <QApplication>
#include <QInputDialog>
#include <QLibraryInfo>
#include <QMessageBox>
#include <QPushButton>
#include <QTranslator>

#include <memory>

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

QString promptButtonText(Answer button, bool russian)
{
    switch (button) {
    case Answer::Ok: return russian ? QStringLiteral("ОК") : QStringLiteral("OK");
    case Answer::Yes: return russian ? QStringLiteral("Да") : QStringLiteral("Yes");
    case Answer::No: return russian ? QStringLiteral("Нет") : QStringLiteral("No");
    case Answer::Cancel: return russian ? QStringLiteral("Отмена") : QStringLiteral("Cancel");
    case Answer::YesToAll: return russian ? QStringLiteral("Да для всех") : QStringLiteral("Yes to All");
    case Answer::NoToAll: return russian ? QStringLiteral("Нет для всех") : QStringLiteral("No to All");
    }
    return {};
}

void applyQtTranslations(bool russian)
{
    static QTranslator *installed = nullptr;
    if (installed) {
        QCoreApplication::removeTranslator(installed);
        delete installed;
        installed = nullptr;
    }
    if (!russian)
        return;
    auto translator = std::make_unique<QTranslator>();
    if (translator->load(QStringLiteral("qtbase_ru"), QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        installed = translator.release();
        QCoreApplication::installTranslator(installed);
    }
}

Answer WidgetPrompts::message(const MessageSpec &spec)
{
    const ArrowWhileAsking arrow;
    const bool question = spec.icon == PromptIcon::Question;
    const bool cancel = !question && spec.withCancel;
    QMessageBox::StandardButtons buttons = QMessageBox::Ok;
    if (question)
        buttons = QMessageBox::Yes | QMessageBox::No | (spec.withCancel ? QMessageBox::Cancel : QMessageBox::NoButton)
                  | (spec.toAll ? QMessageBox::YesToAll | QMessageBox::NoToAll : QMessageBox::NoButton);
    else if (cancel)
        buttons = QMessageBox::Ok | QMessageBox::Cancel;
    QMessageBox box(boxIcon(spec.icon), spec.title, shownText(spec.text), buttons, mParent);
    box.setTextFormat(Qt::PlainText);
    static const std::pair<QMessageBox::StandardButton, Answer> kButtons[] = {
        {QMessageBox::Ok, Answer::Ok},          {QMessageBox::Yes, Answer::Yes},
        {QMessageBox::No, Answer::No},          {QMessageBox::Cancel, Answer::Cancel},
        {QMessageBox::YesToAll, Answer::YesToAll}, {QMessageBox::NoToAll, Answer::NoToAll}};
    for (const auto &[standard, answer] : kButtons) {
        if (QAbstractButton *b = box.button(standard))
            b->setText(promptButtonText(answer, russian()));
    }
    if (question && !spec.withCancel)
        box.setEscapeButton(QMessageBox::No);
    else if (question || cancel)
        box.setEscapeButton(QMessageBox::Cancel);
    const int result = box.exec();
    if (question) {
        if (spec.toAll && result == QMessageBox::YesToAll)
            return Answer::YesToAll;
        if (spec.toAll && result == QMessageBox::NoToAll)
            return Answer::NoToAll;
        if (spec.withCancel && result != QMessageBox::Yes && result != QMessageBox::No)
            return Answer::Cancel;
        return result == QMessageBox::Yes ? Answer::Yes : Answer::No;
    }
    if (cancel && result != QMessageBox::Ok)
        return Answer::Cancel;
    return Answer::Ok;
}

std::optional<QString> WidgetPrompts::input(const QString &prompt, const QString &title,
                                            const QString &defaultText)
{
    const ArrowWhileAsking arrow;
    QInputDialog box(mParent);
    box.setWindowTitle(title);
    box.setLabelText(shownText(prompt));
    box.setTextValue(defaultText);
    box.setOkButtonText(promptButtonText(Answer::Ok, russian()));
    box.setCancelButtonText(promptButtonText(Answer::Cancel, russian()));
    if (box.exec() != QDialog::Accepted)
        return std::nullopt;
    return box.textValue();
}

} // namespace quarvel
