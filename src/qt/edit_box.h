// A line edit that reports gaining the focus after it has done its own part
// (Qt selects the whole text when the focus comes by Tab), so that what the
// model's enter handler does with the caret is what stays.
#pragma once

#include <QLineEdit>
#include <functional>

namespace qcqt {

class EditBox : public QLineEdit {
public:
    explicit EditBox(QWidget* parent) : QLineEdit(parent) {}
    std::function<void()> focusin;

protected:
    void focusInEvent(QFocusEvent* e) override
    {
        QLineEdit::focusInEvent(e);
        if (focusin)
            focusin();
    }
};

}  // namespace qcqt
