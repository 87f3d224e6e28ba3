// A push button that can show a picture above its caption, the way the
// toolbar and the cut step buttons present themselves. Without a picture it
// is an ordinary push button; "&" in the caption marks the access key.
#pragma once

#include <QPixmap>
#include <QPushButton>

namespace qcqt {

class PictureButton : public QPushButton {
public:
    explicit PictureButton(QWidget* parent);
    void setpicture(const QPixmap& picture, int spacing);
    const QPixmap& picture() const { return picture_; }

protected:
    void paintEvent(QPaintEvent* e) override;

private:
    QPixmap picture_;
    int spacing_ = 0;
};

}  // namespace qcqt
