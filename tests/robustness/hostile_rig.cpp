#include "hostile_rig.h"

#include "support/record_checks.h"

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
    : cuts(file, form),
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
    ASSERT_EQ(qccheck::brokenrecord(f, filesize), "");
    EXPECT_EQ(qccheck::brokenplans(const_cast<qc::LoadedFile&>(f)), "");
}

}  // namespace qctest
