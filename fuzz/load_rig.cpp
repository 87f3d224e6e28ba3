#include "load_rig.h"

#include <algorithm>
#include <vector>

#include "check.h"
#include "cutting/copy_plan.h"
#include "silence/methods.h"
#include "texts/load_texts.h"
#include "support/record_checks.h"

namespace qcfuzz {

namespace {

constexpr std::size_t maxerrortext = 255;

const qc::LoadedFile* explained = nullptr;
const qc::CopyPlan* explainedplan = nullptr;

void explainrecord()
{
    const qc::LoadedFile& f = *explained;
    auto n = [](auto v) { return static_cast<long long>(v); };
    const long long last = f.framecount > 0 ? n(f.framepos[static_cast<std::size_t>(f.framecount - 1)]) : 0;
    std::fprintf(stderr,
                 "filesize %lld frames %lld first %lld last %lld cuts %lld/%lld head %d/%lld riff %d/%lld "
                 "leading %lld/%d between %lld/%d footer %d/%lld/%lld after %lld/%d overrun %d\n",
                 n(f.filesize), n(f.framecount), f.framecount > 0 ? n(f.framepos[0]) : 0, last,
                 n(f.cutframes[0]), n(f.cutframes[1]), f.headtagpresent, n(f.headtagsize), f.riffpresent,
                 n(f.riffstart), n(f.leadingstart), f.includeleading, n(f.betweenstart), f.includebetween,
                 f.footerfound, n(f.footerpos), n(f.footerspan), n(f.afterstart), f.includeafter, f.overrun);
    for (std::int64_t i = 0; i < f.framecount && i < 64; ++i)
        std::fprintf(stderr, "%s%lld", i == 0 ? "  frames at " : " ", n(f.framepos[static_cast<std::size_t>(i)]));
    std::fprintf(stderr, "\n");
    if (explainedplan)
        for (const qc::Piece& p : explainedplan->pieces)
            std::fprintf(stderr, "  piece %lld..%lld\n", static_cast<long long>(p.from),
                         static_cast<long long>(p.end));
}
constexpr std::size_t maxdatatext = 769;

}  // namespace

// Only the load's error comes to the box.
int AnswerBox::msgbox(const std::string& text, int style, const std::string& caption)
{
    QC_FUZZ_CHECK(style == qc::errorboxstyle && caption == qc::loaderrorcaption);
    QC_FUZZ_CHECK(text.size() <= std::string(qc::errorprefix).size() + maxerrortext);
    return ui::idok;
}

qc::Answer AnswerBox::ask(const qc::Question& question)
{
    // nothing is asked after a cancelled question
    QC_FUZZ_CHECK(!cancelled);
    ++questions;
    qc::Answer a = qc::PresetAnswers::ask(question);
    if (a == qc::Answer::Cancel || (cancelfirst && questions == 1))
        cancelled = true;
    return a;
}

void AnswerBox::tell(const qc::Notice& notice)
{
    if (notice.kind == qc::Notice::ShowData)
        QC_FUZZ_CHECK(notice.text.size() <= maxdatatext);
    qc::PresetAnswers::tell(notice);
}

void AnswerBox::use(Answers a)
{
    static_cast<qc::PresetAnswers&>(*this) = a == Answers::No ? qc::PresetAnswers::no() : qc::PresetAnswers::yes();
    cancelfirst = a == Answers::CancelFirst;
}

LoadRig::LoadRig(Answers answers)
    : cuts_(file_, form_),
      scanner_(file_, form_, cuts_, box_, pump_, measure_),
      views_(file_, viewbox_)
{
    cuts_.wire();
    box_.use(answers);
    scanner_.answers = &box_;
    form_.failmenu.setchecked(answers == Answers::No);
    form_.trymenu.setchecked(answers == Answers::Yes);
    form_.promptmenu.setchecked(answers == Answers::CancelFirst);
    scanner_.afterload = [this] { checksilence(); };
    explained = &file_;
    explain = explainrecord;
}

void LoadRig::run(const std::uint8_t* data, std::size_t size)
{
    box_.questions = 0;
    box_.cancelled = false;
    box_.reset();
    file_.sourcename = input_.hold(data, size);
    scanner_.scanfile(true);

    QC_FUZZ_CHECK(!file_.busy);
    QC_FUZZ_CHECK(form_.filemenu.enabled() && form_.optmenu.enabled());
    QC_FUZZ_CHECK(form_.frame1.enabled() == file_.loadok);
    if (box_.cancelled)
        QC_FUZZ_CHECK(!file_.loadok);
    if (!file_.loadok) {
        QC_FUZZ_CHECK(form_.infolabel.caption() == "no file loaded");
        QC_FUZZ_CHECK(!form_.savebut.enabled());
        return;
    }
    checkrecord();
    checkcopyplans();
    checkviews();
    checkreload();
}

// Reload of the same bytes, read through the window instead of a map of the
// file and walked strictly frame by frame: the same answers give the same
// record.
void LoadRig::checkreload()
{
    const qc::LoadedFile& f = file_;
    const std::int64_t count = f.framecount, first = f.framepos[0], last = f.framepos[count - 1];
    const std::int64_t footer = f.footerpos, between = f.betweenstart, after = f.afterstart;
    const bool found = f.footerfound;
    const std::vector<std::int64_t> positions = f.framepos;
    const std::vector<std::uint8_t> gains = f.framegain;
    const std::array<std::int64_t, 16> rates = f.ratecount;
    box_.questions = 0;
    box_.cancelled = false;
    box_.reset();
    scanner_.map = false;
    scanner_.streaks = false;
    scanner_.scanfile(false);
    scanner_.map = true;
    scanner_.streaks = true;
    QC_FUZZ_CHECK(f.loadok && !f.busy);
    QC_FUZZ_CHECK(f.framecount == count && f.framepos[0] == first && f.framepos[count - 1] == last);
    QC_FUZZ_CHECK(positions == f.framepos);
    QC_FUZZ_CHECK(gains == f.framegain);
    QC_FUZZ_CHECK(rates == f.ratecount);
    QC_FUZZ_CHECK(f.footerfound == found && f.footerpos == footer);
    QC_FUZZ_CHECK(f.betweenstart == between && f.afterstart == after);
}

// The tag views on the loaded file: each shows one box and closes the file;
// a complete footer tag where the load found one is always readable.
void LoadRig::checkviews()
{
    const qc::LoadedFile& f = file_;
    viewbox_.shown = 0;
    if (f.footerfound) {
        views_.vftbuttonClick();
        QC_FUZZ_CHECK(viewbox_.shown == 1);
        if (f.footerspan >= 127 && qc::footertagpos(f) + 127 <= f.filesize)
            QC_FUZZ_CHECK(!views_.readfail);
    }
    viewbox_.shown = 0;
    if (f.headtagpresent) {
        views_.vhtbuttonClick();
        QC_FUZZ_CHECK(viewbox_.shown == 1);
    }
}

// What the writer and the views rely on after a successful load: the
// properties the hostile-input tests check too.
void LoadRig::checkrecord() const
{
    const std::string broken = qccheck::brokenrecord(file_, static_cast<std::int64_t>(input_.size()));
    if (!broken.empty())
        std::fprintf(stderr, "%s\n", broken.c_str());
    QC_FUZZ_CHECK(broken.empty());
}

// Every output the writer could build from this load takes stretches of
// the source in order, each byte at most once, all inside the file; with
// everything kept, the copy itself runs without a failed read.
void LoadRig::checkcopyplans()
{
    qc::LoadedFile& f = file_;
    const std::string broken = qccheck::brokenplans(f);
    if (!broken.empty())
        std::fprintf(stderr, "%s\n", broken.c_str());
    QC_FUZZ_CHECK(broken.empty());

    const std::int32_t count = f.framecount;
    const std::pair<std::int32_t, std::int32_t> cutlist[] = {{0, 0}, {1, 0}, {0, 1}, {count / 2, 0}, {0, count / 2}};
    static std::vector<std::uint8_t> buffer(qc::copybuffersize);
    for (auto [c0, c1] : cutlist) {
        if (c0 + c1 >= count)
            continue;
        f.cutframes[0] = c0;
        f.cutframes[1] = c1;
        qc::KeptStructures kept{f.headtagpresent, f.riffpresent, f.footerfound && f.footerspan >= 127};
        std::optional<qc::CopyPlan> plan = qc::makecopyplan(f, kept);
        QC_FUZZ_CHECK(plan.has_value());
        explainedplan = &*plan;
        qc::BinaryFile source, output;
        QC_FUZZ_CHECK(source.openexisting(input_.path()));
        QC_FUZZ_CHECK(output.create(output_.path()));
        QC_FUZZ_CHECK(qc::copypieces(source, output, *plan, buffer));
        output.close();
        source.close();
        QC_FUZZ_CHECK(output.ioresult() == 0 && source.ioresult() == 0);
        QC_FUZZ_CHECK(output_.size() == plan->bytes());
    }
    explainedplan = nullptr;
    f.cutframes[0] = f.cutframes[1] = 0;
}

// The auto-use on load: each method stays within the frames it examined.
void LoadRig::checksilence() const
{
    const std::int32_t examined = std::min<std::int32_t>(file_.framecount, qc::examinelimit);
    for (int side = 0; side < 2; ++side)
        for (int method = 1; method <= 3; ++method) {
            std::int32_t n = qc::autodetected(file_, side, method);
            QC_FUZZ_CHECK(n >= 0 && n <= examined);
        }
}

}  // namespace qcfuzz
