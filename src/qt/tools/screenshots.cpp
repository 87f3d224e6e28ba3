// Takes pictures of the windows for the documentation: the main window with
// a sample loaded in each toolbar presentation, and the silence detection
// window and the Info window. Run it under a real display (xvfb-run); it is not part of the
// program or of the test run.
//
//   screenshots OUTDIR [SAMPLE.mp3]
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFontInfo>
#include <QPainter>
#include <cmath>
#include <cstdio>

#include "qt/border_painter.h"
#include "qt/conversions.h"
#include "qt/form_view.h"
#include "qt/platform_services.h"
#include "shell/program.h"

namespace {

// Answers every box with OK, saying what it was, so that nothing waits.
class LoggedBox : public ui::MessageBox {
public:
    int msgbox(const std::string& text, int, const std::string& caption) override
    {
        std::printf("box \"%s\": %s\n", caption.c_str(), text.c_str());
        return ui::idok;
    }
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

void shoot(QWidget* window, const QString& file)
{
    settle();
    if (!window->grab().save(file))
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
    if (argc < 2) {
        std::printf("usage: screenshots OUTDIR [SAMPLE.mp3]\n");
        return 2;
    }
    const QString outdir = QString::fromLocal8Bit(argv[1]);
    QDir().mkpath(outdir);
    const std::string sample = argc > 2 ? argv[2] : QC_SAMPLE;

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
    SampleDialog dialogs(sample);
    ui::Platform platform{box, services.pump, services.measure, dialogs, services.shell, services.screen};
    qc::Program program(platform, qcqt::fromqt(home + QStringLiteral("/quillcut")));
    program.start();

    qcqt::FormView mainview(program.mainform());
    qcqt::FormView autoview(program.autoform());
    qcqt::FormView infoview(program.infoform());
    mainview.setdecoration([&program, &services](QPainter& p, const QSize&) {
        qcqt::drawoutlines(p, program.toolbar().border(services.screen.buttonface()));
    });
    autoview.settaborder(program.autoform().taborder());
    mainview.showifvisible();
    settle();
    shoot(mainview.window(), outdir + QStringLiteral("/main-start.png"));

    ui::MainForm& form = program.mainform();
    form.openbut.click();
    settle();

    form.bothbutmenu.click();
    shoot(mainview.window(), outdir + QStringLiteral("/main-both.png"));
    form.picbutmenu.click();
    shoot(mainview.window(), outdir + QStringLiteral("/main-pictures.png"));
    form.textbutmenu.click();
    shoot(mainview.window(), outdir + QStringLiteral("/main-text.png"));
    form.stmenu.click();
    shoot(mainview.window(), outdir + QStringLiteral("/main-hidden.png"));
    form.stmenu.click();
    form.bothbutmenu.click();

    ui::AutoForm& autoform = program.autoform();
    autoform.show();
    settle();
    autoform.activate();  // as the window manager's activation would
    autoform.metod2a.click();
    autoform.metod2b.click();
    shoot(autoview.window(), outdir + QStringLiteral("/auto.png"));
    autoform.close();

    // A tone with digital silence at both ends, where the three methods
    // disagree at the start; the cuts set by clicking the strips at the
    // proposals of method 2.
    dialogs.sample = QC_SILENCE_SAMPLE;
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
    shoot(autoview.window(), outdir + QStringLiteral("/auto-silence.png"));
    autoform.close();

    program.aboutmenuClick();
    shoot(infoview.window(), outdir + QStringLiteral("/info.png"));
    program.infoform().close();

    for (const char* name : {"Arial", "Times New Roman", "Courier", "Tahoma"})
        reportfont(name);
    return 0;
}
