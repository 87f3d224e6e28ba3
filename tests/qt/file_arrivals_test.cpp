// Files that reach the window from outside its open dialog: dropped on the
// main window (synthesised drag events, offscreen) or handed over by a later
// start. Each loads as Open would; refused or kept waiting while the window
// is not idle.
#include <QApplication>
#include <QDialog>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QLineEdit>
#include <QMimeData>
#include <QTest>
#include <QUrl>
#include <gtest/gtest.h>

#include "qt/conversions.h"
#include "qt/file_arrivals.h"
#include "qt/form_view.h"
#include "qt/platform_services.h"
#include "program_rig.h"
#include "qt_app.h"
#include "shell/program.h"
#include "support/harness.h"

namespace {

struct Rig : qttest::ProgramRig {
    Rig()
        : ProgramRig(ui::idok),
          mainview(program.mainform()),
          autoview(program.autoform()),
          arrivals(program, mainview)
    {
        mainview.showifvisible();
        autoview.showifvisible();
        qttest::settle();
        box.clear();
    }

    // A copy of a real 128 kbps file under the given name.
    std::string mp3(const std::string& name) const
    {
        return dir.write(name, qctest::readbytes(QC_SAMPLES_DIR "/tone44-cbr128.mp3"));
    }
    bool loaded() { return program.mainform().infolabel.caption().find("128 kbps") != std::string::npos; }

