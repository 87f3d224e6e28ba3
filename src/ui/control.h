// A toolkit-free model of one window control: its name, caption, hint,
// geometry, font, colour and state, and the handlers that run on events.
// The Qt layer renders controls and forwards user actions to them; tests
// drive the same methods without a display.
//
// The model keeps the toolkit semantics the program relies on:
// - setchecked() runs onclick when the checked state changes, also when
//   the program changes it;
// - settext() runs onchange only when the text differs from the current one;
// - user actions (click(), typekey()) do nothing on a control that cannot
//   take them (disabled or hidden, itself or a parent).
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace ui {

enum class Kind {
    Form,
    Panel,
    Group,
    Label,
    Button,
    CheckBox,
    Edit,
    ProgressBar,
    UpDown,
    GainStrip, // a plot of frame gains (ui::GainStrip)
    SplitStrip, // a plot of gains with the split points of a recording (ui::SplitStrip)
    TrackList,  // the rows of a split's tracks (ui::TrackList)
    MenuBar,
    Menu,      // a menu bar entry or a submenu
    MenuItem,
    Separator,
};

enum class Align { Left, Center, Right };

struct Font {
    std::string name;
    int px = 13;
    bool bold = false;
    bool italic = false;
    bool operator==(const Font&) const = default;
};

struct Rect {
    int left = 0, top = 0, width = 0, height = 0;
    bool operator==(const Rect&) const = default;
};

// Key codes handed to key handlers, as the toolkit reports characters.
inline constexpr char key_enter = '\r';
inline constexpr char key_escape = 27;
inline constexpr char key_backspace = 8;

class Control {
public:
    Control(Kind kind, std::string name, Control* parent = nullptr);
    Control(const Control&) = delete;
    Control& operator=(const Control&) = delete;
    virtual ~Control() = default;

    Kind kind() const { return kind_; }
    const std::string& name() const { return name_; }
    Control* parent() const { return parent_; }
    const std::vector<Control*>& children() const { return children_; }

    // caption of labels, buttons, check boxes, menus, groups, forms
    const std::string& caption() const { return caption_; }
    void setcaption(const std::string& s);
    const std::string& hint() const { return hint_; }
    void sethint(const std::string& s);

    const Rect& rect() const { return rect_; }
    void setrect(const Rect& r);
    void setleft(int x) { setrect({x, rect_.top, rect_.width, rect_.height}); }
    void settop(int y) { setrect({rect_.left, y, rect_.width, rect_.height}); }
    void setheight(int h) { setrect({rect_.left, rect_.top, rect_.width, h}); }
    const Font& font() const { return font_; }
    void setfont(const Font& f);
    // 0xRRGGBB, or -1 for the toolkit's default
    std::int32_t color() const { return color_; }
    void setcolor(std::int32_t c);
    Align align() const { return align_; }
    void setalign(Align a);

    bool enabled() const { return enabled_; }
    void setenabled(bool on);
    bool visible() const { return visible_; }
    void setvisible(bool on);
    // enabled and visible, and so is every parent up to the form
    bool usable() const;

    // check boxes and check menu items
    bool checked() const { return checked_; }
    void setchecked(bool on);  // runs onclick when the state changes

    // edit boxes
    const std::string& text() const { return text_; }
    void settext(const std::string& s);  // runs onchange when the text changes
    int maxlength() const { return maxlength_; }
    void setmaxlength(int n) { maxlength_ = n; }
    int caret() const { return caret_; }
    int sellength() const { return sellength_; }
    void setselection(int caret, int length);

    // progress bars and up-down controls
    int position() const { return position_; }
    void setposition(int p);
    int minimum() const { return min_; }
    int maximum() const { return max_; }
    void setrange(int lo, int hi);

    // A menu item's key combination ("Ctrl+O", "F1"), empty for none.
    const std::string& shortcut() const { return shortcut_; }
    void setshortcut(const std::string& s) { shortcut_ = s; }
    // Whether Tab stops at the control (it still takes clicks when not).
    bool tabstop() const { return tabstop_; }
    void settabstop(bool on) { tabstop_ = on; }

    // A label's partner: the control that its access key gives the focus to.
    Control* buddy() const { return buddy_; }
    void setbuddy(Control* c) { buddy_ = c; }

    // picture shown on a button (a resource name), empty for none
    const std::string& picture() const { return picture_; }
    void setpicture(const std::string& p);

    // --- handlers (wired by the shell or the owning subsystem) ---
    std::function<void()> onclick;
    std::function<void()> onchange;
    // receives the typed character; setting it to 0 consumes the key
    std::function<void(char&)> onkeypress;
    std::function<void()> onenter;  // the control receives the focus

    // --- user actions ---
    // A click by the user: a check box toggles (which runs onclick through
    // setchecked), anything else runs onclick. Ignored unless usable().
    void click();
    // A character typed into an edit box: onkeypress first; a key it does not
    // consume edits the text at the caret (within maxlength), which runs the
    // change handler. Backspace deletes before the caret.
    void typekey(char c);
    // Replaces the whole text as the user would by selecting all and typing.
    void usertext(const std::string& s);

    // The view's hook: called after any property of this control changed.
    std::function<void(Control&)> observer;

protected:
    void changed();

private:
    Kind kind_;
    std::string name_;
    Control* parent_;
    Control* buddy_ = nullptr;
    std::string shortcut_;
    bool tabstop_ = true;
    std::vector<Control*> children_;
    std::string caption_, hint_, text_, picture_;
    Rect rect_;
    Font font_;
    std::int32_t color_ = -1;
    Align align_ = Align::Left;
    bool enabled_ = true, visible_ = true, checked_ = false;
    int maxlength_ = 0;
    int caret_ = 0, sellength_ = 0;
    int position_ = 0, min_ = 0, max_ = 100;
};

enum class Cursor { Normal, Hourglass };

// A window: a control of kind Form with focus, cursor and window events.
class Form : public Control {
public:
    explicit Form(std::string name) : Control(Kind::Form, std::move(name)) {}

    // client area size; rect() holds the outer position (left, top) and the
    // client width and height
    int clientwidth() const { return rect().width; }
    int clientheight() const { return rect().height; }

    Control* focus() const { return focus_; }
    // Moves the focus to c (when it can take it) and runs its onenter.
    bool setfocus(Control* c);
    Cursor cursor() const { return cursor_; }
    void setcursor(Cursor c);
    bool minimized() const { return minimized_; }
    void setminimized(bool m);
    // The window's border offers a minimise button (every window offers
    // close; none offers maximise: the windows have a fixed size).
    bool minimizebox() const { return minimizebox_; }
    void setminimizebox(bool on) { minimizebox_ = on; }

    // show/hide (Form::setvisible with the show/close events)
    void show();
    // Closes the window: runs onclose, then hides it.
    void close();

    // key preview: runs before the focused control sees the key
    std::function<void(char&)> onformkey;
    std::function<void()> onclose;
    std::function<void()> onactivate;
    std::function<void()> ondeactivate;
    std::function<void()> onpaint;

    // A key typed while this window has the focus: the window's key preview
    // first, then the focused control.
    void presskey(char c);
    // The window becomes active / loses activation (the view calls these).
    void activate();
    void deactivate();

    // observer for form-level state (focus, cursor) lives in Control::observer
private:
    Control* focus_ = nullptr;
    Cursor cursor_ = Cursor::Normal;
    bool minimized_ = false;
    bool minimizebox_ = true;
};

// Looks a control up by name among c and its descendants; nullptr if none.
Control* findcontrol(Control& c, const std::string& name);

}  // namespace ui
