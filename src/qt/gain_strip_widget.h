// The picture of a ui::GainStrip: the gains as a filled step curve, the cut
// shaded, a coloured and numbered line at each method's proposal and the
// time axis, each where the model says. The pointer and the arrow keys go
// back to the owner through hooks; the model decides what they mean.
#pragma once

#include <QWidget>
#include <functional>

#include "ui/gain_strip.h"

namespace qcqt {

class GainStripWidget : public QWidget {
public:
    explicit GainStripWidget(QWidget* parent);

    // The model to draw; repaints.
    void show(const ui::GainStrip& strip);

    std::function<void(int)> pointed;          // pressed or dragged at x
    std::function<void(bool, bool)> arrowed;   // right?, with Shift?

protected:
    void paintEvent(QPaintEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;

private:
    const ui::GainStrip* strip_ = nullptr;
};

}  // namespace qcqt
