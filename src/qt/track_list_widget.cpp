#include "qt/track_list_widget.h"

#include <QHeaderView>

#include "qt/conversions.h"

namespace qcqt {

namespace {

void settext(QTableWidget* t, int row, int column, const std::string& text, bool editable)
{
    const QString s = QString::fromStdString(text);
    QTableWidgetItem* item = t->item(row, column);
    if (!item) {
        item = new QTableWidgetItem(s);
        Qt::ItemFlags flags = Qt::ItemIsSelectable | Qt::ItemIsEnabled;
        if (editable)
            flags |= Qt::ItemIsEditable;
        item->setFlags(flags);
        if (column != ui::TrackList::titlecolumn)
            item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
        t->setItem(row, column, item);
    } else if (item->text() != s) {
        item->setText(s);
    }
}

}  // namespace

TrackListWidget::TrackListWidget(QWidget* parent) : QTableWidget(parent)
{
    setColumnCount(ui::TrackList::columncount);
    QStringList headings;
    for (const char* h : ui::TrackList::headings())
        headings << QString::fromLatin1(h);
    setHorizontalHeaderLabels(headings);
    for (int c = 0; c + 1 < ui::TrackList::columncount; ++c)
        setColumnWidth(c, ui::TrackList::widths()[static_cast<std::size_t>(c)]);
    horizontalHeader()->setStretchLastSection(true);
    verticalHeader()->setVisible(false);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                    QAbstractItemView::SelectedClicked);
    setTabKeyNavigation(false);  // Tab goes on to the next control
    setWordWrap(false);

    connect(this, &QTableWidget::currentCellChanged, this, [this](int row, int, int, int) {
        if (!syncing_ && row >= 0 && chosen)
            chosen(row);
    });
    connect(this, &QTableWidget::itemChanged, this, [this](QTableWidgetItem* item) {
        if (!syncing_ && item->column() == ui::TrackList::titlecolumn && titled)
            titled(item->row(), item->text().toStdString());
    });
}

void TrackListWidget::show(const ui::TrackList& list)
{
    syncing_ = true;
    const std::vector<ui::TrackRow>& rows = list.rows();
    if (rowCount() != static_cast<int>(rows.size()))
        setRowCount(static_cast<int>(rows.size()));
    for (int r = 0; r < static_cast<int>(rows.size()); ++r) {
        const ui::TrackRow& row = rows[static_cast<std::size_t>(r)];
        settext(this, r, 0, row.number, false);
        settext(this, r, 1, row.start, false);
        settext(this, r, 2, row.length, false);
        settext(this, r, ui::TrackList::titlecolumn, row.title, true);
    }
    const int selected = list.selected();
    if (selected != currentRow()) {
        if (selected < 0) {
            setCurrentCell(-1, -1);
        } else {
            setCurrentCell(selected, currentColumn() < 0 ? 0 : currentColumn());
            scrollToItem(item(selected, 0));
        }
    }
    syncing_ = false;
}

}  // namespace qcqt
