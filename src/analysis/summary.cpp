// The load summary in the main window and the scanner's exits.
#include <cmath>

#include "analysis/scanner.h"
#include "cutting/fixed.h"

namespace qc {

namespace {

std::string trimleft(const std::string& s)
{
    std::size_t i = s.find_first_not_of(' ');
    return i == std::string::npos ? std::string() : s.substr(i);
}

std::string durationtext(std::int32_t frames, double secondsperframe)
{
    double seconds = frames * secondsperframe;
    auto minutes = static_cast<std::int64_t>(std::trunc(seconds / 60));
    double rest = seconds - 60.0 * static_cast<double>(minutes);
    if (rest < 0)
        rest = 0;
    if (minutes == 0)
        return fixed(seconds, 3);
    std::string r = fixed(rest, 1);
    if (r.size() == 3)
        r = "0" + r;
    return std::to_string(minutes) + ":" + r;
}

}  // namespace

std::string Scanner::shortenedname() const
{
    std::string name = shortstring(f_.sourcename);
    const int room = w_.frame1.rect().width - 8;
    while (name.size() > 4 && measure_.textwidth(name, w_.filenamelabel.font()) > room)
        name = "..." + name.substr(4);
    return name;
}

void Scanner::loadsummary()
{
    w_.pbar.setvisible(false);
    w_.pbar.setposition(0);
    w_.filenamelabel.setvisible(true);

    if (f_.leadingstart != 0) {
        std::int64_t n = f_.framepos[0] - f_.leadingstart;
        int a = ask("Data of unknown origin (possibly a part of unknown type header tag),\r\n" +
                        std::to_string(n) + " bytes, was found on file beginning. Display [some of] this data?",
                    67, "Warning");
        if (a == ui::idcancel)
            abandon();
        if (a == ui::idyes)
            databox(f_.leadingstart, f_.framepos[0]);
        int inc = askinclude();
        if (inc == ui::idcancel)
            abandon();
        f_.includeleading = inc == ui::idyes;
    }

    f_.sourcefile.close();
    f_.sourcefile.ioresult();
    w_.filenamelabel.setcaption(shortenedname());

    std::int32_t total = 0;
    for (int i = 0; i <= 14; ++i)
        total += f_.ratecount[i];
    f_.totalframes = total;
    w_.setcursor(ui::Cursor::Normal);
    if (total == 0)
        error(loaderror::notmp3rate);

    int dominant = 255;
    for (int i = 0; i <= 14; ++i) {
        ui::Control& label = *w_.kbpslabel[static_cast<std::size_t>(i)];
        label.setcaption(bitratetext(i) + " kbps frames:" + std::to_string(f_.ratecount[i]));
        if (f_.ratecount[i] == total) {
            dominant = i;
            if (i != 0)
                label.setcolor(ui::dominantcolor);
        } else {
            label.setcolor(ui::windowcolor);
        }
    }

    std::string rate = dominant == 255 ? "var.kbps" : trimleft(bitratetext(dominant)) + " kbps";
    w_.infolabel.setcaption(sampleratetext(f_.sampleratebits) + rate + ", " +
                            durationtext(total, f_.secondsperframe) + ", " +
                            channelmodetext(f_.channelmode));

    if (f_.ratecount[0] > 0) {
        std::string t = fixed(f_.ratecount[0] * f_.secondsperframe, 2);
        ask("Possible length error < " + t + " sec" + "\r\n" + "(due to free format frame" +
                (f_.ratecount[0] > 1 ? "s" : "") + ")",
            48, "Warning");
    }

    // the removal boxes and the labels that stand in for a missing structure
    if (f_.riffpresent) {
        w_.riffcheck.setenabled(true);
        w_.riffcheck.setvisible(true);
        if (freshload_)
            w_.riffcheck.setchecked(false);
        w_.norifflab.setvisible(false);
        w_.norifflab.setenabled(false);
    } else {
        w_.riffcheck.setenabled(false);
        w_.riffcheck.setvisible(false);
        w_.norifflab.setvisible(true);
        w_.norifflab.setenabled(true);
    }
    if (f_.headtagpresent) {
        w_.headtagcheck.setenabled(true);
        w_.headtagcheck.setvisible(true);
        if (freshload_)
            w_.headtagcheck.setchecked(false);
        w_.vhtbutton.setvisible(true);
        w_.noheadlabel.setenabled(false);
        w_.noheadlabel.setvisible(false);
    } else {
        w_.headtagcheck.setenabled(false);
        w_.headtagcheck.setvisible(false);
        w_.vhtbutton.setvisible(false);
        w_.noheadlabel.setenabled(true);
        w_.noheadlabel.setvisible(true);
    }
    if (f_.footerfound) {
        if (f_.footerspan < 127) {
            // a damaged tag is always removed
            w_.Foottagcheck.setchecked(true);
            w_.Foottagcheck.setenabled(false);
        } else {
            if (freshload_)
                w_.Foottagcheck.setchecked(false);
            w_.Foottagcheck.setenabled(true);
        }
        w_.Foottagcheck.setvisible(true);
        w_.vftbutton.setvisible(true);
        w_.nofootlabel.setenabled(false);
        w_.nofootlabel.setvisible(false);
    } else {
        w_.Foottagcheck.setenabled(false);
        w_.Foottagcheck.setvisible(false);
        w_.vftbutton.setvisible(false);
        w_.nofootlabel.setenabled(true);
        w_.nofootlabel.setvisible(true);
    }

    f_.loadok = true;
    done_ = true;
}

void Scanner::cancelexit()
{
    w_.pbar.setvisible(false);
    w_.pbar.setposition(0);
    w_.filenamelabel.setvisible(true);
    w_.infolabel.setcaption("no file loaded");
    w_.filenamelabel.setcaption("");
    w_.frame1.setenabled(false);
    f_.loadok = false;
}

void Scanner::commonexit()
{
    if (f_.sourcefile.isopen())
        f_.sourcefile.close();
    f_.sourcefile.ioresult();
    if (f_.loadok) {
        w_.savemenu.setenabled(true);
        w_.savebut.setenabled(true);
        cuts_.saveavailability(0);
        f_.proposename = true;
        if (afterload)
            afterload();
    } else {
        w_.savemenu.setenabled(false);
        w_.savebut.setenabled(false);
    }
    w_.frame1.setenabled(f_.loadok);
    w_.setcursor(ui::Cursor::Normal);
    f_.busy = false;
    w_.filemenu.setenabled(true);
    w_.optmenu.setenabled(true);
    w_.setfocus(f_.loadok ? static_cast<ui::Control*>(&w_.tbox0) : &w_.openbut);
}

}  // namespace qc
