// An up-down control: two small arrow buttons stacked on each other. It has
// no value of its own; it reports which arrow was pressed (held down, it
// repeats), and the owner moves the position.
#pragma once

#include <QWidget>
#include <functional>

class QToolButton;

namespace qcqt {

class UpDownWidget : public QWidget {
public:
    explicit UpDownWidget(QWidget* parent);
    std::function<void(int)> stepped;  // +1 up, -1 down
    QToolButton* upbutton() const { return up_; }
    QToolButton* downbutton() const { return down_; }

protected:
    void resizeEvent(QResizeEvent* e) override;

private:
    QToolButton* up_;
    QToolButton* down_;
};

}  // namespace qcqt
