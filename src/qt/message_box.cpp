#include "qt/message_box.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFontMetrics>
#include <QGridLayout>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QSpacerItem>

#include <algorithm>
#include <cstdio>

#include "qt/conversions.h"
#include "qt/focus_return.h"

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

int captionwidth(const QString& caption)
{
    // Title bars use a bold face of about the desktop's size; the window
    // manager's icon and its three buttons take about 140 pixels more.
    QFont f = QApplication::font();
    f.setBold(true);
    return QFontMetrics(f).horizontalAdvance(caption) + 140;
}

void widenforcaption(QMessageBox* box)
{
    // The box's own layout is rebuilt when its icon changes: the caption's
    // room is added after the icon is set, once.
    auto* grid = qobject_cast<QGridLayout*>(box->layout());
    if (!grid || box->property("qc_widened").toBool())
        return;
    box->setProperty("qc_widened", true);
    const QScreen* screen = box->screen() ? box->screen() : QGuiApplication::primaryScreen();
    const int room = screen ? screen->availableGeometry().width() - 80 : 1000;
    const int width = std::min(captionwidth(box->windowTitle()), room);
    grid->addItem(new QSpacerItem(width, 0, QSizePolicy::Minimum, QSizePolicy::Fixed), grid->rowCount(), 0, 1,
                  grid->columnCount());
}

std::unique_ptr<QMessageBox> makebox(const std::string& text, int style, const std::string& caption,
                                     QWidget* owner, bool utf8)
{
    const BoxLayout layout = boxlayout(style);
    auto box = std::make_unique<AnswerBox>(layout.escape.has_value());
    if (owner)
        box->setParent(owner, box->windowFlags());
    box->setWindowModality(Qt::ApplicationModal);
    box->setWindowTitle(boxtext(caption));
    box->setTextFormat(Qt::PlainText);
    box->setText(utf8 ? displaytext(text) : boxtext(text));
    box->setIcon(layout.icon);
    std::vector<QAbstractButton*> buttons;
    for (BoxButton b : layout.buttons) {
        buttons.push_back(box->addButton(standard(b)));
        buttons.back()->setProperty("qc_answer", buttonid(b));
    }
    box->setDefaultButton(static_cast<QPushButton*>(buttons[static_cast<std::size_t>(layout.defaultbutton)]));
    if (layout.escape)
        box->setEscapeButton(standard(*layout.escape));

    const QScreen* screen = owner && owner->screen() ? owner->screen() : QGuiApplication::primaryScreen();
    const int room = screen ? screen->availableGeometry().width() - 80 : 1000;
    // The program breaks its lines itself; the box would wrap them again at
    // about 500 pixels, leaving a word or two alone on a line.
    if (auto* label = box->findChild<QLabel*>(QStringLiteral("qt_msgbox_label"))) {
        const QFontMetrics fm(label->font());
        int widest = 0;
        for (const QString& line : box->text().split('\n'))
            widest = std::max(widest, fm.horizontalAdvance(line));
        label->setMinimumWidth(std::min(widest + 2, room));
    }
    widenforcaption(box.get());
    return box;
}

int QtMessageBox::msgbox(const std::string& text, int style, const std::string& caption)
{
    return show(text, style, caption, false);
}

int QtMessageBox::msgboxutf8(const std::string& text, int style, const std::string& caption)
{
    return show(text, style, caption, true);
}

int QtMessageBox::show(const std::string& text, int style, const std::string& caption, bool utf8)
{
    const BoxLayout layout = boxlayout(style);
    // On a platform that displays nothing (offscreen) a modal box could never
    // be answered: its text goes to standard error and the default button
    // answers, so the program cannot hang there.
    if (QGuiApplication::platformName() == QLatin1String("offscreen")) {
        const QString shown = utf8 ? displaytext(text) : boxtext(text);
        std::fprintf(stderr, "%s: %s\n", boxtext(caption).toUtf8().constData(), shown.toUtf8().constData());
        return buttonid(layout.buttons[static_cast<std::size_t>(layout.defaultbutton)]);
    }
    const FocusReturn back(owner_);
    std::unique_ptr<QMessageBox> box = makebox(text, style, caption, owner_, utf8);
    box->exec();
    if (QAbstractButton* clicked = box->clickedButton(); clicked && clicked->property("qc_answer").isValid())
        return clicked->property("qc_answer").toInt();
    return buttonid(layout.escape.value_or(BoxButton::Cancel));
}

}  // namespace qcqt
