#include "qt/platform_services.h"

#include <QApplication>
#include <QDesktopServices>
#include <QFileInfo>
#include <QFontMetrics>
#include <QPalette>
#include <QScreen>
#include <QUrl>

#include "qt/conversions.h"

namespace qcqt {

void QtEventPump::processpending()
{
    QCoreApplication::processEvents(QEventLoop::AllEvents);
}

void QtEventPump::keepresponsive()
{
    if (sincepump_.isValid() && sincepump_.elapsed() < intervalms_)
        return;
    processpending();
    sincepump_.start();
}

void QtEventPump::waitforevents()
{
    QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
}

int QtTextMeasure::textwidth(const std::string& text, const ui::Font& font)
{
    return QFontMetrics(qtfont(font)).horizontalAdvance(toqt(text));
}

bool QtShellOpen::open(const std::string& path)
{
    const QString name = toqt(path);
    // The desktop's opener starts even for a missing file and only then
    // fails, out of sight; a missing file is a failure to start the player.
    if (name.isEmpty() || !QFileInfo(name).isFile())
        return false;
    return QDesktopServices::openUrl(QUrl::fromLocalFile(name));
}

int QtScreen::width()
{
    const QScreen* s = QGuiApplication::primaryScreen();
    return s ? s->availableGeometry().width() : 800;
}

int QtScreen::height()
{
    const QScreen* s = QGuiApplication::primaryScreen();
    return s ? s->availableGeometry().height() : 600;
}

std::int32_t QtScreen::buttonface()
{
    return rgbof(QApplication::palette().color(QPalette::Button));
}

}  // namespace qcqt
