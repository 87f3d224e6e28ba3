// The end of a load that found frames: the question about unknown data
// before the first frame, the totals, and the warnings of the summary.
#include "analysis/scanner.h"

namespace qc {

void Scanner::loadsummary()
{
    if (options_.progress)
        options_.progress->walkdone();

    if (f_.leadingstart != 0) {
        displayanswer({Question::LeadingData, f_.framepos[0] - f_.leadingstart}, f_.leadingstart,
                      f_.framepos[0]);
        f_.includeleading = include();
    }

    // a file cut short under the map may have shown zeros for its last frames
    if (in_.cutshort())
        error(Cause::Disk, systemerror(BinaryFile::eof_error));
    in_.close();
    in_.ioresult();

    std::int64_t total = 0;
    for (int i = 0; i <= 14; ++i)
        total += f_.ratecount[i];
    f_.totalframes = total;
    if (total == 0)
        error(Cause::NotMp3Rate);

    // The duration counts free-format frames at the stream's frame time,
    // which their real length may not match. The window shows this after
    // the summary's captions, so it is not told here.
    if (f_.ratecount[0] > 0)
        report_.warnings.push_back(
            {Notice::FreeFormat, f_.ratecount[0], f_.ratecount[0] * f_.secondsperframe, {}});

    f_.loadok = true;
    done_ = true;
}

}  // namespace qc
