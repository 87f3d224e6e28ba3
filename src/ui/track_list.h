// The list of a split's tracks in the Tracks window: a row per track with
// its number, start, length and title, the title the one part the user
// edits, and the selected row. A plain model: the Qt layer shows its rows
// and hands the user's selection and edited titles back to it.
#pragma once

#include <array>
#include <functional>
#include <string>
#include <vector>

#include "ui/control.h"

namespace ui {

struct TrackRow {
    std::string number, start, length, title;  // the title in UTF-8
    bool operator==(const TrackRow&) const = default;
};

class TrackList : public Control {
public:
    TrackList(std::string name, Control* parent);

    static constexpr int columncount = 4;
    static constexpr int titlecolumn = 3;
    // The columns' headings and widths in pixels (the title takes the rest).
    static const std::array<const char*, columncount>& headings();
    static const std::array<int, columncount - 1>& widths();

    const std::vector<TrackRow>& rows() const { return rows_; }
    void setrows(std::vector<TrackRow> rows);
    // The selected row, -1 for none.
    int selected() const { return selected_; }
    void setselected(int row);

    // User actions, ignored unless usable(): a row chosen (onselect), a
    // title edited (ontitle, when it differs from the row's).
    void userselect(int row);
    void usertitle(int row, const std::string& title);

    std::function<void(int row)> onselect;
    std::function<void(int row, const std::string& title)> ontitle;

private:
    std::vector<TrackRow> rows_;
    int selected_ = -1;
};

}  // namespace ui
