// Quillcut, the window program: one main window, the silence detection
// window, the Tracks window and the Info window, all rendered from their models.
#include <QApplication>
#include <QFileInfo>
#include <QIcon>
#include <QPainter>
#include <cstdio>
#include <cstring>

#include "qt/border_painter.h"
#include "qt/conversions.h"
#include "qt/file_arrivals.h"
#include "qt/form_view.h"
#include "qt/platform_services.h"
#include "shell/program.h"
#include "shell/single_instance.h"
#include "ui/info_form.h"

// Memory that the font and windowing libraries keep until the process ends
// is not ours to free; the leak checker of sanitizer builds is told so.
extern "C" const char* __lsan_default_suppressions()
{
    return "leak:libfontconfig\nleak:libdbus\nleak:libX11\nleak:libxcb\nleak:libQt6\n";
}

int main(int argc, char** argv)
{
    // Answered before Qt starts, so that it works without a display (package
    // tools and scripts ask for it); the same number as the Info window's.
    // Other arguments are left to Qt, as before.
    if (argc == 2 && (std::strcmp(argv[1], "--version") == 0 || std::strcmp(argv[1], "--help") == 0)) {
        if (std::strcmp(argv[1], "--version") == 0)
            std::printf("quillcut %s\n", ui::programversion());
        else
            std::printf("Usage: quillcut [FILE | --version | --help]\n"
                        "Trims MP3 files frame by frame, without re-encoding, in a window.\n"
                        "FILE is opened at once; while a copy runs, it opens FILE instead.\n");
        return std::fflush(stdout) == 0 && !std::ferror(stdout) ? 0 : 1;
    }
    QApplication app(argc, argv);
    // The desktop's icon of the installed program; without one the picture
    // built into the program (needs Qt's SVG image plugin).
    QApplication::setWindowIcon(QIcon::fromTheme(QStringLiteral("io.github.quillcut.Quillcut"),
                                                 QIcon(QStringLiteral(":/icons/io.github.quillcut.Quillcut.svg"))));
    qcqt::QtPlatform services;

    // quillcut FILE: the name as this start's working directory means it,
    // also when a running copy takes it over.
    const std::string file = argc > 1 && argv[1][0] != '\0'
                                 ? qcqt::fromqt(QFileInfo(QString::fromLocal8Bit(argv[1])).absoluteFilePath())
                                 : std::string();
    // Before any window exists: a second copy hands its file to the running
    // one, or says why it ends.
    const std::string marker = qc::instancemarkerpath();
    if (!qc::singleinstance(services.box, marker, file))
        return 0;
    qc::HandOverListener listener;
    listener.listen(qc::handoverpath(marker));

    qc::Program program(services.platform, qcqt::fromqt(QCoreApplication::applicationFilePath()));
    program.start();

    qcqt::FormView mainview(program.mainform());
    qcqt::FormView autoview(program.autoform());
    qcqt::FormView infoview(program.infoform());
    qcqt::FormView tracksview(program.tracksform());
    mainview.setendsprogram(true);
    mainview.setdecoration([&program, &services](QPainter& p, const QSize&) {
        qcqt::drawoutlines(p, program.toolbar().border(services.screen.buttonface()));
    });
    autoview.settaborder(program.autoform().taborder());
    tracksview.settaborder(program.tracksform().taborder());
    // Boxes and dialogs appear over the main window, not in the middle of the screen.
    services.box.setowner(mainview.window());
    services.dialogs.setowner(mainview.window());

    // Dropped files and files handed over by later starts.
    qcqt::FileArrivals arrivals(program, mainview);
    arrivals.listen(listener);

    mainview.showifvisible();
    autoview.showifvisible();
    infoview.showifvisible();
    tracksview.showifvisible();
    // quillcut FILE opens FILE as Open would.
    if (!file.empty())
        program.openfile(file);
    return QApplication::exec();
}
