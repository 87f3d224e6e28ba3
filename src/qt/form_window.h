// The top-level window of a form: a fixed-size window with a single border,
// the minimise box and the system menu, an optional menu bar, and the client
// area of exactly the form's size below it, on which the controls live. It
// knows nothing of the models: it reports what happens to it through hooks.
#pragma once

#include <QWidget>
#include <functional>

class QMenuBar;
class QScrollArea;

namespace qcqt {

class ClientArea : public QWidget {
public:
    explicit ClientArea(QWidget* parent);
    void setbackground(const QColor& c);  // invalid colour: the style's
    std::function<void(QPainter&, const QSize&)> decoration;
    std::function<void()> painted;

protected:
    void paintEvent(QPaintEvent* e) override;

private:
    QColor background_;
};

class FormWindow : public QWidget {
public:
    // A fixed-size window: close, and minimise when asked; never maximise.
    explicit FormWindow(bool minimizebox = true);

    ClientArea* client() const { return client_; }
    // The menu bar above the client area, made on first use.
    QMenuBar* menubar();
    void setclientsize(int width, int height);
    // The most the client area may take of the screen's height (a negative
    // value: no limit). A taller client area scrolls in a view that high.
    void setheightlimit(int height);
    int menubarheight() const;

    std::function<void()> closebutton;        // the user asked to close
    std::function<void(bool)> activation;     // became active / inactive
    std::function<void(bool)> minimizedchanged;
    std::function<void()> moved;
    std::function<void(char)> keytyped;       // a key no control took

protected:
    void closeEvent(QCloseEvent* e) override;
    void changeEvent(QEvent* e) override;
    void moveEvent(QMoveEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;

private:
    void sizeview();

    ClientArea* client_;
    QScrollArea* view_;
    QMenuBar* menubar_ = nullptr;
    int heightlimit_ = -1;
};

// The character a key press stands for, as the models take keys: Enter is
// "\r", Escape 27, Backspace 8, a printable ASCII character itself; 0 for
// keys that are no character (arrows, function keys, Delete) and for
// characters typed with Ctrl or Alt, which belong to shortcuts and editing.
char keychar(int key, Qt::KeyboardModifiers modifiers, const QString& text);

}  // namespace qcqt
