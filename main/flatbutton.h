#pragma once

// A flat toolbar button: picture, optional caption under it, tooltip, and for
// the Export button a drop-down zone on its right edge that asks the window
// for its menu instead of clicking.

#include <QIcon>
#include <QToolButton>

namespace quarvel {

class FlatButton : public QToolButton
{
    Q_OBJECT

public:
    explicit FlatButton(QWidget *parent = nullptr);

    void setCaption(const QString &caption);
    QString caption() const { return mCaption; }
    void setShowCaption(bool show);

    // The picture is compared by identity: the window keeps the icons and
    // asks which one the button shows.
    void setPicture(const QIcon &icon, const QString &pictureKey);
    const QString &pictureKey() const { return mPictureKey; }

    void setDropDown(bool enabled);
    bool hasDropDown() const { return mDropDown; }
    // Leaves the pressed drop-down state once the menu has closed.
    void reset();

signals:
    void dropDownRequested();

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    QRect dropDownZone() const;

    QString mCaption;
    QString mPictureKey;
    bool mShowCaption = true;
    bool mDropDown = false;
    bool mDropDownDown = false;
};

} // namespace quarvel
