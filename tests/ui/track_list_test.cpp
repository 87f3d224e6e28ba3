// The Tracks window's list as a model: the selection it keeps and what the
// user's choices and edited titles hand on.
#include <gtest/gtest.h>

#include "ui/track_list.h"

namespace {

TEST(TrackList, UserChoicesReachTheOwnerOnlyWhenTheyChangeSomething)
{
    ui::Form form{"f"};
    ui::TrackList list{"list", &form};
    std::vector<int> chosen;
    std::vector<std::pair<int, std::string>> titled;
    list.onselect = [&](int row) { chosen.push_back(row); };
    list.ontitle = [&](int row, const std::string& t) { titled.push_back({row, t}); };

    list.setrows({{"1", "00:00.000", "01:00.000", "Intro"}, {"2", "01:00.000", "02:00.000", ""}});
    list.setselected(0);
    list.userselect(1);
    list.userselect(0);  // the selected row already
    list.userselect(5);  // no such row
    EXPECT_EQ(chosen, std::vector<int>{1});
    list.usertitle(0, "Intro");  // unchanged
    list.usertitle(1, "Sz\xC3\xA9p");
    ASSERT_EQ(titled.size(), 1u);
    EXPECT_EQ(titled[0].second, "Sz\xC3\xA9p");

    // fewer rows: a selection past them is none
    list.setselected(1);
    list.setrows({{"1", "00:00.000", "03:00.000", "Intro"}});
    EXPECT_EQ(list.selected(), -1);

    form.setenabled(false);
    list.userselect(0);
    EXPECT_EQ(chosen.size(), 1u);
}

}  // namespace
