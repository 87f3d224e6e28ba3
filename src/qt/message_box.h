// The program's one message box: modal for the whole application, with the
// buttons, icon and default button that the classic style value asks for,
// and the classic button numbers as its answer.
#pragma once

#include <QMessageBox>
#include <QPointer>
#include <memory>
#include <optional>
#include <vector>

#include "ui/msgbox.h"

namespace qcqt {

enum class BoxButton { Ok, Cancel, Yes, No };

// What a style value asks for. Buttons: 0 OK, 1 OK/Cancel, 3 Yes/No/Cancel,
// 4 Yes/No (other values give OK). Icon: 16 stop, 32 question, 48
// exclamation, 64 information. +256 / +512: the second / third button is the
// default. Escape and the close box choose Cancel where there is one, OK in a
// box with only OK, and nothing in a Yes/No box.
struct BoxLayout {
    std::vector<BoxButton> buttons;
    int defaultbutton = 0;  // index into buttons
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    std::optional<BoxButton> escape;
};

BoxLayout boxlayout(int style);
// The number msgbox returns for a button: 1 OK, 2 Cancel, 6 Yes, 7 No.
int buttonid(BoxButton b);

// The width a window needs for its caption to show whole in the title bar,
// beside the window manager's icon and buttons.
int captionwidth(const QString& caption);

// Gives a box room for its caption (see captionwidth) before it is first
// shown; also used on the boxes Qt's own file dialog shows.
void widenforcaption(QMessageBox* box);

// The box msgbox shows, ready to run: over owner (centred on it by the
// window manager, or on the screen without one), at least as wide as its
// caption, and wide enough that the text keeps its own line breaks and
// wraps nowhere else (unless a line is wider than the screen). Texts and
// captions are single-byte text, one character per byte.
std::unique_ptr<QMessageBox> makebox(const std::string& text, int style, const std::string& caption,
                                     QWidget* owner, bool utf8 = false);

class QtMessageBox : public ui::MessageBox {
public:
    int msgbox(const std::string& text, int style, const std::string& caption) override;
    int msgboxutf8(const std::string& text, int style, const std::string& caption) override;
    // The program's main window, over which every box appears.
    void setowner(QWidget* owner) { owner_ = owner; }

private:
    int show(const std::string& text, int style, const std::string& caption, bool utf8);
    QPointer<QWidget> owner_;
};

}  // namespace qcqt
