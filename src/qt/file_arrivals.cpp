#include "qt/file_arrivals.h"

#include <QApplication>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QSocketNotifier>
#include <QThread>
#include <QUrl>

#include "qt/conversions.h"
#include "qt/form_view.h"
#include "shell/program.h"
#include "shell/single_instance.h"

namespace qcqt {

namespace {
constexpr int retryms = 250;
}

FileArrivals::FileArrivals(qc::Program& program, FormView& mainview) : program_(program), view_(mainview)
{
    retry_.setSingleShot(true);
    retry_.setInterval(retryms);
    connect(&retry_, &QTimer::timeout, this, [this] { trypending(); });

    // Every widget of the window: an edit box would otherwise take the
    // drag for the text of its address.
    QWidget* window = view_.window();
    window->setAcceptDrops(true);
    window->installEventFilter(this);
    for (QWidget* w : window->findChildren<QWidget*>())
        w->installEventFilter(this);
}

void FileArrivals::listen(qc::HandOverListener& listener)
{
    if (listener.fd() < 0)
        return;
    notifier_ = new QSocketNotifier(listener.fd(), QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, [this, &listener] {
        if (std::optional<std::string> file = listener.receive())
            handedover(*file);
    });
}

bool FileArrivals::canopen() const
{
    // A box or dialog runs its own event loop inside the command that
    // opened it; the file waits until that command has returned.
    return program_.idle() && !QApplication::activeModalWidget() && QThread::currentThread()->loopLevel() <= 1;
}

QString FileArrivals::droppedfile(const QMimeData* data)
{
    if (!data || !data->hasUrls())
        return {};
    const QList<QUrl> urls = data->urls();
    if (urls.size() != 1 || !urls.front().isLocalFile())
        return {};
    return urls.front().toLocalFile();
}

void FileArrivals::handedover(const std::string& file)
{
    raise();
    if (file.empty())
        return;
    pending_ = file;
    retry_.stop();
    QTimer::singleShot(0, this, [this] { trypending(); });
}

void FileArrivals::trypending()
{
    if (!pending_)
        return;
    if (!canopen()) {
        retry_.start();
        return;
    }
    const std::string file = *pending_;
    pending_.reset();
    program_.openfile(file);
}

void FileArrivals::raise()
{
    QWidget* window = view_.window();
    if (!window->isVisible())
        return;
    if (window->isMinimized())
        window->setWindowState(window->windowState() & ~Qt::WindowMinimized);
    window->raise();
    window->activateWindow();
    // An open box stays in front of its window.
    if (QWidget* modal = QApplication::activeModalWidget()) {
        modal->raise();
        modal->activateWindow();
    }
}

bool FileArrivals::eventFilter(QObject* watched, QEvent* e)
{
    switch (e->type()) {
    case QEvent::DragEnter:
    case QEvent::DragMove: {
        auto* d = static_cast<QDragMoveEvent*>(e);
        if (!d->mimeData()->hasUrls())
            return QObject::eventFilter(watched, e);  // text for an edit box
        if (!droppedfile(d->mimeData()).isEmpty() && canopen())
            d->acceptProposedAction();
        else
            d->ignore();
        return true;
    }
    case QEvent::Drop: {
        auto* d = static_cast<QDropEvent*>(e);
        if (!d->mimeData()->hasUrls())
            return QObject::eventFilter(watched, e);
        const QString file = droppedfile(d->mimeData());
        if (file.isEmpty() || !canopen()) {
            d->ignore();
            return true;
        }
        d->acceptProposedAction();
        // Opened once the drop has been answered: the program that
        // dragged the file is not kept waiting while the file loads.
        pending_ = fromqt(file);
        QTimer::singleShot(0, this, [this] { trypending(); });
        return true;
    }
    default:
        return QObject::eventFilter(watched, e);
    }
}

}  // namespace qcqt
