#pragma once

// The splash window shown while the program starts: the program's picture,
// its icon and the version. It has no behaviour besides showing itself.

#include <QWidget>

namespace quarvel {

class FrmStart : public QWidget
{
    Q_OBJECT
public:
    explicit FrmStart(QWidget *parent = nullptr);

    // The text of lblVersion: the version, a line break and the credit line.
    static QString versionText();

protected:
    void paintEvent(QPaintEvent *event) override;
};

} // namespace quarvel
