// Takes pictures of the windows for the documentation: the main window with
// a sample loaded in each toolbar presentation, the silence detection
// window, the Info window and a message box. Run it under a real X server;
// with a window manager the pictures hold the windows' frames and title
// bars, taken from the screen (tools/desktop_screenshots.sh runs it so).
// It is not part of the program or of the test run.
//
//   screenshots OUTDIR [--dark] [SAMPLE.mp3] [--tape TAPE.mp3]
//
// --tape: a recording of several pieces with gaps between them, shown in
// the Tracks window after "Find gaps" (tracks.png, tracks-dark.png).
//
// --dark: a dark application palette, as a desktop's dark theme gives it;
// the pictures are named *-dark.png, and only the main window with the
// sample, the silence detection window, the Info window and the box are taken.
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QFontInfo>
#include <QPainter>
#include <QPalette>
#include <QScreen>
#include <QStyleFactory>
#include <QWindow>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <memory>

#include "qt/border_painter.h"
#include "qt/conversions.h"
#include "qt/form_view.h"
#include "qt/platform_services.h"
#include "shell/program.h"

namespace {

void shoot(QWidget* window, const QString& file);

// Answers every box with OK (Yes where there is no OK), saying what it was,
// so that nothing waits. While `picture` is set, the next box is shown for
// real over the main window and its picture taken before it is answered.
class LoggedBox : public ui::MessageBox {
public:
    int msgbox(const std::string& text, int style, const std::string& caption) override
    {
        std::printf("box \"%s\": %s\n", caption.c_str(), text.c_str());
        const int answer = (style & 0x0F) == 3 || (style & 0x0F) == 4 ? ui::idyes : ui::idok;
        if (!picture.isEmpty()) {
            std::unique_ptr<QMessageBox> box = qcqt::makebox(text, style, caption, owner);
            box->open();
            shoot(box.get(), picture);
            picture.clear();
            box->done(0);
        }
        return answer;
    }

    QString picture;
    QWidget* owner = nullptr;
};

// The open dialog chooses the sample.
class SampleDialog : public ui::DialogRunner {
public:
    explicit SampleDialog(std::string first) : sample(std::move(first)) {}
    bool execute(ui::FileDialog& d) override
    {
        d.filename = sample;
        return true;
    }

