#include "qt/picture_button.h"

#include <QStyleOptionButton>
#include <QStylePainter>

namespace qcqt {

PictureButton::PictureButton(QWidget* parent) : QPushButton(parent) {}

void PictureButton::setpicture(const QPixmap& picture, int spacing)
{
    if (picture_.cacheKey() == picture.cacheKey() && spacing_ == spacing)
        return;
    picture_ = picture;
    spacing_ = spacing;
    update();
}

void PictureButton::paintEvent(QPaintEvent* e)
{
    if (picture_.isNull()) {
        QPushButton::paintEvent(e);
        return;
    }
    QStylePainter p(this);
    QStyleOptionButton option;
    initStyleOption(&option);
    option.text.clear();
    option.icon = QIcon();
    p.drawControl(QStyle::CE_PushButtonBevel, option);

    // Picture and caption form one block, centred; the picture on top.
    const int flags = Qt::AlignHCenter | Qt::AlignTop | Qt::TextShowMnemonic;
    const QRect textbox = text().isEmpty() ? QRect() : fontMetrics().boundingRect(rect(), flags, text());
    const int textheight = textbox.height();
    const int blockheight = picture_.height() + (textheight > 0 ? spacing_ + textheight : 0);
    const int shift = isDown() ? 1 : 0;
    const int top = (height() - blockheight) / 2 + shift;

    const QPixmap shown = isEnabled() ? picture_
                                      : style()->generatedIconPixmap(QIcon::Disabled, picture_, &option);
    p.drawPixmap((width() - picture_.width()) / 2 + shift, top, shown);
    if (textheight > 0) {
        const QRect area(shift, top + picture_.height() + spacing_, width(), textheight);
        style()->drawItemText(&p, area, flags, palette(), isEnabled(), text(), QPalette::ButtonText);
    }
}

}  // namespace qcqt
