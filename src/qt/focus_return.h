// After a modal box or dialog closes, the focus goes back to the window
// under it. Qt leaves that to the window manager, and the window manager may
// have nothing to give it to: when a question shown over the save dialog
// closes and the dialog goes right after it, openbox keeps the closed
// question as its active window and the keyboard reaches no window until a
// click. So the owner is made active again, with the control that had the
// focus before.
#pragma once

#include <QApplication>
#include <QPointer>
#include <QWidget>

namespace qcqt {

class FocusReturn {
public:
    explicit FocusReturn(QWidget* owner) : owner_(owner), focus_(QApplication::focusWidget()) {}
    ~FocusReturn()
    {
        if (!owner_ || !owner_->isVisible() || QApplication::activeModalWidget())
            return;
        owner_->activateWindow();
        if (focus_ && focus_->window() == owner_->window())
            focus_->setFocus(Qt::OtherFocusReason);
    }
    FocusReturn(const FocusReturn&) = delete;
    FocusReturn& operator=(const FocusReturn&) = delete;

private:
    QPointer<QWidget> owner_;
    QPointer<QWidget> focus_;
};

}  // namespace qcqt
