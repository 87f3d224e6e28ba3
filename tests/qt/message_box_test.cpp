// The message box as it is shown: over the main window, wide enough for its
// caption, keeping the program's own line breaks, and file bytes shown one
// character per byte.
#include <QApplication>
#include <QFontMetrics>
#include <QLabel>
#include <QMessageBox>
#include <gtest/gtest.h>

#include "qt/message_box.h"
#include "qt_app.h"

namespace {

QLabel* textlabel(QMessageBox& box)
{
    return box.findChild<QLabel*>(QStringLiteral("qt_msgbox_label"));
}

TEST(MessageBoxShown, OverItsOwnerAndWideEnoughForItsCaption)
{
    QWidget owner;
    owner.resize(300, 500);
    owner.show();
    for (const char* caption : {"ID3v1 (footer) TAG CONTENT", "Error, may be possible to continue",
                                " - choose target file - "}) {
        auto box = qcqt::makebox("OK", 64, caption, &owner);
        EXPECT_EQ(box->parentWidget(), &owner);
        EXPECT_TRUE(box->isWindow());
        EXPECT_EQ(box->windowModality(), Qt::ApplicationModal);
        box->show();
        qttest::settle();
        EXPECT_GE(box->width(), qcqt::captionwidth(box->windowTitle())) << caption;
        box->hide();
    }
    // without a main window the box still opens (before the window exists)
    auto lone = qcqt::makebox("You can run just one instance of this program.", 48, "Quillcut", nullptr);
    EXPECT_EQ(lone->parentWidget(), nullptr);
}

TEST(MessageBoxShown, TheProgramsLineBreaksAreTheOnlyOnes)
{
    const std::string text =
        "Data of unknown origin (1234 bytes) has been found on the file end. This data\r\n"
        "may represent a comment, a tag of unknown type, or a part of an invalid size frame.\r\n"
        "Do you want to display [some of] it?";
    auto box = qcqt::makebox(text, 67, "warning", nullptr);
    box->show();
    qttest::settle();
    QLabel* label = textlabel(*box);
    ASSERT_NE(label, nullptr);
    const QFontMetrics fm(label->font());
    for (const QString& line : box->text().split('\n'))
        EXPECT_GE(label->width(), fm.horizontalAdvance(line)) << line.toStdString();
    // three lines, not four or five
    EXPECT_LT(label->height(), 4 * fm.lineSpacing());
}

TEST(MessageBoxShown, FileBytesAreOneCharacterEach)
{
    auto box = qcqt::makebox("Title: Caf\xE9 M\xFCller\r\n\xFF\xFE", 64, "ID3v2 (header) TAG CONTENT", nullptr);
    EXPECT_EQ(box->text(), QString::fromUtf8("Title: Café Müller\nÿþ"));
    EXPECT_FALSE(box->text().contains(QChar(0xFFFD)));
}

// A decoded tag's text is UTF-8 and shown as such, not byte by byte.
TEST(MessageBoxShown, DecodedTextIsShownAsItIs)
{
    auto box = qcqt::makebox("Title: Caf\u00E9 M\u00FCller\r\nAlbum: \u65E5\u672C", 64, "ID3v2 (header) TAG CONTENT",
                             nullptr, true);
    EXPECT_EQ(box->text(), QString::fromUtf8("Title: Café Müller\nAlbum: 日本"));
    // the captions stay single-byte text
    EXPECT_EQ(box->windowTitle(), QStringLiteral("ID3v2 (header) TAG CONTENT"));
}

}  // namespace
