// The Qt side of the platform services and the pure helpers of the view:
// message box styles, dialog filters, key characters, fonts, pictures and
// the border drawing.
#include <QApplication>
#include <QFontInfo>
#include <QImage>
#include <QPainter>
#include <QThread>
#include <gtest/gtest.h>

#include "qt/border_painter.h"
#include "qt/conversions.h"
#include "qt/file_dialogs.h"
#include "qt/form_window.h"
#include "qt/message_box.h"
#include "qt/pictures.h"
#include "qt/platform_services.h"
#include "support/harness.h"

namespace {

using qcqt::BoxButton;

// The pump of a long load: the first call processes what is pending, calls
// within the interval leave it for later, and a call after it processes it
// again. (A long interval, so that a busy machine cannot stretch the calls
// past it.)
TEST(QtEventPump, KeepingResponsiveProcessesEventsAtMostOncePerInterval)
{
    struct Counter : QObject {
        int events = 0;
        bool event(QEvent* e) override
        {
            if (e->type() == QEvent::User) {
                ++events;
                return true;
            }
            return QObject::event(e);
        }
    } counter;
    qcqt::QtEventPump pump(300);
    QCoreApplication::postEvent(&counter, new QEvent(QEvent::User));
    pump.keepresponsive();
    EXPECT_EQ(counter.events, 1);
    QCoreApplication::postEvent(&counter, new QEvent(QEvent::User));
    pump.keepresponsive();
    pump.keepresponsive();
    EXPECT_EQ(counter.events, 1);
    QThread::msleep(310);
    pump.keepresponsive();
    EXPECT_EQ(counter.events, 2);
    // processpending itself always processes
    QCoreApplication::postEvent(&counter, new QEvent(QEvent::User));
    pump.processpending();
    EXPECT_EQ(counter.events, 3);
}

TEST(MessageBoxStyle, ButtonsIconsDefaultsAndEscape)
{
    // 0: OK alone, no icon; Escape answers OK
    qcqt::BoxLayout plain = qcqt::boxlayout(0);
    EXPECT_EQ(plain.buttons, std::vector<BoxButton>{BoxButton::Ok});
    EXPECT_EQ(plain.icon, QMessageBox::NoIcon);
    EXPECT_EQ(plain.escape, BoxButton::Ok);

    // 36: Yes/No with a question; the user must answer
    qcqt::BoxLayout yesno = qcqt::boxlayout(36);
    EXPECT_EQ(yesno.buttons, (std::vector<BoxButton>{BoxButton::Yes, BoxButton::No}));
    EXPECT_EQ(yesno.icon, QMessageBox::Question);
    EXPECT_EQ(yesno.defaultbutton, 0);
    EXPECT_FALSE(yesno.escape.has_value());

    EXPECT_EQ(qcqt::boxlayout(48).icon, QMessageBox::Warning);
    EXPECT_EQ(qcqt::boxlayout(64).icon, QMessageBox::Information);

    qcqt::BoxLayout okcancel = qcqt::boxlayout(65);
    EXPECT_EQ(okcancel.buttons, (std::vector<BoxButton>{BoxButton::Ok, BoxButton::Cancel}));
    EXPECT_EQ(okcancel.escape, BoxButton::Cancel);

    // 67 and 323: Yes/No/Cancel, Yes or No the default
    qcqt::BoxLayout three = qcqt::boxlayout(67);
    EXPECT_EQ(three.buttons, (std::vector<BoxButton>{BoxButton::Yes, BoxButton::No, BoxButton::Cancel}));
    EXPECT_EQ(three.defaultbutton, 0);
    EXPECT_EQ(three.escape, BoxButton::Cancel);
    qcqt::BoxLayout nodefault = qcqt::boxlayout(323);
    EXPECT_EQ(nodefault.buttons, three.buttons);
    EXPECT_EQ(nodefault.icon, QMessageBox::Information);
    EXPECT_EQ(nodefault.defaultbutton, 1);
    // a default beyond the buttons there are is the first
    EXPECT_EQ(qcqt::boxlayout(256).defaultbutton, 0);

    EXPECT_EQ(qcqt::buttonid(BoxButton::Ok), ui::idok);
    EXPECT_EQ(qcqt::buttonid(BoxButton::Cancel), ui::idcancel);
    EXPECT_EQ(qcqt::buttonid(BoxButton::Yes), ui::idyes);
    EXPECT_EQ(qcqt::buttonid(BoxButton::No), ui::idno);
}

TEST(DialogFilter, PairsBecomeQtFilters)
{
    EXPECT_EQ(qcqt::qtfilter("Mp3 files|*.mp3|All files|*.*"), "Mp3 files (*.mp3);;All files (*)");
    EXPECT_EQ(qcqt::qtfilter("Mp3 files|*.mp3|all files|*.*"), "Mp3 files (*.mp3);;all files (*)");
    EXPECT_EQ(qcqt::qtfilter("Audio|*.mp3;*.mp2"), "Audio (*.mp3 *.mp2)");
    // a description without a pattern is dropped
    EXPECT_EQ(qcqt::qtfilter("Mp3 files|*.mp3|dangling"), "Mp3 files (*.mp3)");
    EXPECT_EQ(qcqt::qtfilter(""), "");
}

TEST(KeyCharacters, AsTheModelsTakeThem)
{
    using qcqt::keychar;
    EXPECT_EQ(keychar(Qt::Key_Return, Qt::NoModifier, "\r"), ui::key_enter);
    EXPECT_EQ(keychar(Qt::Key_Enter, Qt::KeypadModifier, "\r"), ui::key_enter);
    EXPECT_EQ(keychar(Qt::Key_Escape, Qt::NoModifier, "\x1b"), ui::key_escape);
    EXPECT_EQ(keychar(Qt::Key_Backspace, Qt::NoModifier, "\b"), ui::key_backspace);
    EXPECT_EQ(keychar(Qt::Key_5, Qt::NoModifier, "5"), '5');
    EXPECT_EQ(keychar(Qt::Key_5, Qt::KeypadModifier, "5"), '5');
    EXPECT_EQ(keychar(Qt::Key_Period, Qt::NoModifier, "."), '.');
    EXPECT_EQ(keychar(Qt::Key_A, Qt::ShiftModifier, "A"), 'A');
    // shortcuts, editing keys and characters beyond ASCII are not typed keys
    EXPECT_EQ(keychar(Qt::Key_V, Qt::ControlModifier, "\x16"), 0);
    EXPECT_EQ(keychar(Qt::Key_L, Qt::AltModifier, "l"), 0);
    EXPECT_EQ(keychar(Qt::Key_Left, Qt::NoModifier, ""), 0);
    EXPECT_EQ(keychar(Qt::Key_Delete, Qt::NoModifier, "\x7f"), 0);
    EXPECT_EQ(keychar(Qt::Key_Eacute, Qt::NoModifier, QString(QChar(0xE9))), 0);
}

TEST(Texts, LineBreaksAndAccessKeys)
{
    EXPECT_EQ(qcqt::displaytext("Play\r\n&target"), "Play\n&target");
    EXPECT_EQ(qcqt::displaytext(" Files with less than 200 frames\r\ncan't be processed automatically!"),
              " Files with less than 200 frames\ncan't be processed automatically!");
    EXPECT_EQ(qcqt::displaytext("Disk or  unknown error."), "Disk or  unknown error.");

    EXPECT_EQ(qcqt::mnemonichtml("cut from the &end: "),
              "<span style=\"white-space:pre\">cut from the <u>e</u>nd: </span>");
    EXPECT_EQ(qcqt::mnemonichtml("a && b &c <d>"),
              "<span style=\"white-space:pre\">a &amp; b <u>c</u> &lt;d&gt;</span>");
    EXPECT_EQ(qcqt::mnemonichtml("  320 kbps frames:"), "");
    EXPECT_EQ(qcqt::mnemonichtml("R&&D"), "");
}

TEST(Fonts, FacesAndWidths)
{
    // The bitrate lines are aligned by a fixed-pitch face.
    const QFont courier = qcqt::qtfont({"Courier", 13});
    EXPECT_TRUE(QFontInfo(courier).fixedPitch());
    EXPECT_EQ(QFontInfo(courier).pixelSize(), 13);
    const QFont times = qcqt::qtfont({"Times New Roman", 13});
    EXPECT_FALSE(QFontInfo(times).fixedPitch());
    EXPECT_TRUE(qcqt::qtfont({"Tahoma", 11, true}).bold());
    EXPECT_TRUE(qcqt::qtfont({"Arial", 13, false, true}).italic());

    qcqt::QtTextMeasure measure;
    const ui::Font mono{"Courier", 13};
    EXPECT_EQ(measure.textwidth("", mono), 0);
    EXPECT_EQ(measure.textwidth("MMMM", mono), measure.textwidth("iiii", mono));
    EXPECT_EQ(measure.textwidth("abcdefgh", mono), 2 * measure.textwidth("abcd", mono));
    const ui::Font serif{"Times New Roman", 13};
    EXPECT_GT(measure.textwidth("MMMM", serif), measure.textwidth("iiii", serif));
    EXPECT_GT(measure.textwidth("song.mp3", {"Times New Roman", 26}), measure.textwidth("song.mp3", serif));
}

TEST(Pictures, EveryNamedPictureIsDrawn)
{
    struct Expected {
        const char* name;
        int width, height;
    };
    const Expected pictures[] = {{"open", 32, 32},      {"reload", 32, 32},    {"save", 32, 32},
                                 {"playsource", 32, 15}, {"playtarget", 32, 15}, {"frameup", 9, 9},
                                 {"framedown", 9, 9},    {"secondup", 9, 9},    {"seconddown", 9, 9}};
    std::vector<QImage> drawn;
    for (const Expected& e : pictures) {
        const QPixmap p = qcqt::picture(e.name);
        ASSERT_FALSE(p.isNull()) << e.name;
        EXPECT_EQ(p.size(), QSize(e.width, e.height)) << e.name;
        const QImage image = p.toImage();
        int opaque = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                opaque += qAlpha(image.pixel(x, y)) > 0;
        EXPECT_GT(opaque, 8) << e.name;
        EXPECT_LT(opaque, image.width() * image.height()) << e.name << " has no transparent background";
        for (const QImage& other : drawn)
            EXPECT_NE(image, other) << e.name << " looks like another picture";
        drawn.push_back(image);
    }
    // up and down are not the same arrows
    EXPECT_NE(qcqt::picture("frameup").toImage(), qcqt::picture("framedown").toImage());
    EXPECT_TRUE(qcqt::picture("").isNull());
    EXPECT_TRUE(qcqt::picture("nosuchpicture").isNull());
    EXPECT_EQ(qcqt::picturespacing("playsource"), 3);
    EXPECT_EQ(qcqt::picturespacing("open"), 0);
}

TEST(BorderPainting, OutlinesLandOnTheirPixels)
{
    const int w = 40, h = 30, t = 10;
    const auto lines = qc::borderoutlines(0x808080, w, h, t);
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(qcqt::qtcolor(qc::backgroundcolor));
    {
        QPainter p(&image);
        qcqt::drawoutlines(p, lines);
    }
    auto at = [&](int x, int y) { return qcqt::rgbof(QColor(image.pixel(x, y))); };
    for (int k = 0; k < 5; ++k) {
        const std::int32_t c = lines[static_cast<std::size_t>(k)].color;
        EXPECT_EQ(at(k, t + k), c) << k;           // top left corner
        EXPECT_EQ(at(w / 2, t + k), c) << k;       // top edge
        EXPECT_EQ(at(k, (t + h) / 2), c) << k;     // left edge
        if (k > 0) {                               // the outer line's right and bottom lie outside
            EXPECT_EQ(at(w - k, (t + h) / 2), c) << k;
            EXPECT_EQ(at(w / 2, h - k), c) << k;
        }
    }
    // above the border and inside it, the background stays
    EXPECT_EQ(at(0, t - 1), qc::backgroundcolor);
    EXPECT_EQ(at(5, t + 5), qc::backgroundcolor);
    EXPECT_EQ(at(w / 2, h / 2 + 5), qc::backgroundcolor);
}

TEST(ShellOpen, AMissingFileIsAFailure)
{
    qcqt::QtShellOpen shell;
    qctest::TempDir dir;
    EXPECT_FALSE(shell.open(dir.path("no such file.mp3")));
    EXPECT_FALSE(shell.open(""));
    EXPECT_FALSE(shell.open(dir.path("")));  // a directory is no file to play
}

TEST(Screen, SizeAndButtonFace)
{
    qcqt::QtScreen screen;
    EXPECT_GT(screen.width(), 0);
    EXPECT_GT(screen.height(), 0);
    const QColor face = QApplication::palette().color(QPalette::Button);
    EXPECT_EQ(screen.buttonface(), (face.red() << 16) | (face.green() << 8) | face.blue());
}

}  // namespace
