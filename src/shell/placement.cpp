#include "shell/placement.h"

namespace qc {

void placeonscreen(ui::Form& window, int left, int top, int screenwidth, int screenheight)
{
    const ui::Rect r = window.rect();
    // 64-bit sums: a stored coordinate may be anything a file can hold.
    if (static_cast<long long>(top) + r.height > screenheight)
        top = screenheight - r.height;
    if (static_cast<long long>(left) + r.width > screenwidth)
        left = screenwidth - r.width;
    if (top < 0)
        top = 0;
    if (left < 0)
        left = 0;
    window.setrect({left, top, r.width, r.height});
}

}  // namespace qc
