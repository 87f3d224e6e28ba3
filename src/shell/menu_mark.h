// Check marks on menu items are set by the program without running the
// item's click handler: unlike a check box, a menu item reacts only to the
// user's click, and the handlers here set the marks of their neighbours.
#pragma once

#include <utility>

#include "ui/control.h"

namespace qc {

inline void setmark(ui::Control& item, bool on)
{
    auto handler = std::exchange(item.onclick, nullptr);
    item.setchecked(on);
    item.onclick = std::move(handler);
}

}  // namespace qc
