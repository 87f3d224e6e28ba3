// After a box or a dialog the main window has the keyboard again, on the
// control that had it (under a real window manager the X test
// tests/desktop/exact_save_test.sh checks the same after a save onto the
// source).
#include <QApplication>
#include <QLineEdit>
#include <QVBoxLayout>
#include <QWidget>
#include <gtest/gtest.h>

#include "qt/focus_return.h"
#include "qt_app.h"

namespace {

TEST(FocusReturn, TheOwnerIsActiveAgainWithItsFocusedControl)
{
    QWidget owner;
    auto* layout = new QVBoxLayout(&owner);
    auto* first = new QLineEdit(&owner);
    auto* second = new QLineEdit(&owner);
    layout->addWidget(first);
    layout->addWidget(second);
    owner.show();
    owner.activateWindow();
    second->setFocus();
    qttest::settle();
    ASSERT_EQ(QApplication::focusWidget(), second);
    {
        const qcqt::FocusReturn back(&owner);
        // another window takes the keyboard meanwhile, as a dialog does, and goes
        auto other = std::make_unique<QWidget>();
        auto* edit = new QLineEdit(other.get());
        other->show();
        other->activateWindow();
        edit->setFocus();
        qttest::settle();
        ASSERT_NE(QApplication::activeWindow(), &owner);
        other.reset();
        qttest::settle();
    }
    qttest::settle();
    EXPECT_EQ(QApplication::activeWindow(), &owner);
    EXPECT_EQ(QApplication::focusWidget(), second);
}

}  // namespace
