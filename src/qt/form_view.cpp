#include "qt/form_view.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QShortcut>
#include <QMenuBar>
#include <QPainter>
#include <QTimer>
#include <QScreen>
#include <QWindow>
#include <algorithm>

#include "qt/control_widgets.h"
#include "qt/conversions.h"
#include "qt/edit_box.h"
#include "qt/gain_strip_widget.h"
#include "qt/split_strip_widget.h"
#include "qt/track_list_widget.h"
#include "qt/menu_view.h"
#include "qt/picture_button.h"
#include "qt/updown_widget.h"
#include "qt/window_fit.h"
#include "qt/window_look.h"
#include "ui/auto_form.h"

namespace qcqt {

FormView* FormView::active_ = nullptr;

FormView::FormView(ui::Form& form) : form_(form), window_(std::make_unique<FormWindow>(form.minimizebox()))
{
    observe(form_);
    wirewindow();
    // The form's font first: controls made after it inherit it (a widget
    // with a style sheet of its own would not follow a later change).
    ++pushing_;
    syncform();
    --pushing_;
    build(form_, window_->client());
    wirebuddies();
    ++pushing_;
    syncform();
    --pushing_;
}

FormView::~FormView()
{
    dying_ = true;
    for (ui::Control* c : observed_)
        c->observer = nullptr;
    if (active_ == this)
        active_ = nullptr;
    if (cursorset_)
        QApplication::restoreOverrideCursor();
    window_.reset();
}

QWidget* FormView::widget(const ui::Control& c) const
{
    auto it = widgets_.find(&c);
    return it == widgets_.end() ? nullptr : it->second;
}

QAction* FormView::action(const ui::Control& c) const
{
    auto it = actions_.find(&c);
    return it == actions_.end() ? nullptr : it->second;
}

void FormView::showifvisible()
{
    started_ = true;
    ++pushing_;
    syncform();
    --pushing_;
}

void FormView::setdecoration(std::function<void(QPainter&, const QSize&)> draw)
{
    window_->client()->decoration = std::move(draw);
    window_->client()->update();
}

void FormView::settaborder(const std::vector<ui::Control*>& order)
{
    QWidget* previous = nullptr;
    for (const ui::Control* c : order) {
        QWidget* w = widget(*c);
        if (!w)
            continue;
        if (previous)
            QWidget::setTabOrder(previous, w);
        previous = w;
    }
}

void FormView::build(ui::Control& parent, QWidget* into)
{
    for (ui::Control* c : parent.children()) {
        if (c->kind() == ui::Kind::MenuBar) {
            observe(*c);
            buildmenus(*c, window_->menubar(), [this](ui::Control& item, QAction* a) { attachaction(item, a); });
            continue;
        }
        QWidget* w = makewidget(c->kind(), into);
        if (!w)
            continue;
        attach(*c, w);
        build(*c, w);
    }
}

void FormView::wirebuddies()
{
    for (const auto& [control, w] : widgets_) {
        ui::Control* buddy = control->buddy();
        QWidget* partner = buddy ? widget(*buddy) : nullptr;
        auto* label = qobject_cast<QLabel*>(w);
        if (!label || !partner)
            continue;
        label->setBuddy(partner);  // for assistive tools; the label is rich text, which grabs no key
        const QKeySequence key = QKeySequence::mnemonic(toqt(control->caption()));
        if (key.isEmpty())
            continue;
        auto* shortcut = new QShortcut(key, window_.get());
        connect(shortcut, &QShortcut::activated, this, [this, buddy] {
            if (buddy->usable())
                form_.setfocus(buddy);
        });
    }
}

void FormView::attach(ui::Control& c, QWidget* w)
{
    widgets_[&c] = w;
    controls_[w] = &c;
    observe(c);
    ++pushing_;
    syncwidget(c, w);
    --pushing_;
    w->installEventFilter(this);
    wireuser(c, w);
}

void FormView::attachaction(ui::Control& c, QAction* a)
{
    actions_[&c] = a;
    observe(c);
    ++pushing_;
    syncaction(c, a);
    --pushing_;
    if (c.kind() == ui::Kind::MenuItem) {
        connect(a, &QAction::triggered, this, [this, &c] {
            c.click();
            push(c);  // the item's handler decides its check mark, not the click
        });
    }
}

void FormView::observe(ui::Control& c)
{
    c.observer = [this](ui::Control& changed) { push(changed); };
    observed_.push_back(&c);
}

void FormView::wireuser(ui::Control& c, QWidget* w)
{
    switch (c.kind()) {
    case ui::Kind::Button:
        connect(static_cast<PictureButton*>(w), &QPushButton::clicked, this, [&c] { c.click(); });
        break;
    case ui::Kind::CheckBox:
        // The box has toggled itself; the model toggles too (running its
        // handler) and then says what the box shows.
        connect(static_cast<QCheckBox*>(w), &QCheckBox::clicked, this, [this, &c] {
            c.click();
            push(c);
        });
        break;
    case ui::Kind::UpDown:
        static_cast<UpDownWidget*>(w)->stepped = [&c](int delta) { ui::clickupdown(c, delta > 0); };
        break;
    case ui::Kind::Edit: wireedit(c, static_cast<EditBox*>(w)); break;
    case ui::Kind::GainStrip: {
        auto& strip = static_cast<ui::GainStrip&>(c);
        auto* g = static_cast<GainStripWidget*>(w);
        g->pointed = [&strip](int x) { strip.pointer(x); };
        g->arrowed = [&strip](bool right, bool shift) { strip.arrowkey(right, shift); };
        break;
    }
    case ui::Kind::SplitStrip: {
        auto& strip = static_cast<ui::SplitStrip&>(c);
        auto* s = static_cast<SplitStripWidget*>(w);
        s->pressed = [&strip](int x) { strip.press(x); };
        s->dragged = [&strip](int x) { strip.drag(x); };
        s->released = [&strip] { strip.release(); };
        s->arrowed = [&strip](bool right, bool shift) { strip.arrowkey(right, shift); };
        s->deleted = [&strip] { strip.deletekey(); };
        break;
    }
    case ui::Kind::TrackList: {
        auto& list = static_cast<ui::TrackList&>(c);
        auto* t = static_cast<TrackListWidget*>(w);
        // the model decides; the table then shows what it holds
        t->chosen = [this, &list](int row) {
            list.userselect(row);
            push(list);
        };
        t->titled = [this, &list](int row, const std::string& title) {
            list.usertitle(row, title);
            push(list);
        };
        break;
    }
    default: break;
    }
}

void FormView::wireedit(ui::Control& c, EditBox* e)
{
    e->focusin = [this, &c] {
        if (!dying_ && form_.focus() != &c)
            form_.setfocus(&c);
    };
    // Typed characters never reach the line edit (see editkey); what it still
    // changes by itself (Delete, paste, cut) is handed to the model as text.
    connect(e, &QLineEdit::textEdited, this, [this, &c, e](const QString& text) {
        if (pushing_)
            return;
        c.settext(fromqt(text));
        c.setselection(e->cursorPosition(), 0);
        push(c);
    });
    auto selection = [this, &c, e] {
        if (pushing_)
            return;
        if (e->hasSelectedText())
            c.setselection(e->selectionStart(), static_cast<int>(e->selectedText().size()));
        else
            c.setselection(e->cursorPosition(), 0);
    };
    connect(e, &QLineEdit::cursorPositionChanged, this, selection);
    connect(e, &QLineEdit::selectionChanged, this, selection);
}

void FormView::wirewindow()
{
    FormWindow* w = window_.get();
    w->closebutton = [this] { form_.close(); };
    w->activation = [this](bool active) {
        framechanged();  // (a window manager started late activates what it frames)
        if (active)
            activated();
    };
    w->minimizedchanged = [this](bool minimized) { form_.setminimized(minimized); };
    w->moved = [this] { windowmoved(); };
    w->keytyped = [this](char key) {
        if (form_.onformkey)
            form_.presskey(key);
    };
    w->client()->painted = [this] { queuepaint(); };
}

QMargins FormView::framemargins() const
{
    const QWindow* handle = window_->windowHandle();
    return handle && window_->isVisible() ? handle->frameMargins() : QMargins();
}

void FormView::place()
{
    // A screen too short for the window (high scaling, a small screen):
    // the client area scrolls, so that the title bar and the menu bar show.
    const QRect area = availablearea();
    const QMargins m = framemargins();
    window_->setheightlimit(area.isValid() ? area.height() - m.top() - m.bottom() - window_->menubarheight() : -1);
    if (QLayout* l = window_->layout())
        l->activate();  // the window's size follows its client area
    const QPoint at = fitframe(placedfor_, window_->size(), m, area);
    placedat_ = at;
    // QWidget::move takes a frame position before the window exists, and
    // once the frame's size is known; in between (shown, not yet framed by
    // the window manager) it would place the client there. The window's
    // own frame position goes to the window manager as such (north-west
    // gravity) whether or not the frame's size is known.
    QWindow* handle = window_->windowHandle();
    if (!handle || (window_->isVisible() && !margins_.isNull()))
        window_->move(at);
    else
        handle->setFramePosition(at);
}

QRect FormView::availablearea() const
{
    const QScreen* s = window_->screen();
    if (!s)
        s = QGuiApplication::primaryScreen();
    return s ? s->availableGeometry() : QRect();
}

bool FormView::framechanged()
{
    const QMargins m = framemargins();
    if (m == margins_)
        return false;
    // The window manager has framed the window (or framed it anew). Until
    // then the window could only be placed by its client's corner, and a
    // window manager keeps the client where it is when it adds the frame:
    // the frame now goes where it was asked to be, its size known.
    // (placed again in any case: the height a too-short screen leaves the
    // client area depends on the frame's size too)
    margins_ = m;
    place();
    return true;
}

void FormView::windowmoved()
{
    if (pushing_ || !window_->isVisible())
        return;
    const QMargins m = framemargins();
    const QPoint frame = window_->geometry().topLeft() - QPoint(m.left(), m.top());
    if (framechanged())
        return;
    if (frame == placedat_)
        return;
    // The user moved the window. The stored position is the frame's, and
    // never negative (the title bar may have been dragged off the screen).
    placedat_ = frame;
    const ui::Rect r = form_.rect();
    placedfor_ = QPoint(std::max(0, frame.x()), std::max(0, frame.y()));
    form_.setrect({placedfor_.x(), placedfor_.y(), r.width, r.height});
}

void FormView::activated()
{
    if (active_ == this)
        return;
    FormView* previous = active_;
    active_ = this;
    if (previous)
        previous->form_.deactivate();
    form_.activate();
}

void FormView::queuepaint()
{
    // The paint handler may lay the window out anew and let pending events
    // run, which must not happen inside a paint event: it runs right after.
    if (paintqueued_ || !form_.onpaint)
        return;
    paintqueued_ = true;
    QTimer::singleShot(0, this, [this] {
        paintqueued_ = false;
        if (form_.onpaint)
            form_.onpaint();
    });
}

bool FormView::eventFilter(QObject* watched, QEvent* e)
{
    if (dying_)
        return false;
    if (watched == window_->windowHandle()) {
        if (e->type() == QEvent::Expose && window_->isVisible())
            QTimer::singleShot(0, this, [this] { framechanged(); });
        return false;
    }
    auto it = controls_.find(watched);
    if (it == controls_.end())
        return false;
    ui::Control& c = *it->second;
    // (an edit box reports its focus itself, after its own focus handling)
    if (e->type() == QEvent::FocusIn && c.kind() != ui::Kind::Edit && form_.focus() != &c) {
        form_.setfocus(&c);
        return false;
    }
    if (e->type() == QEvent::KeyPress && c.kind() == ui::Kind::Edit)
        return editkey(c, static_cast<QKeyEvent*>(e));
    return false;
}

bool FormView::editkey(ui::Control& c, QKeyEvent* e)
{
    const char key = keychar(e->key(), e->modifiers(), e->text());
    if (key != 0) {
        typed(c, key);
        return true;
    }
    // A character the models cannot hold (they keep single-byte ASCII texts)
    // is dropped; editing keys and shortcuts go to the line edit.
    const bool plain = !(e->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier));
    return plain && e->text().size() == 1 && e->text()[0].unicode() > 0x7E;
}

