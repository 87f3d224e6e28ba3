// The picture of a ui::TrackList: a table with a row per track, the title
// column editable. The chosen row and an edited title go back to the owner
// through hooks; the model decides what they mean, and the table then
// shows the model's rows again.
#pragma once

#include <QTableWidget>
#include <functional>
#include <string>

#include "ui/track_list.h"

namespace qcqt {

class TrackListWidget : public QTableWidget {
public:
    explicit TrackListWidget(QWidget* parent);

    // The model to show: its rows and its selected row.
    void show(const ui::TrackList& list);

    std::function<void(int)> chosen;                       // a row became the current one
    std::function<void(int, const std::string&)> titled;   // a title was edited (UTF-8)

private:
    bool syncing_ = false;
};

}  // namespace qcqt