    qcqt::FormView mainview;
    qcqt::FormView autoview;
    qcqt::FileArrivals arrivals;
};

QMimeData* urls(const QList<QUrl>& list)
{
    auto* data = new QMimeData;
    data->setUrls(list);
    return data;
}

QUrl local(const std::string& path)
{
    return QUrl::fromLocalFile(qcqt::toqt(path));
}

struct DropResult {
    bool entered = false;  // the drag was shown as able to land
    bool dropped = false;
};

// Drags data over target and drops it there, as the desktop would.
DropResult drop(QWidget* target, QMimeData* data)
{
    const QPoint at = target->rect().center();
    DropResult r;
    QDragEnterEvent enter(at, Qt::CopyAction, data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &enter);
    r.entered = enter.isAccepted();
    QDropEvent dropped(QPointF(at), Qt::CopyAction, data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &dropped);
    r.dropped = dropped.isAccepted();
    qttest::settle();
    delete data;
    return r;
}

TEST(FileArrivals, OneDroppedFileLoadsAsOpenWould)
{
    Rig r;
    const std::string song = r.mp3("dropped song.mp3");
    ui::MainForm& form = r.program.mainform();

    const DropResult d = drop(r.mainview.window(), urls({local(song)}));
    EXPECT_TRUE(d.entered);
    EXPECT_TRUE(d.dropped);
    EXPECT_TRUE(r.program.file().loadok);
    EXPECT_TRUE(r.loaded()) << form.infolabel.caption();
    EXPECT_EQ(r.program.file().sourcename, song);
    // what Open does after its dialog: the directory kept, Reload and Play source
    EXPECT_EQ(r.program.settings().loaddir, r.dir.path("").substr(0, r.dir.path("").size() - 1));
    EXPECT_TRUE(form.reloadbut.enabled());
    EXPECT_TRUE(form.playsrcbut.enabled());

    // Dropped on a cut box, the file is loaded too, and its address is not
    // typed into the box.
    const std::string other = r.mp3("other.mp3");
    auto* box = qobject_cast<QLineEdit*>(r.mainview.widget(form.tbox1));
    ASSERT_NE(box, nullptr);
    const DropResult onbox = drop(box, urls({local(other)}));
    EXPECT_TRUE(onbox.dropped);
    EXPECT_EQ(r.program.file().sourcename, other);
    EXPECT_EQ(box->text(), QStringLiteral("0"));
}

TEST(FileArrivals, AnyDroppedFileGoesToTheLoader)
{
    Rig r;
    const std::string text = r.dir.write("notes.mp3", qctest::filler(3000, 'x'));
    const DropResult d = drop(r.mainview.window(), urls({local(text)}));
    EXPECT_TRUE(d.dropped);
    EXPECT_FALSE(r.program.file().loadok);
    ASSERT_FALSE(r.box.shown.empty());
    EXPECT_EQ(r.box.shown.back().caption, "error");
    EXPECT_EQ(r.program.mainform().infolabel.caption(), "no file loaded");
    // as after Open: Reload is offered for the file that failed
    EXPECT_TRUE(r.program.mainform().reloadbut.enabled());
}

TEST(FileArrivals, SeveralFilesOrRemoteAddressesAreRefused)
{
    Rig r;
    const std::string a = r.mp3("a.mp3");
    const std::string b = r.mp3("b.mp3");
    for (QMimeData* data : {urls({local(a), local(b)}), urls({QUrl(QStringLiteral("https://example.org/a.mp3"))}),
                            urls({})}) {
        const DropResult d = drop(r.mainview.window(), data);
        EXPECT_FALSE(d.entered);
        EXPECT_FALSE(d.dropped);
    }
    EXPECT_FALSE(r.program.file().loadok);
    EXPECT_EQ(r.program.mainform().infolabel.caption(), "no file loaded");
    EXPECT_TRUE(r.box.shown.empty());
    EXPECT_FALSE(r.program.mainform().reloadbut.enabled());
}

TEST(FileArrivals, NoDropWhileALoadRunsOrTheSilenceWindowIsOpen)
{
    Rig r;
    const std::string song = r.mp3("song.mp3");

    r.program.file().busy = true;  // a load or a save is running
    DropResult d = drop(r.mainview.window(), urls({local(song)}));
    EXPECT_FALSE(d.entered);
    EXPECT_FALSE(d.dropped);
    r.program.file().busy = false;
    qttest::settle();
    EXPECT_FALSE(r.program.file().loadok);  // refused, not kept for later

    r.program.autoform().show();
    qttest::settle();
    d = drop(r.mainview.window(), urls({local(song)}));
    EXPECT_FALSE(d.dropped);
    r.program.autoform().close();
    qttest::settle();
    EXPECT_FALSE(r.program.file().loadok);

    // a box or dialog of the program is open
    QDialog modal(r.mainview.window());
    modal.setModal(true);
    modal.show();
    qttest::settle();
    d = drop(r.mainview.window(), urls({local(song)}));
    EXPECT_FALSE(d.dropped);
    modal.hide();
    qttest::settle();
    EXPECT_FALSE(r.program.file().loadok);

    d = drop(r.mainview.window(), urls({local(song)}));
    EXPECT_TRUE(d.dropped);
    EXPECT_TRUE(r.program.file().loadok);
}

TEST(FileArrivals, AHandedOverFileWaitsUntilTheWindowIsIdle)
{
    Rig r;
    const std::string first = r.mp3("first.mp3");
    const std::string second = r.mp3("second.mp3");

    r.arrivals.handedover(first);
    qttest::settle();
    EXPECT_EQ(r.program.file().sourcename, first);
    EXPECT_TRUE(r.program.file().loadok);

    // a load is running: the file waits, and a later hand-over replaces it
    r.program.file().busy = true;
    r.arrivals.handedover(first);
    r.arrivals.handedover(second);
    QTest::qWait(400);
    EXPECT_EQ(r.program.file().sourcename, first);
    r.program.file().busy = false;
    for (int i = 0; i < 20 && r.program.file().sourcename != second; ++i)
        QTest::qWait(100);
    EXPECT_EQ(r.program.file().sourcename, second);
    EXPECT_TRUE(r.program.file().loadok);

    // a bare raise opens nothing
    r.arrivals.handedover("");
    QTest::qWait(300);
    EXPECT_EQ(r.program.file().sourcename, second);
}

}  // namespace
