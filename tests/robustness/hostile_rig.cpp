#include "hostile_rig.h"

namespace qctest {

// Only the load's error and the tag views come here.
int AnsweringBox::msgbox(const std::string& text, int style, const std::string& caption)
{
    shown.push_back({text, style, caption});
    return ui::idok;
}

qc::Answer AnsweringBox::ask(const qc::Question& question)
{
    const qc::BoxText b = qc::questionbox(question);
    shown.push_back({b.text, b.style, b.caption});
    ++questions;
    if (answers == Answers::CancelFirst && questions > 1)
        ADD_FAILURE() << "a question after the load was cancelled: " << b.text;
    return qc::PresetAnswers::ask(question);
}

void AnsweringBox::tell(const qc::Notice& notice)
{
    const qc::BoxText b = qc::noticebox(notice);
    shown.push_back({b.text, b.style, b.caption});
    qc::PresetAnswers::tell(notice);
}

void AnsweringBox::use(Answers a)
{
    answers = a;
    static_cast<qc::PresetAnswers&>(*this) = a == Answers::No ? qc::PresetAnswers::no() : qc::PresetAnswers::yes();
    cancelfirst = a == Answers::CancelFirst;
}

HostileRig::HostileRig(Answers a)
    : file(sharedfile()),
      cuts(file, form),
      scanner(file, form, cuts, box, pump, measure),
      views(file, viewbox)
{
    cuts.wire();
    box.use(a);
    scanner.answers = &box;
    form.failmenu.setchecked(a == Answers::No);
    form.trymenu.setchecked(a == Answers::Yes);
    form.promptmenu.setchecked(a == Answers::CancelFirst);
    file.cutframes[0] = file.cutframes[1] = 0;
    file.loadok = file.busy = false;
}

bool HostileRig::load(const std::string& path)
{
    box.reset();
    file.sourcename = path;
    scanner.scanfile(true);
    return file.loadok;
}

std::string HostileRig::loaderror() const
{
    return scanner.errortext();
}

std::vector<Box> HostileRig::viewtags()
{
    viewbox.reset();
    views.vftbuttonClick();
    views.vhtbuttonClick();
    return viewbox.shown;
}

void expectconsistentload(const qc::LoadedFile& f, std::int64_t filesize, const std::string& name)
{
    SCOPED_TRACE(name);
    ASSERT_EQ(f.filesize, filesize);
    ASSERT_GE(f.framecount, 1);
    ASSERT_LE(f.framecount, 500224);
    EXPECT_EQ(f.totalframes, f.framecount);
    EXPECT_GE(f.framepos[0], 1);
    for (std::int32_t i = 1; i < f.framecount; ++i)
        ASSERT_GT(f.framepos[i], f.framepos[i - 1]) << "frame " << i;
    EXPECT_LE(f.framepos[f.framecount - 1] + 2, filesize);
    if (f.headtagpresent) {
        EXPECT_GT(f.framepos[0], f.headtagsize);
    }
    if (f.leadingstart != 0) {
        EXPECT_LT(f.leadingstart, f.framepos[0]);
    }
    // unknown data after the frames begins where the last frame does at the
    // earliest (the walk may give up on a last frame that overruns the file)
    if (f.betweenstart != 0) {
        EXPECT_GE(f.betweenstart, f.framepos[f.framecount - 1]);
    }
    if (f.footerfound) {
        EXPECT_GE(f.footerpos, 1);
        EXPECT_LE(f.footerpos, filesize);
    }

    qc::LoadedFile& record = const_cast<qc::LoadedFile&>(f);
    const std::int32_t saved[2] = {f.cutframes[0], f.cutframes[1]};
    const std::int32_t count = f.framecount;
    for (auto [c0, c1] : {std::pair{0, 0}, {1, 0}, {0, 1}, {count / 2, 0}, {0, count / 2}}) {
        if (c0 + c1 >= count)
            continue;
        record.cutframes[0] = c0;
        record.cutframes[1] = c1;
        for (bool keep : {false, true}) {
            qc::KeptStructures kept{keep && f.headtagpresent, keep && f.riffpresent,
                                    keep && f.footerfound && f.footerspan >= 127};
            std::optional<qc::CopyPlan> plan = qc::makecopyplan(f, kept);
            ASSERT_TRUE(plan.has_value());
            std::int64_t previous = 1;
            for (const qc::Piece& p : plan->pieces) {
                EXPECT_GE(p.from, previous) << "cuts " << c0 << "/" << c1;
                EXPECT_GT(p.end, p.from);
                EXPECT_LE(p.end, filesize + 1);
                previous = p.end;
            }
        }
    }
    record.cutframes[0] = saved[0];
    record.cutframes[1] = saved[1];
}

}  // namespace qctest
