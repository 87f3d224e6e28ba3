#include "ui/track_list.h"

namespace ui {

TrackList::TrackList(std::string name, Control* parent) : Control(Kind::TrackList, std::move(name), parent) {}

const std::array<const char*, TrackList::columncount>& TrackList::headings()
{
    static const std::array<const char*, columncount> h = {"#", "start", "length", "title"};
    return h;
}

const std::array<int, TrackList::columncount - 1>& TrackList::widths()
{
    static const std::array<int, columncount - 1> w = {36, 96, 96};
    return w;
}

void TrackList::setrows(std::vector<TrackRow> rows)
{
    const int selected = selected_ < static_cast<int>(rows.size()) ? selected_ : -1;
    if (rows == rows_ && selected == selected_)
        return;
    rows_ = std::move(rows);
    selected_ = selected;
    changed();
}

void TrackList::setselected(int row)
{
    if (row < -1 || row >= static_cast<int>(rows_.size()))
        row = -1;
    if (row == selected_)
        return;
    selected_ = row;
    changed();
}

void TrackList::userselect(int row)
{
    if (!usable() || row < 0 || row >= static_cast<int>(rows_.size()) || row == selected_)
        return;
    if (onselect)
        onselect(row);
}

void TrackList::usertitle(int row, const std::string& title)
{
    if (!usable() || row < 0 || row >= static_cast<int>(rows_.size()))
        return;
    if (rows_[static_cast<std::size_t>(row)].title == title)
        return;
    if (ontitle)
        ontitle(row, title);
}

}  // namespace ui
