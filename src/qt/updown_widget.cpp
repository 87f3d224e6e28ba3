#include "qt/updown_widget.h"

#include <QToolButton>

namespace qcqt {

namespace {

QToolButton* arrowbutton(QWidget* parent, Qt::ArrowType arrow)
{
    auto* b = new QToolButton(parent);
    b->setArrowType(arrow);
    b->setAutoRepeat(true);
    b->setFocusPolicy(Qt::NoFocus);
    return b;
}

}  // namespace

UpDownWidget::UpDownWidget(QWidget* parent)
    : QWidget(parent), up_(arrowbutton(this, Qt::UpArrow)), down_(arrowbutton(this, Qt::DownArrow))
{
    connect(up_, &QToolButton::clicked, this, [this] {
        if (stepped)
            stepped(+1);
    });
    connect(down_, &QToolButton::clicked, this, [this] {
        if (stepped)
            stepped(-1);
    });
}

void UpDownWidget::resizeEvent(QResizeEvent*)
{
    const int half = height() / 2;
    up_->setGeometry(0, 0, width(), half);
    down_->setGeometry(0, half, width(), height() - half);
}

}  // namespace qcqt
