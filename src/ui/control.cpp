#include "ui/control.h"

#include <algorithm>

namespace ui {

Control::Control(Kind kind, std::string name, Control* parent)
    : kind_(kind), name_(std::move(name)), parent_(parent)
{
    if (parent_)
        parent_->children_.push_back(this);
    if (kind_ == Kind::ProgressBar || kind_ == Kind::UpDown)
        max_ = 100;
}

void Control::changed()
{
    if (observer)
        observer(*this);
}

void Control::setcaption(const std::string& s)
{
    if (caption_ == s)
        return;
    caption_ = s;
    changed();
}

void Control::sethint(const std::string& s)
{
    if (hint_ == s)
        return;
    hint_ = s;
    changed();
}

void Control::setrect(const Rect& r)
{
    if (rect_ == r)
        return;
    rect_ = r;
    changed();
}

void Control::setfont(const Font& f)
{
    if (font_ == f)
        return;
    font_ = f;
    changed();
}

void Control::setcolor(std::int32_t c)
{
    if (color_ == c)
        return;
    color_ = c;
    changed();
}

void Control::setalign(Align a)
{
    if (align_ == a)
        return;
    align_ = a;
    changed();
}

void Control::setenabled(bool on)
{
    if (enabled_ == on)
        return;
    enabled_ = on;
    changed();
}

void Control::setvisible(bool on)
{
    if (visible_ == on)
        return;
    visible_ = on;
    changed();
}

bool Control::usable() const
{
    for (const Control* c = this; c; c = c->parent_) {
        if (!c->enabled_)
            return false;
        // menu items live in menus that are not "shown" as windows
        if (!c->visible_ && c->kind_ != Kind::Menu && c->kind_ != Kind::MenuBar)
            return false;
    }
    return true;
}

void Control::setchecked(bool on)
{
    if (checked_ == on)
        return;
    checked_ = on;
    changed();
    if (onclick)
        onclick();
}

void Control::settext(const std::string& s)
{
    if (text_ == s)
        return;
    text_ = s;
    caret_ = std::min<int>(caret_, static_cast<int>(text_.size()));
    sellength_ = 0;
    changed();
    if (onchange)
        onchange();
}

void Control::setselection(int caret, int length)
{
    caret = std::clamp(caret, 0, static_cast<int>(text_.size()));
    length = std::clamp(length, 0, static_cast<int>(text_.size()) - caret);
    if (caret_ == caret && sellength_ == length)
        return;
    caret_ = caret;
    sellength_ = length;
    changed();
}

void Control::setposition(int p)
{
    p = std::clamp(p, min_, max_);
    if (position_ == p)
        return;
    position_ = p;
    changed();
}

void Control::setrange(int lo, int hi)
{
    min_ = lo;
    max_ = hi;
    position_ = std::clamp(position_, min_, max_);
    changed();
}

void Control::setpicture(const std::string& p)
{
    if (picture_ == p)
        return;
    picture_ = p;
    changed();
}

void Control::click()
{
    if (!usable())
        return;
    if (kind_ == Kind::CheckBox) {
        setchecked(!checked_);
        return;
    }
    if (onclick)
        onclick();
}

void Control::typekey(char c)
{
    if (!usable())
        return;
    if (onkeypress)
        onkeypress(c);
    if (c == 0 || kind_ != Kind::Edit)
        return;
    std::string t = text_;
    int caret = caret_;
    if (sellength_ > 0)
        t.erase(static_cast<std::size_t>(caret), static_cast<std::size_t>(sellength_));
    if (c == key_backspace) {
        if (sellength_ == 0 && caret > 0) {
            t.erase(static_cast<std::size_t>(caret - 1), 1);
            --caret;
        }
    } else if (static_cast<unsigned char>(c) >= 0x20) {
        if (maxlength_ > 0 && static_cast<int>(t.size()) >= maxlength_)
            return;
        t.insert(t.begin() + caret, c);
        ++caret;
    } else {
        return;  // other control characters are not inserted
    }
    text_ = t;
    caret_ = caret;
    sellength_ = 0;
    changed();
    if (onchange)
        onchange();
}

void Control::usertext(const std::string& s)
{
    if (!usable())
        return;
    std::string t = maxlength_ > 0 && static_cast<int>(s.size()) > maxlength_
                        ? s.substr(0, static_cast<std::size_t>(maxlength_))
                        : s;
    caret_ = static_cast<int>(t.size());
    sellength_ = 0;
    settext(t);
}

bool Form::setfocus(Control* c)
{
    if (c && !c->usable())
        return false;
    if (focus_ != c) {
        focus_ = c;
        changed();
    }
    if (c && c->onenter)
        c->onenter();
    return true;
}

void Form::setcursor(Cursor c)
{
    if (cursor_ == c)
        return;
    cursor_ = c;
    changed();
}

void Form::setminimized(bool m)
{
    if (minimized_ == m)
        return;
    minimized_ = m;
    changed();
}

void Form::show()
{
    setvisible(true);
}

void Form::close()
{
    if (!visible())
        return;
    if (onclose)
        onclose();
    setvisible(false);
}

void Form::presskey(char c)
{
    if (onformkey) {
        onformkey(c);
        if (c == 0)
            return;
    }
    if (focus_)
        focus_->typekey(c);
}

void Form::activate()
{
    if (onactivate)
        onactivate();
}

void Form::deactivate()
{
    if (ondeactivate)
        ondeactivate();
}

Control* findcontrol(Control& c, const std::string& name)
{
    if (c.name() == name)
        return &c;
    for (Control* child : c.children())
        if (Control* hit = findcontrol(*child, name))
            return hit;
    return nullptr;
}

}  // namespace ui
