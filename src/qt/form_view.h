// The view of one window model (ui::Form): a real top-level window with a
// child widget for every control. The model stays the only owner of state:
// every change of a control reaches its widget through Control::observer,
// and every user action goes back through the model (click, typed keys,
// focus, closing, activation, moves), which decides what happens.
#pragma once

#include <QMargins>
#include <QObject>
#include <QPoint>
#include <functional>
#include <memory>
#include <unordered_map>
#include <vector>

#include "qt/form_window.h"
#include "ui/control.h"

class QAction;
class QPainter;

namespace qcqt {

class EditBox;

class FormView : public QObject {
public:
    explicit FormView(ui::Form& form);
    ~FormView() override;
    FormView(const FormView&) = delete;
    FormView& operator=(const FormView&) = delete;

    ui::Form& form() const { return form_; }
    FormWindow* window() const { return window_.get(); }
    // The widget or menu action that shows a control; nullptr if none.
    QWidget* widget(const ui::Control& c) const;
    QAction* action(const ui::Control& c) const;

    // Shows the window when its model says it is visible. The views are
    // built hidden; the program shows its windows once all of them exist.
    void showifvisible();
    // Drawn on the client area after the background colour, under the controls.
    void setdecoration(std::function<void(QPainter&, const QSize&)> draw);
    // Keyboard order of the controls, where it differs from their order in the form.
    void settaborder(const std::vector<ui::Control*>& order);
    // Hiding this window ends the program (the main window).
    void setendsprogram(bool on) { endsprogram_ = on; }

protected:
    bool eventFilter(QObject* watched, QEvent* e) override;

private:
    void build(ui::Control& parent, QWidget* into);
    void attach(ui::Control& c, QWidget* w);
    void attachaction(ui::Control& c, QAction* a);
    void observe(ui::Control& c);
    void wireuser(ui::Control& c, QWidget* w);
    void wireedit(ui::Control& c, EditBox* e);
    void wirewindow();
    void wirebuddies();

    void push(ui::Control& c);  // model -> widget
    void syncform();
    void syncvisible();
    void synccursor();
    void syncfocus();

    bool editkey(ui::Control& c, QKeyEvent* e);
    void typed(ui::Control& c, char key);
    void activated();
    void windowmoved();
    bool framechanged();
    void place();
    QMargins framemargins() const;
    QRect availablearea() const;
    void queuepaint();

    ui::Form& form_;
    std::unique_ptr<FormWindow> window_;
    std::unordered_map<const ui::Control*, QWidget*> widgets_;
    std::unordered_map<const ui::Control*, QAction*> actions_;
    std::unordered_map<const QObject*, ui::Control*> controls_;
    std::vector<ui::Control*> observed_;
    int pushing_ = 0;  // a model change is being copied to the widgets
    bool started_ = false;
    bool endsprogram_ = false;
    bool cursorset_ = false;
    bool placed_ = false;
    bool lookset_ = false;
    QPoint placedfor_;  // the model's position the window was placed for
    QPoint placedat_;   // where its frame was asked to be (kept on the screen)
    QMargins margins_;  // the frame's size as last seen
    bool exposewatched_ = false;
    bool paintqueued_ = false;
    bool dying_ = false;

    // The program's window that was active last. Activation handlers run only
    // when the activation moves between the program's own windows, not when
    // the whole program loses or regains activation or a message box or file
    // dialog takes it for a while.
    static FormView* active_;
};

}  // namespace qcqt
