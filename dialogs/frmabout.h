#pragma once

// The About box: the program's name, version, purpose, author, a contact link
// and the licence agreement. All its texts are Russian whatever the interface
// language is; the version comes from the program's version number.

#include <QDialog>
#include <QString>

namespace quarvel {

class FrmAbout : public QDialog
{
    Q_OBJECT

public:
    explicit FrmAbout(QWidget *parent = nullptr);

    // "Версия " followed by major.minor of the program's version number.
    static QString versionText();
    // The licence agreement as the program keeps it: five blocks of lines
    // ending in CR LF, an empty line after every block but the last, and no
    // line break at the very end.
    static QString licenceText();
};

// Shows the About box modally over parent and returns when it has closed.
void showAbout(QWidget *parent);

} // namespace quarvel
