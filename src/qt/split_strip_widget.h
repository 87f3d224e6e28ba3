// The picture of a ui::SplitStrip: the gains as columns, the cut ends
// shaded, a line at each split point (the selected one in its own colour,
// with a handle), the picked place dotted, and the time axis, each where
// the model says. The pointer and the keys go back to the owner through
// hooks; the model decides what they mean.
#pragma once

#include <QWidget>
#include <functional>

#include "ui/split_strip.h"

namespace qcqt {

class SplitStripWidget : public QWidget {
public:
    explicit SplitStripWidget(QWidget* parent);

    // The model to draw; repaints.
    void show(const ui::SplitStrip& strip);

    std::function<void(int)> pressed;          // at x
    std::function<void(int)> dragged;          // to x, the button held
    std::function<void()> released;
    std::function<void(bool, bool)> arrowed;   // right?, with Shift?
    std::function<void()> deleted;             // Delete

protected:
    void paintEvent(QPaintEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;

private:
    const ui::SplitStrip* strip_ = nullptr;
};

}  // namespace qcqt
