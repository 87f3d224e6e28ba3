// The cut boxes on arbitrary typing: the input is a stream of keys and
// pastes into the two boxes (Enter, Escape and Backspace included), mixed
// with the step buttons, at one of the three frame durations. After every
// action the box holds a number of at most six characters, and the cut is
// what that number says, within 0 .. 99.9 seconds.
#include <cmath>

#include "check.h"
#include "cutting/fixed.h"
#include "shell/cut_positions.h"
#include "stream/frame_header.h"

namespace {

std::int64_t limitframes(double spf)
{
    return qc::roundeven(99.9 / spf);
}

// The cut the typing rule gives for a box text that is a number.
std::int64_t cutfor(double t, double spf)
{
    double frames = t / spf;
    std::int64_t n = frames > 99.9 / spf ? limitframes(spf) : qc::roundeven(frames);
    return n < 0 ? 0 : n;
}

void checkside(const qc::LoadedFile& f, ui::MainForm& w, int side, bool typed)
{
    const std::string& text = w.tbox[side]->text();
    QC_FUZZ_CHECK(text.size() <= 6);
    std::optional<double> t = qc::parsenumber(text);
    QC_FUZZ_CHECK(t.has_value());
    const std::int32_t cut = f.cutframes[side];
    QC_FUZZ_CHECK(cut >= 0 && cut <= limitframes(f.secondsperframe));
    if (typed)
        QC_FUZZ_CHECK(cut == cutfor(*t, f.secondsperframe));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static qc::LoadedFile file;
    static ui::MainForm form;
    static qc::CutPositions cuts(file, form);
    static bool wired = false;
    if (!wired) {
        cuts.wire();
        wired = true;
    }
    if (size == 0)
        return 0;
    static const double durations[3] = {qc::spf44, 0.024, 0.036};
    file.secondsperframe = durations[data[0] % 3];
    form.frame1.setenabled(true);
    cuts.resetcuts();

    std::size_t i = 1;
    while (i < size) {
        const std::uint8_t op = data[i++];
        const int side = op & 1;
        ui::Control& box = *form.tbox[side];
        bool typed = false;
        switch ((op >> 1) % 8) {
        case 0:  // a paste of up to 8 characters
        {
            std::size_t n = std::min<std::size_t>(size - i, (op >> 4) % 9);
            box.usertext(std::string(reinterpret_cast<const char*>(data + i), n));
            i += n;
            typed = true;
            break;
        }
        case 1:
            box.setselection(0, 6);
            break;
        case 2:
            (side == 0 ? form.cmfrup0 : form.cmfrup1).click();
            break;
        case 3:
            (side == 0 ? form.cmfrdn0 : form.cmfrdn1).click();
            break;
        case 4:
            (side == 0 ? form.cmsecup0 : form.cmsecup1).click();
            break;
        case 5:
            (side == 0 ? form.cmsecdn0 : form.cmsecdn1).click();
            break;
        default:  // a typed key, any byte
            if (i < size) {
                box.typekey(static_cast<char>(data[i++]));
                typed = true;
            }
            break;
        }
        checkside(file, form, 0, typed && side == 0);
        checkside(file, form, 1, typed && side == 1);
    }
    return 0;
}
