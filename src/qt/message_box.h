// The program's one message box: modal for the whole application, with the
// buttons, icon and default button that the classic style value asks for,
// and the classic button numbers as its answer.
#pragma once

#include <QMessageBox>
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

class QtMessageBox : public ui::MessageBox {
public:
    int msgbox(const std::string& text, int style, const std::string& caption) override;
};

}  // namespace qcqt