void FormView::typed(ui::Control& c, char key)
{
    // The window previews every key before the control sees it.
    if (form_.onformkey) {
        form_.onformkey(key);
        if (key == 0)
            return;
    }
    c.typekey(key);
}

void FormView::push(ui::Control& c)
{
    if (dying_)
        return;
    ++pushing_;
    if (&c == &form_) {
        syncform();
    } else if (QWidget* w = widget(c)) {
        syncwidget(c, w);
    } else if (QAction* a = action(c)) {
        syncaction(c, a);
    }
    --pushing_;
}

void FormView::syncform()
{
    const QString title = displaytext(form_.caption());
    if (window_->windowTitle() != title)
        window_->setWindowTitle(title);
    if (!form_.font().name.empty()) {
        const QFont f = qtfont(form_.font());
        if (window_->client()->font() != f)
            window_->client()->setFont(f);
    }
    window_->client()->setbackground(form_.color() >= 0 ? qtcolor(form_.color()) : QColor());
    // A window with its own background colour has its own look throughout;
    // one without follows the desktop's palette.
    if (form_.color() >= 0 && !lookset_) {
        window_->setPalette(fixedlook(qtcolor(form_.color())));
        lookset_ = true;
    }
    const ui::Rect& r = form_.rect();
    // A new height changes the window's height only; its top edge stays.
    window_->setclientsize(r.width, r.height);
    // The first move also tells the window manager that the program places
    // the window itself (0,0 included, which a new window already reports
    // as its position): the window manager would centre it otherwise. The
    // position is the frame's outer corner, as the settings store it. Only
    // a new position in the model moves the window: what the window reports
    // while the window manager is still framing it is no reason to.
    const QPoint wanted(r.left, r.top);
    if (!placed_ || wanted != placedfor_) {
        placedfor_ = wanted;
        placed_ = true;
        place();
    }
    synccursor();
    if (started_)
        syncvisible();
    syncfocus();
}

