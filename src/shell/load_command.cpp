#include "shell/load_command.h"

#include "texts/load_texts.h"

namespace qc {

namespace {

// The button of a question's box as an answer.
Answer answerof(int button)
{
    switch (button) {
    case ui::idyes:
        return Answer::Yes;
    case ui::idno:
        return Answer::No;
    case ui::idok:
        return Answer::Ok;
    case ui::idcancel:
        return Answer::Cancel;
    default:
        // any other button neither stops nor agrees
        return Answer::No;
    }
}

}  // namespace

LoadCommand::LoadCommand(LoadedFile& file, ui::MainForm& form, CutPositions& cuts,
                         ui::MessageBox& box, ui::EventPump& pump, ui::TextMeasure& measure)
    : f_(file), w_(form), cuts_(cuts), box_(box), pump_(pump), fileline_(form, measure), scanner_(file)
{
}

ErrorPolicy LoadCommand::policy() const
{
    if (w_.failmenu.checked())
        return ErrorPolicy::Fail;
    if (w_.trymenu.checked())
        return ErrorPolicy::Attempt;
    return ErrorPolicy::Prompt;
}

Answer LoadCommand::ask(const Question& question)
{
    if (answers)
        return answers->ask(question);
    BoxText b = questionbox(question);
    return answerof(box_.msgbox(b.text, b.style, b.caption));
}

void LoadCommand::tell(const Notice& notice)
{
    if (answers) {
        answers->tell(notice);
        return;
    }
    BoxText b = noticebox(notice);
    box_.msgbox(b.text, b.style, b.caption);
}

void LoadCommand::position(int percent)
{
    w_.pbar.setposition(percent);
    pump_.keepresponsive();
}

void LoadCommand::walkdone()
{
    w_.pbar.setvisible(false);
    w_.pbar.setposition(0);
    w_.filenamelabel.setvisible(true);
}

std::string LoadCommand::errortext() const
{
    return report_.error.failed() ? failuretext(report_.error) : std::string();
}

void LoadCommand::scanfile(bool freshload)
{
    beginload(freshload);
    report_ = scanner_.scanfile({policy(), this, this, streaks, map});
    cuts_.loaded(report_.ok);
    if (report_.ok) {
        showsummary(freshload);
    } else {
        std::string text = errortext();
        if (!text.empty()) {
            text = errorprefix + text.substr(0, 255);
            if (std::string cause = loadcause(report_.error, f_.filesize); !cause.empty())
                text += "\r\n " + cause;
            box_.msgbox(text, errorboxstyle, loaderrorcaption);
        }
        cancelexit();
    }
    commonexit();
}

void LoadCommand::beginload(bool freshload)
{
    if (freshload)
        cuts_.resetcuts();
    cuts_.setstale(false);
    f_.busy = true;
    w_.setcursor(ui::Cursor::Hourglass);
    f_.loadok = false;
    w_.frame1.setenabled(false);
    w_.filemenu.setenabled(false);
    w_.optmenu.setenabled(false);
    w_.infolabel.setcaption("- processing -");
    w_.filenamelabel.setvisible(false);
    w_.pbar.setrange(0, 100);
    w_.pbar.setvisible(true);
}

void LoadCommand::showsummary(bool freshload)
{
    fileline_.loaded(f_.sourcename, freshload);
    w_.setcursor(ui::Cursor::Normal);

    const std::int32_t total = report_.frames;
    for (int i = 0; i <= 14; ++i) {
        ui::Control& label = *w_.kbpslabel[static_cast<std::size_t>(i)];
        const std::int32_t n = report_.bitrateframes[static_cast<std::size_t>(i)];
        label.setcaption(bitratecaption(report_, i));
        if (n == total) {
            if (i != 0)
                label.setcolor(ui::dominantcolor);
        } else {
            label.setcolor(ui::windowcolor);
        }
    }
    showinfo();

    for (const Notice& n : report_.warnings)
        if (n.kind == Notice::FreeFormat)
            tell(n);
    showstructures(freshload);
}

// The removal boxes and the labels that stand in for a missing structure.
void LoadCommand::showstructures(bool freshload)
{
    if (report_.riff.present) {
        w_.riffcheck.setenabled(true);
        w_.riffcheck.setvisible(true);
        if (freshload)
            w_.riffcheck.setchecked(false);
        w_.norifflab.setvisible(false);
        w_.norifflab.setenabled(false);
    } else {
        w_.riffcheck.setenabled(false);
        w_.riffcheck.setvisible(false);
        w_.norifflab.setvisible(true);
        w_.norifflab.setenabled(true);
    }
    if (report_.id3v2.present) {
        w_.headtagcheck.setenabled(true);
        w_.headtagcheck.setvisible(true);
        if (freshload)
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
    if (report_.id3v1.present) {
        if (report_.id3v1damaged) {
            // a damaged tag is always removed
            w_.Foottagcheck.setchecked(true);
            w_.Foottagcheck.setenabled(false);
        } else {
            if (freshload)
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
}

void LoadCommand::showinfo()
{
    if (!f_.loadok)
        return;
    // in exact mode the length a player plays, else the frames' duration
    w_.infolabel.setcaption(
        infocaption(report_, cuts_.exact() ? cuts_.timeline()->duration() : report_.seconds));
}

void LoadCommand::cancelexit()
{
    w_.pbar.setvisible(false);
    w_.pbar.setposition(0);
    w_.filenamelabel.setvisible(true);
    w_.showempty();
    fileline_.cleared();
    w_.frame1.setenabled(false);
    f_.loadok = false;
}

void LoadCommand::commonexit()
{
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
