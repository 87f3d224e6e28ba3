#include "qt_app.h"

#include <QApplication>
#include <QCoreApplication>
#include <gtest/gtest.h>

// Memory that the font and windowing libraries keep until the process ends
// is not the code under test's; the leak checker is told so.
extern "C" const char* __lsan_default_suppressions()
{
    return "leak:libfontconfig\nleak:libdbus\nleak:libX11\nleak:libxcb\nleak:libQt6\n";
}

namespace {

class QtEnvironment : public ::testing::Environment {
public:
    void SetUp() override
    {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        app_ = new QApplication(argc_, argv_);
    }
    void TearDown() override
    {
        delete app_;
        app_ = nullptr;
    }

private:
    int argc_ = 1;
    char name_[8] = "test_qt";
    char* argv_[2] = {name_, nullptr};
    QApplication* app_ = nullptr;
};

[[maybe_unused]] ::testing::Environment* const environment =
    ::testing::AddGlobalTestEnvironment(new QtEnvironment);

}  // namespace

namespace qttest {

void presskey(QWidget* w, int key, const QString& text, Qt::KeyboardModifiers modifiers)
{
    QKeyEvent press(QEvent::KeyPress, key, modifiers, text);
    QApplication::sendEvent(w, &press);
    QKeyEvent release(QEvent::KeyRelease, key, modifiers, text);
    QApplication::sendEvent(w, &release);
}

void typetext(QWidget* w, const QString& text)
{
    for (QChar c : text) {
        const int key = c.isDigit() ? Qt::Key_0 + (c.unicode() - '0')
                        : c.isLetter() ? Qt::Key_A + (c.toUpper().unicode() - 'A')
                        : c == '.' ? Qt::Key_Period
                                   : Qt::Key_unknown;
        presskey(w, key, QString(c));
    }
}

void settle()
{
    for (int i = 0; i < 3; ++i)
        QCoreApplication::processEvents(QEventLoop::AllEvents);
}

}  // namespace qttest