void FormView::syncvisible()
{
    if (form_.visible() && !window_->isVisible()) {
        place();  // with the window's size final, kept on the screen
        window_->show();
        // placed without a frame: where the frame is known at once, again with it
        margins_ = QMargins();
        framechanged();
        // The frame's size is known once the window manager has framed the
        // window, which it reports by no event of its own: looked at when
        // the window is first drawn and a few times after.
        if (!exposewatched_ && window_->windowHandle()) {
            window_->windowHandle()->installEventFilter(this);
            exposewatched_ = true;
        }
        for (int ms : {100, 400, 1000, 2000})
            QTimer::singleShot(ms, this, [this] {
                if (window_->isVisible())
                    framechanged();
            });
        window_->raise();
        window_->activateWindow();
    } else if (!form_.visible() && window_->isVisible()) {
        window_->hide();
        if (endsprogram_)
            QCoreApplication::quit();
    }
    if (window_->isVisible() && form_.minimized() != window_->isMinimized()) {
        if (form_.minimized())
            window_->showMinimized();
        else
            window_->showNormal();
    }
}

void FormView::synccursor()
{
    const bool hourglass = form_.cursor() == ui::Cursor::Hourglass;
    if (hourglass && !cursorset_)
        QApplication::setOverrideCursor(Qt::WaitCursor);
    else if (!hourglass && cursorset_)
        QApplication::restoreOverrideCursor();
    cursorset_ = hourglass;
}

void FormView::syncfocus()
{
    if (ui::Control* f = form_.focus())
        if (QWidget* w = widget(*f); w && !w->hasFocus())
            w->setFocus(Qt::OtherFocusReason);
}

}  // namespace qcqt
