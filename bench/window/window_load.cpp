// Prints the time the window program takes to open a file (the main window
// shown, its Open command, the Qt event pump asked every 256 frames, the
// progress bar and the summary painted) beside the same load without a
// window or a pump, in the same process. Run it offscreen:
//
//   QT_QPA_PLATFORM=offscreen window_load FILE.mp3 [RUNS]
#include <QApplication>
#include <QDir>
#include <QFile>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

#include "shell/load_command.h"
#include "stream/mapped_file.h"
#include "shell/cut_positions.h"
#include "qt/conversions.h"
#include "qt/form_view.h"
#include "qt/platform_services.h"
#include "quiet_platform.h"
#include "shell/program.h"

namespace {

class LoggedBox : public ui::MessageBox {
public:
    int msgbox(const std::string& text, int, const std::string& caption) override
    {
        std::fprintf(stderr, "box \"%s\": %s\n", caption.c_str(), text.c_str());
        return ui::idok;
    }
};

class FileDialog : public ui::DialogRunner {
public:
    explicit FileDialog(std::string name) : name_(std::move(name)) {}
    bool execute(ui::FileDialog& d) override
    {
        d.filename = name_;
        return true;
    }

private:
    std::string name_;
};

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

}  // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: window_load FILE.mp3 [RUNS]\n");
        return 2;
    }
    const std::string name = argv[1];
    const int runs = argc > 2 ? std::max(1, std::atoi(argv[2])) : 5;

    // a private settings file, so that the build's own stays as it is
    const QString home = QDir::temp().filePath(QStringLiteral("quillcut-window-bench"));
    QDir().mkpath(home);
    QFile::remove(home + QStringLiteral("/mp3qc.ini"));
    QFile::copy(QCoreApplication::applicationDirPath() + QStringLiteral("/../src/qt/mp3qc.ini"),
                home + QStringLiteral("/mp3qc.ini"));
    QFile::setPermissions(home + QStringLiteral("/mp3qc.ini"), QFile::ReadOwner | QFile::WriteOwner);

    qcqt::QtPlatform services;
    LoggedBox box;
    FileDialog dialogs(name);
    ui::Platform platform{box, services.pump, services.measure, dialogs, services.shell, services.screen};
    qc::Program program(platform, qcqt::fromqt(home + QStringLiteral("/quillcut")));
    program.start();
    qcqt::FormView mainview(program.mainform());
    mainview.showifvisible();
    QCoreApplication::processEvents();

    std::vector<double> window, engine;
    for (int run = 0; run < runs; ++run) {
        // each load makes its own map, as in a new process (a load keeps
        // its map of a large file for the next one of the same file)
        auto t0 = std::chrono::steady_clock::now();
        program.mainform().openbut.click();
        window.push_back(qcbench::seconds(t0));

        // the engine alone, as the command-line tool loads
        static qc::LoadedFile file;
        ui::MainForm form;
        qc::CutPositions cuts(file, form);
        qcbench::NoBox nobox;
        qcbench::NoPump nopump;
        qcbench::NoMeasure measure;
        qc::LoadCommand scanner(file, form, cuts, nobox, nopump, measure);
        form.trymenu.setchecked(true);
        file.sourcename = name;
        t0 = std::chrono::steady_clock::now();
        scanner.scanfile(true);
        engine.push_back(qcbench::seconds(t0));
        if (!file.loadok)
            return 1;
    }
    const double w = median(window), e = median(engine);
    // the first Open of a fresh process pays for whatever the later ones
    // find done (fonts, first paints, page tables): a user meets that one
    std::printf("first window Open, offscreen: %.3f s\n", window.front());
    std::printf("window Open, offscreen (median of %d): %.3f s\n", runs, w);
    std::printf("engine load, no window (median of %d): %.3f s\n", runs, e);
    std::printf("window / engine: %.2f (first Open: %.2f)\n", w / e, window.front() / e);
    std::printf("caption: %s\n", program.mainform().infolabel.caption().c_str());
    return 0;
}
