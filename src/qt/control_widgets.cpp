#include "qt/control_widgets.h"

#include <QApplication>
#include <QCheckBox>
#include <QFontMetrics>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QProgressBar>
#include <QProxyStyle>

#include "qt/conversions.h"
#include "qt/edit_box.h"
#include "qt/gain_strip_widget.h"
#include "qt/split_strip_widget.h"
#include "qt/track_list_widget.h"
#include "qt/picture_button.h"
#include "qt/pictures.h"
#include "qt/updown_widget.h"

namespace qcqt {

namespace {

// The caption close to the box, as the layouts' widths assume. A style, not
// a style sheet: a widget with a style sheet draws its text in the
// application's palette, which under a dark desktop theme is a light grey
// on the window's own light background.
class CheckBoxStyle : public QProxyStyle {
public:
    // a style of its own of the application's kind (the desktop's, or the one
    // asked for by -style): a proxy would own a style it is given
    CheckBoxStyle() : QProxyStyle(QApplication::style()->name()) {}
    int pixelMetric(PixelMetric metric, const QStyleOption* option, const QWidget* widget) const override
    {
        if (metric == PM_CheckBoxLabelSpacing)
            return 3;
        return QProxyStyle::pixelMetric(metric, option, widget);
    }
};

QStyle* checkboxstyle()
{
    static QPointer<QStyle> style;
    if (!style) {
        style = new CheckBoxStyle;
        style->setParent(qApp);  // goes with the application
    }
    return style;
}

void setbackground(QWidget* w, std::int32_t color, QPalette::ColorRole role)
{
    if (color < 0) {
        w->setAutoFillBackground(false);
        return;
    }
    const QColor c = qtcolor(color);
    if (w->palette().color(role) != c) {
        QPalette p = w->palette();
        p.setColor(role, c);
        w->setPalette(p);
    }
    w->setAutoFillBackground(role == QPalette::Window);
}

void synccommon(const ui::Control& c, QWidget* w)
{
    const ui::Rect& r = c.rect();
    const QRect geometry(r.left, r.top, r.width, r.height);
    if (w->geometry() != geometry)
        w->setGeometry(geometry);
    // A control without a font of its own uses its parent's, as the form's.
    if (!c.font().name.empty()) {
        const QFont f = qtfont(c.font());
        if (w->font() != f)
            w->setFont(f);
    }
    const QString hint = displaytext(c.hint());
    if (w->toolTip() != hint)
        w->setToolTip(hint);
    w->setEnabled(c.enabled());
    if (!c.tabstop() && w->focusPolicy() == Qt::StrongFocus)
        w->setFocusPolicy(Qt::ClickFocus);
    if (w->isHidden() == c.visible())
        w->setVisible(c.visible());
}

void synclabel(const ui::Control& c, QLabel* l)
{
    const QString html = mnemonichtml(c.caption());
    if (html.isEmpty()) {
        l->setTextFormat(Qt::PlainText);
        l->setText(displaytext(c.caption()));
    } else {
        l->setTextFormat(Qt::RichText);
        l->setText(html);
    }
    l->setAlignment(qtalign(c.align()));
    // A label made tall enough for two lines or more wraps its caption.
    l->setWordWrap(c.rect().height >= 2 * QFontMetrics(l->font()).lineSpacing());
    setbackground(l, c.color(), QPalette::Window);
}

void syncedit(const ui::Control& c, QLineEdit* e)
{
    e->setMaxLength(c.maxlength() > 0 ? c.maxlength() : 32767);
    const QString text = toqt(c.text());
    if (e->text() != text)
        e->setText(text);
    if (c.sellength() > 0)
        e->setSelection(c.caret(), c.sellength());
    else if (e->hasSelectedText() || e->cursorPosition() != c.caret()) {
        e->deselect();
        e->setCursorPosition(c.caret());
    }
    setbackground(e, c.color(), QPalette::Base);
}

void syncbutton(const ui::Control& c, PictureButton* b)
{
    const QString caption = displaytext(c.caption());
    if (b->text() != caption)
        b->setText(caption);
    b->setpicture(picture(c.picture()), picturespacing(c.picture()));
}

void synccheckbox(const ui::Control& c, QCheckBox* b)
{
    const QString caption = displaytext(c.caption());
    if (b->text() != caption)
        b->setText(caption);
    if (b->isChecked() != c.checked())
        b->setChecked(c.checked());
    setbackground(b, c.color(), QPalette::Window);
}

void syncprogress(const ui::Control& c, QProgressBar* p)
{
    if (p->minimum() != c.minimum() || p->maximum() != c.maximum())
        p->setRange(c.minimum(), c.maximum());
    if (p->value() != c.position()) {
        // QProgressBar repaints at once whenever the bar grows by a pixel;
        // a long load moves it a hundred times, and each paint then stalls
        // the walk. It is painted with the next events instead.
        p->setUpdatesEnabled(false);
        p->setValue(c.position());
        p->setUpdatesEnabled(true);
    }
}

}  // namespace

QWidget* makewidget(ui::Kind kind, QWidget* parent)
{
    switch (kind) {
    case ui::Kind::Panel: {
        auto* f = new QFrame(parent);
        f->setFrameShape(QFrame::NoFrame);
        return f;
    }
    case ui::Kind::Group: return new QGroupBox(parent);
    case ui::Kind::Label: return new QLabel(parent);
    case ui::Kind::Button: return new PictureButton(parent);
    case ui::Kind::CheckBox: {
        auto* b = new QCheckBox(parent);
        b->setStyle(checkboxstyle());
        return b;
    }
    case ui::Kind::Edit: return new EditBox(parent);
    case ui::Kind::ProgressBar: {
        auto* p = new QProgressBar(parent);
        p->setTextVisible(false);
        return p;
    }
    case ui::Kind::UpDown: return new UpDownWidget(parent);
    case ui::Kind::GainStrip: return new GainStripWidget(parent);
    case ui::Kind::SplitStrip: return new SplitStripWidget(parent);
    case ui::Kind::TrackList: return new TrackListWidget(parent);
    case ui::Kind::Form:
    case ui::Kind::MenuBar:
    case ui::Kind::Menu:
    case ui::Kind::MenuItem:
    case ui::Kind::Separator: break;
    }
    return nullptr;
}

void syncwidget(const ui::Control& c, QWidget* w)
{
    synccommon(c, w);
    switch (c.kind()) {
    case ui::Kind::Panel: setbackground(w, c.color(), QPalette::Window); break;
    case ui::Kind::Group: {
        auto* g = static_cast<QGroupBox*>(w);
        g->setTitle(displaytext(c.caption()));
        setbackground(g, c.color(), QPalette::Window);
        break;
    }
    case ui::Kind::Label: synclabel(c, static_cast<QLabel*>(w)); break;
    case ui::Kind::Button: syncbutton(c, static_cast<PictureButton*>(w)); break;
    case ui::Kind::CheckBox: synccheckbox(c, static_cast<QCheckBox*>(w)); break;
    case ui::Kind::Edit: syncedit(c, static_cast<QLineEdit*>(w)); break;
    case ui::Kind::ProgressBar: syncprogress(c, static_cast<QProgressBar*>(w)); break;
    case ui::Kind::GainStrip:
        static_cast<GainStripWidget*>(w)->show(static_cast<const ui::GainStrip&>(c));
        break;
    case ui::Kind::SplitStrip:
        static_cast<SplitStripWidget*>(w)->show(static_cast<const ui::SplitStrip&>(c));
        break;
    case ui::Kind::TrackList:
        static_cast<TrackListWidget*>(w)->show(static_cast<const ui::TrackList&>(c));
        break;
    case ui::Kind::UpDown:
    case ui::Kind::Form:
    case ui::Kind::MenuBar:
    case ui::Kind::Menu:
    case ui::Kind::MenuItem:
    case ui::Kind::Separator: break;
    }
}

}  // namespace qcqt
