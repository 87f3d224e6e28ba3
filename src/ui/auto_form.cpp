#include "ui/auto_form.h"

namespace ui {

namespace {

constexpr const char* subtracthint = "this many frames of silence will be left untrimmed";
constexpr const char* striphint =
    "click or drag to cut here; Left/Right move the cut a frame, with Shift a second";

constexpr const char* quiethint =
    "a stretch quiet for this recording: its room tone, hiss, hum or digital silence; "
    "the auto-subtract frames are left untrimmed here too";
constexpr int quietheight = 56;  // the quiet parts' row under the groups

constexpr int gainstripleft = 408;
constexpr int gainstripwidth = 548;

void place(Control& c, int left, int top, int width, int height)
{
    c.setrect({left, top, width, height});
}

void label(Control& c, const char* caption, const char* hint = "")
{
    c.setcaption(caption);
    c.sethint(hint);
}

// The two groups hold the same controls at the same places.
void buildside(const AutoForm::Side& s, const char* reccaption, const char* rechint,
               Control& sublabel, Control& unitlabel, Control& reclabel, Control& framestitle,
               Control& sectitle)
{
    static const char* const metodcaptions[3] = {"   >   method 1", " >>   method 2",
                                                 ">>>   method 3"};
    static const char* const metodhints[3] = {
        "Detect blank frames; 99% safe",
        "Detect frames of the same amplification; not safe",
        ("Detect point where amplifications begin to grow; not reliable, use if you don't get "
         "results with first two methods")};
    for (int m = 0; m < 3; ++m) {
        place(*s.metod[m], 16, 24 + 32 * m, 89, 25);
        label(*s.metod[m], metodcaptions[m], metodhints[m]);
        place(*s.autouse[m], 112, 24 + 32 * m, 65, 25);
        label(*s.autouse[m], "auto-use", "use this method next time you load a file");
    }

    place(sublabel, 16, 126, 65, 17);
    label(sublabel, "auto-subtract ", subtracthint);
    place(*s.edit, 86, 124, 24, 24);
    s.edit->setmaxlength(2);
    s.edit->settext("0");
    s.edit->sethint(subtracthint);
    place(*s.updown, 110, 123, 17, 25);
    s.updown->setrange(0, 99);
    s.updown->setposition(0);
    s.updown->sethint("incrase or decrease value by one");
    place(unitlabel, 134, 126, 33, 17);
    label(unitlabel, "frames", subtracthint);

    place(reclabel, 16, 152, 145, 17);
    label(reclabel, reccaption, rechint);
    reclabel.setalign(Align::Center);

    place(framestitle, 12, 172, 105, 25);
    label(framestitle, "Frames total: ");
    framestitle.setalign(Align::Right);
    place(sectitle, 12, 196, 105, 25);
    label(sectitle, "Seconds total: ");
    sectitle.setalign(Align::Right);
    place(*s.frameslab, 124, 172, 46, 25);
    label(*s.frameslab, "0");
    place(*s.seclab, 124, 196, 46, 25);
    label(*s.seclab, "0");

    place(*s.okbut, 48, 230, 89, 25);
    label(*s.okbut, "Accept just this");
}

}  // namespace

AutoForm::AutoForm() : Form("AutoForm")
{
    const Font font{"Tahoma", 11};
    Font italic = font;
    italic.italic = true;

    setcaption(" Automatic Silence Detection");
    // The groups and buttons keep the left 402 pixels; the gain strips
    // widen the window to the right of them, the quiet parts lengthen it.
    setrect({0, 0, gainstripleft + gainstripwidth + 8, 392 + quietheight});
    setfont(font);
    setvisible(false);  // created hidden, shown by the Auto button
    setminimizebox(false);  // a tool window of the main one: close only

    place(toplabel, 8, 12, 385, 17);
    label(toplabel, "stop mouse cursor over a control to get a short explanation of its function");
    toplabel.setalign(Align::Center);
    toplabel.setfont(italic);

    sides[0] = {&frame1, {&metod1a, &metod2a, &metod3a}, {&autouse1a, &autouse2a, &autouse3a},
                &Edit1, &UpDowna, &framesalab, &secalab, &okabut, &gainstripa, &quietalab, &okqabut};
    sides[1] = {&frame2, {&metod1b, &metod2b, &metod3b}, {&autouse1b, &autouse2b, &autouse3b},
                &Edit2, &UpDownb, &framesblab, &secblab, &okbbut, &gainstripb, &quietblab, &okqbbut};

    place(frame1, 8, 40, 185, 273);
    frame1.setcaption(" From the START ");
    buildside(sides[0], "(recommended: 2-5)", "mp3 players usually produce a little click when started",
              sublabela, unitlabela, reclabela, framestitlea, sectitlea);
    place(frame2, 208, 40, 185, 273);
    frame2.setcaption(" From the END ");
    buildside(sides[1], "(recommended: 5-20)",
              "during this time you will hear echo off the walls of your room", sublabelb,
              unitlabelb, reclabelb, framestitleb, sectitleb);

    place(notelabel, 8, 324, 385, 17);
    label(notelabel, "note: only first and last thousand frames will be examined");
    notelabel.setalign(Align::Center);
    notelabel.setfont(italic);

    place(OKbut, 156, 352, 89, 25);
    label(OKbut, "Accept BOTH");

    // a row under the note and "Accept BOTH", below each group
    Control* titles[2] = {&quiettitlea, &quiettitleb};
    for (int side = 0; side < 2; ++side) {
        const int left = side == 0 ? 8 : 208;
        const Side& s = sides[static_cast<std::size_t>(side)];
        place(*titles[side], left + 8, 392, 70, 17);
        label(*titles[side], "quiet part: ", quiethint);
        place(*s.quietlab, left + 78, 392, 100, 17);
        label(*s.quietlab, "0", quiethint);
        place(*s.okquiet, left + 48, 412, 89, 25);
        label(*s.okquiet, "Accept quiet part", quiethint);
    }

    // as tall as the two groups together, one above the other
    place(gainstripa, gainstripleft, 40, gainstripwidth, 131);
    label(gainstripa, "frame gain at the start of the file (seconds from the start)", striphint);
    place(gainstripb, gainstripleft, 182, gainstripwidth, 131);
    label(gainstripb, "frame gain at the end of the file (seconds before the end)", striphint);
}

std::vector<Control*> AutoForm::taborder(int side) const
{
    const Side& s = sides[static_cast<std::size_t>(side)];
    return {s.metod[0], s.autouse[0], s.metod[1], s.autouse[1], s.metod[2],
            s.autouse[2], s.edit,     s.updown,   s.okbut};
}

std::vector<Control*> AutoForm::taborder()
{
    std::vector<Control*> order = taborder(0);
    for (Control* c : taborder(1))
        order.push_back(c);
    order.push_back(&OKbut);
    order.push_back(&okqabut);
    order.push_back(&okqbbut);
    order.push_back(&gainstripa);
    order.push_back(&gainstripb);
    return order;
}

void clickupdown(Control& updown, bool up)
{
    if (!updown.usable())
        return;
    updown.setposition(updown.position() + (up ? 1 : -1));
    if (updown.onclick)
        updown.onclick();
}

}  // namespace ui
