#include "qt/message_box.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QPushButton>

#include <cstdio>

#include "qt/conversions.h"

namespace qcqt {

namespace {

QMessageBox::StandardButton standard(BoxButton b)
{
    switch (b) {
    case BoxButton::Ok: return QMessageBox::Ok;
    case BoxButton::Cancel: return QMessageBox::Cancel;
    case BoxButton::Yes: return QMessageBox::Yes;
    case BoxButton::No: return QMessageBox::No;
    }
    return QMessageBox::Ok;
}

// A box without an escape button cannot be dismissed by Escape or by its
// close box: the user has to answer (Qt would otherwise take "No").
class AnswerBox : public QMessageBox {
public:
    explicit AnswerBox(bool escapable) : escapable_(escapable) {}

protected:
    void keyPressEvent(QKeyEvent* e) override
    {
        if (!escapable_ && e->key() == Qt::Key_Escape) {
            e->accept();
            return;
        }
        QMessageBox::keyPressEvent(e);
    }
    void closeEvent(QCloseEvent* e) override
    {
        if (!escapable_) {
            e->ignore();
            return;
        }
        QMessageBox::closeEvent(e);
    }

private:
    bool escapable_;
};

}  // namespace

BoxLayout boxlayout(int style)
{
    BoxLayout l;
    switch (style & 0x0F) {
    case 1: l.buttons = {BoxButton::Ok, BoxButton::Cancel}; break;
    case 3: l.buttons = {BoxButton::Yes, BoxButton::No, BoxButton::Cancel}; break;
    case 4: l.buttons = {BoxButton::Yes, BoxButton::No}; break;
    default: l.buttons = {BoxButton::Ok}; break;
    }
    switch (style & 0xF0) {
    case 16: l.icon = QMessageBox::Critical; break;
    case 32: l.icon = QMessageBox::Question; break;
    case 48: l.icon = QMessageBox::Warning; break;
    case 64: l.icon = QMessageBox::Information; break;
    default: l.icon = QMessageBox::NoIcon; break;
    }
    const int chosen = (style & 0xF00) >> 8;
    // a default beyond the last button falls back to the first
    l.defaultbutton = chosen < static_cast<int>(l.buttons.size()) ? chosen : 0;
    for (BoxButton b : l.buttons)
        if (b == BoxButton::Cancel)
            l.escape = b;
    if (l.buttons.size() == 1)
        l.escape = BoxButton::Ok;
    return l;
}

int buttonid(BoxButton b)
{
    switch (b) {
    case BoxButton::Ok: return ui::idok;
    case BoxButton::Cancel: return ui::idcancel;
    case BoxButton::Yes: return ui::idyes;
    case BoxButton::No: return ui::idno;
    }
    return ui::idok;
}

int QtMessageBox::msgbox(const std::string& text, int style, const std::string& caption)
{
    const BoxLayout layout = boxlayout(style);
    // On a platform that displays nothing (offscreen) a modal box could never
    // be answered: its text goes to standard error and the default button
    // answers, so the program cannot hang there.
    if (QGuiApplication::platformName() == QLatin1String("offscreen")) {
        std::fprintf(stderr, "%s: %s\n", caption.c_str(), text.c_str());
        return buttonid(layout.buttons[static_cast<std::size_t>(layout.defaultbutton)]);
    }
    AnswerBox box(layout.escape.has_value());
    box.setWindowModality(Qt::ApplicationModal);
    box.setWindowTitle(displaytext(caption));
    box.setTextFormat(Qt::PlainText);
    box.setText(displaytext(text));
    box.setIcon(layout.icon);
    std::vector<std::pair<QAbstractButton*, BoxButton>> buttons;
    for (BoxButton b : layout.buttons)
        buttons.emplace_back(box.addButton(standard(b)), b);
    box.setDefaultButton(static_cast<QPushButton*>(buttons[static_cast<std::size_t>(layout.defaultbutton)].first));
    if (layout.escape)
        box.setEscapeButton(standard(*layout.escape));
    box.exec();
    for (const auto& [widget, b] : buttons)
        if (box.clickedButton() == widget)
            return buttonid(b);
    return buttonid(layout.escape.value_or(BoxButton::Cancel));
}

}  // namespace qcqt