    std::string sample;
};

void settle()
{
    for (int i = 0; i < 10; ++i)
        QCoreApplication::processEvents();
}

// Waits until the window manager has framed a newly shown window (if there
// is one: without, the frame stays empty and the wait ends after a while).
void waitforframe(QWidget* window)
{
    QElapsedTimer t;
    t.start();
    while (t.elapsed() < 1500) {
        settle();
        const QWindow* handle = window->windowHandle();
        if (handle && handle->isExposed() && !handle->frameMargins().isNull())
            break;
    }
    settle();
}

// The window with its frame as the screen shows it; on a platform without a
// screen to read (offscreen), the window's own drawing.
QPixmap picture(QWidget* window)
{
    if (QGuiApplication::platformName() != QLatin1String("xcb"))
        return window->grab();
    // the window in front and active, its title bar as the user sees it
    window->raise();
    window->activateWindow();
    waitforframe(window);
    const QRect frame = window->frameGeometry();
    QScreen* screen = window->screen();
    return screen->grabWindow(0, frame.x(), frame.y(), frame.width(), frame.height());
}

void shoot(QWidget* window, const QString& file)
{
    settle();
    if (!picture(window).save(file))
        std::printf("could not write %s\n", qPrintable(file));
    else
        std::printf("wrote %s\n", qPrintable(file));
}

void reportfont(const char* name)
{
    const QFontInfo info(qcqt::qtfont({name, 13}));
    std::printf("font \"%s\" -> \"%s\"\n", name, qPrintable(info.family()));
}

}  // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QString outdir;
    std::string sample = QC_SAMPLE;
    std::string tape;
    bool dark = false;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--dark") == 0)
            dark = true;
        else if (std::strcmp(argv[i], "--tape") == 0 && i + 1 < argc)
            tape = argv[++i];
        else if (outdir.isEmpty())
            outdir = QString::fromLocal8Bit(argv[i]);
        else
            sample = argv[i];
    }
    if (outdir.isEmpty()) {
        std::printf("usage: screenshots OUTDIR [--dark] [SAMPLE.mp3] [--tape TAPE.mp3]\n");
        return 2;
    }
    QDir().mkpath(outdir);
    if (dark) {
        // What a dark desktop theme hands the program: its palette, on the
        // style the desktop would give a Qt program without a theme plugin.
        QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
        QPalette p;
        p.setColor(QPalette::Window, QColor(0x2B, 0x2B, 0x2B));
        p.setColor(QPalette::WindowText, QColor(0xE6, 0xE6, 0xE6));
        p.setColor(QPalette::Base, QColor(0x1E, 0x1E, 0x1E));
        p.setColor(QPalette::AlternateBase, QColor(0x33, 0x33, 0x33));
        p.setColor(QPalette::Text, QColor(0xE6, 0xE6, 0xE6));
        p.setColor(QPalette::Button, QColor(0x35, 0x35, 0x35));
        p.setColor(QPalette::ButtonText, QColor(0xE6, 0xE6, 0xE6));
        p.setColor(QPalette::ToolTipBase, QColor(0x35, 0x35, 0x35));
        p.setColor(QPalette::ToolTipText, QColor(0xE6, 0xE6, 0xE6));
        p.setColor(QPalette::Highlight, QColor(0x3D, 0x7A, 0xC6));
        p.setColor(QPalette::HighlightedText, Qt::white);
        p.setColor(QPalette::PlaceholderText, QColor(0x8C, 0x8C, 0x8C));
        for (QPalette::ColorRole role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
            p.setColor(QPalette::Disabled, role, QColor(0x80, 0x80, 0x80));
        QApplication::setPalette(p);
    }
    const QString suffix = dark ? QStringLiteral("-dark.png") : QStringLiteral(".png");
    auto named = [&](const char* name) { return outdir + QLatin1Char('/') + QLatin1String(name) + suffix; };

    // A private copy of the default settings, so that the presentations shown
    // here do not stay in the build's settings file.
    const QString home = QDir::temp().filePath(QStringLiteral("quillcut-screenshots"));
    QDir().mkpath(home);
    QFile::remove(home + QStringLiteral("/mp3qc.ini"));
    QFile::copy(QCoreApplication::applicationDirPath() + QStringLiteral("/mp3qc.ini"),
                home + QStringLiteral("/mp3qc.ini"));
    QFile::setPermissions(home + QStringLiteral("/mp3qc.ini"), QFile::ReadOwner | QFile::WriteOwner);

    qcqt::QtPlatform services;
    LoggedBox box;
    // The samples are loaded from the private folder, so that the pictures
    // show a short path, not the one of the source tree they were taken in.
    auto local = [&home](const std::string& path) {
        const QString from = QString::fromLocal8Bit(path.c_str());
        const QString to = home + QLatin1Char('/') + QFileInfo(from).fileName();
        QFile::remove(to);
        QFile::copy(from, to);
        return qcqt::fromqt(to);
    };
    SampleDialog dialogs(local(sample));
    ui::Platform platform{box, services.pump, services.measure, dialogs, services.shell, services.screen};
    qc::Program program(platform, qcqt::fromqt(home + QStringLiteral("/quillcut")));
    program.start();

    qcqt::FormView mainview(program.mainform());
    qcqt::FormView autoview(program.autoform());
    qcqt::FormView infoview(program.infoform());
    qcqt::FormView tracksview(program.tracksform());
    tracksview.settaborder(program.tracksform().taborder());
    mainview.setdecoration([&program, &services](QPainter& p, const QSize&) {
        qcqt::drawoutlines(p, program.toolbar().border(services.screen.buttonface()));
    });
    autoview.settaborder(program.autoform().taborder());
    box.owner = mainview.window();
    mainview.showifvisible();
    autoview.showifvisible();
    infoview.showifvisible();
    tracksview.showifvisible();
    settle();
    if (!dark)
        shoot(mainview.window(), named("main-start"));

    ui::MainForm& form = program.mainform();
    form.openbut.click();
    settle();
    // cuts typed in seconds: the labels say what the save removes, to the sample
    form.tbox0.usertext("1");
    form.tbox1.usertext("0.25");
    settle();

    form.bothbutmenu.click();
    shoot(mainview.window(), named("main-both"));
    if (!dark) {
        form.picbutmenu.click();
        shoot(mainview.window(), named("main-pictures"));
        form.textbutmenu.click();
        shoot(mainview.window(), named("main-text"));
        form.stmenu.click();
        shoot(mainview.window(), named("main-hidden"));
        form.stmenu.click();
        form.bothbutmenu.click();
    }

    ui::AutoForm& autoform = program.autoform();
    if (!dark) {
        autoform.show();
        settle();
        autoform.activate();  // as the window manager's activation would
        autoform.metod2a.click();
        autoform.metod2b.click();
        shoot(autoview.window(), named("auto"));
        autoform.close();
    }

    // A tone with digital silence at both ends, where the three methods
    // disagree at the start; the cuts set by clicking the strips at the
    // proposals of method 2.
    dialogs.sample = local(QC_SILENCE_SAMPLE);
    form.openbut.click();
    settle();
    autoform.show();
    settle();
    autoform.activate();  // as the window manager's activation would
    autoform.metod2a.click();
    autoform.metod2b.click();
    for (ui::GainStrip* strip : {&autoform.gainstripa, &autoform.gainstripb})
        strip->pointer(static_cast<int>(std::lround(strip->markx(2))));
    autoview.widget(autoform.gainstripa)->setFocus();
    shoot(autoview.window(), named("auto-silence"));
    autoform.close();

    // The Tracks window on a recording of three pieces with gaps between
    // them: the gaps found, the ends cut in the main window, titles typed,
    // the second point selected.
    if (!tape.empty()) {
        dialogs.sample = local(tape);
        form.openbut.click();
        settle();
        form.tbox0.usertext("0.8");
        form.tbox1.usertext("1.5");
        form.tracksbut.click();
        settle();
        ui::TracksForm& tracks = program.tracksform();
        tracks.findbut.click();
        const char* const titles[] = {"Morning", "Rain", "Evening bells"};
        for (int i = 0; i < static_cast<int>(tracks.list.rows().size()) && i < 3; ++i)
            tracks.list.usertitle(i, titles[i]);
        tracks.list.userselect(std::min<int>(2, static_cast<int>(tracks.list.rows().size()) - 1));
        tracksview.widget(tracks.detail)->setFocus();
        shoot(tracksview.window(), named("tracks"));
        tracks.close();
    }

    program.aboutmenuClick();
    shoot(infoview.window(), named("info"));
    program.infoform().close();

    // A damaged file: the first question of its load, over the main window.
    box.picture = named("box");
    dialogs.sample = local(QC_DAMAGED_SAMPLE);
    form.openbut.click();
    settle();
    if (!box.picture.isEmpty())
        std::printf("no box was shown for %s\n", QC_DAMAGED_SAMPLE);

    for (const char* name : {"Arial", "Times New Roman", "Courier", "Tahoma"})
        reportfont(name);
    return 0;
}
