#include "qt/form_window.h"

#include <QApplication>
#include <QCloseEvent>
#include <QPointer>
#include <QProxyStyle>
#include <QKeyEvent>
#include <QMenuBar>
#include <QPainter>
#include <QScrollArea>
#include <QScrollBar>
#include <QVBoxLayout>

#include "qt/conversions.h"
#include "ui/control.h"

#include <algorithm>

namespace qcqt {

namespace {

// Compact menu bar entries: no room between them, a pixel beside the text
// and two above and below it. A style, not a style sheet: a menu bar with a
// style sheet draws its entries in the application's palette, which under a
// dark desktop theme gave dark boxes on the window's light bar.
class CompactMenuBarStyle : public QProxyStyle {
public:
    CompactMenuBarStyle() : QProxyStyle(QApplication::style()->name()) {}
    int pixelMetric(PixelMetric metric, const QStyleOption* option, const QWidget* widget) const override
    {
        if (metric == PM_MenuBarItemSpacing)
            return 0;
        return QProxyStyle::pixelMetric(metric, option, widget);
    }
    QSize sizeFromContents(ContentsType type, const QStyleOption* option, const QSize& contents,
                           const QWidget* widget) const override
    {
        if (type == CT_MenuBarItem)
            return contents + QSize(2, 4);
        return QProxyStyle::sizeFromContents(type, option, contents, widget);
    }
};

QStyle* compactmenubarstyle()
{
    static QPointer<QStyle> style;
    if (!style) {
        style = new CompactMenuBarStyle;
        style->setParent(qApp);  // goes with the application
    }
    return style;
}

}  // namespace

ClientArea::ClientArea(QWidget* parent) : QWidget(parent) {}

void ClientArea::setbackground(const QColor& c)
{
    if (background_ == c)
        return;
    background_ = c;
    update();
}

void ClientArea::paintEvent(QPaintEvent*)
{
    {
        QPainter p(this);
        if (background_.isValid())
            p.fillRect(rect(), background_);
        if (decoration)
            decoration(p, size());
    }
    if (painted)
        painted();
}

FormWindow::FormWindow(bool minimizebox)
    : QWidget(nullptr, Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                           Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint),
      client_(new ClientArea(nullptr)),
      view_(new QScrollArea(this))
{
    // The client area scrolls only on a screen too short for it (see
    // setheightlimit); otherwise the view is exactly its size and shows
    // nothing of its own.
    view_->setFrameShape(QFrame::NoFrame);
    view_->setFocusPolicy(Qt::NoFocus);
    view_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    view_->setWidgetResizable(false);
    view_->setWidget(client_);
    client_->setAutoFillBackground(false);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    // the window takes exactly the size of its menu bar and client area
    layout->setSizeConstraint(QLayout::SetFixedSize);
    layout->addWidget(view_);
    if (!minimizebox)
        setWindowFlag(Qt::WindowMinimizeButtonHint, false);
}

QMenuBar* FormWindow::menubar()
{
    if (!menubar_) {
        menubar_ = new QMenuBar(this);
        // a menu bar inside the window, also where the desktop offers a global one
        menubar_->setNativeMenuBar(false);
        // Compact items in the system's small menu font, so that a narrow
        // window's menu bar holds all its entries on one line, as it would
        // on the desktop the layouts were made for.
        menubar_->setFont(qtfont({"Tahoma", 12}));
        menubar_->setStyle(compactmenubarstyle());
        static_cast<QVBoxLayout*>(layout())->setMenuBar(menubar_);
    }
    return menubar_;
}

void FormWindow::setclientsize(int width, int height)
{
    if (client_->size() != QSize(width, height))
        client_->setFixedSize(width, height);
    sizeview();
}

void FormWindow::setheightlimit(int height)
{
    heightlimit_ = height;
    sizeview();
}

int FormWindow::menubarheight() const
{
    return menubar_ ? menubar_->sizeHint().height() : 0;
}

void FormWindow::sizeview()
{
    const QSize c = client_->size();
    const bool scrolls = heightlimit_ >= 0 && c.height() > heightlimit_;
    const int bar = view_->verticalScrollBar()->sizeHint().width();
    const QSize v(c.width() + (scrolls ? bar : 0), scrolls ? std::max(heightlimit_, 1) : c.height());
    view_->setVerticalScrollBarPolicy(scrolls ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
    if (view_->size() != v || view_->minimumSize() != v)
        view_->setFixedSize(v);
}

void FormWindow::closeEvent(QCloseEvent* e)
{
    // The model decides: it runs its close handler and hides the window.
    e->ignore();
    if (closebutton)
        closebutton();
}

void FormWindow::changeEvent(QEvent* e)
{
    if (e->type() == QEvent::ActivationChange && activation)
        activation(isActiveWindow());
    if (e->type() == QEvent::WindowStateChange && minimizedchanged)
        minimizedchanged(isMinimized());
    QWidget::changeEvent(e);
}

void FormWindow::moveEvent(QMoveEvent* e)
{
    QWidget::moveEvent(e);
    if (moved)
        moved();
}

void FormWindow::keyPressEvent(QKeyEvent* e)
{
    const char c = keychar(e->key(), e->modifiers(), e->text());
    if (c != 0 && keytyped) {
        keytyped(c);
        e->accept();
        return;
    }
    QWidget::keyPressEvent(e);
}

char keychar(int key, Qt::KeyboardModifiers modifiers, const QString& text)
{
    switch (key) {
    case Qt::Key_Return:
    case Qt::Key_Enter: return ui::key_enter;
    case Qt::Key_Escape: return ui::key_escape;
    case Qt::Key_Backspace: return ui::key_backspace;
    default: break;
    }
    if (modifiers & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))
        return 0;
    if (text.size() != 1)
        return 0;
    const char16_t u = text[0].unicode();
    if (u < 0x20 || u > 0x7E)
        return 0;
    return static_cast<char>(u);
}

}  // namespace qcqt
