#include "qt/pictures.h"

#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <map>

namespace qcqt {

namespace {

// The few colours of the artwork.
const QColor ink(0x20, 0x20, 0x20);
const QColor folderyellow(0xF0, 0xC8, 0x40);
const QColor folderdark(0xC0, 0x90, 0x20);
const QColor arrowgreen(0x20, 0x90, 0x30);
const QColor diskblue(0x28, 0x48, 0x98);
const QColor shutter(0xC8, 0xC8, 0xD0);
const QColor labelwhite(0xF8, 0xF8, 0xF8);
const QColor sourceblue(0x30, 0x60, 0xC0);
const QColor targetred(0xC0, 0x38, 0x30);

QPixmap blank(int w, int h)
{
    QPixmap p(w, h);
    p.fill(Qt::transparent);
    return p;
}

QPixmap folder()
{
    QPixmap p = blank(32, 32);
    QPainter g(&p);
    g.setPen(QPen(ink, 1));
    // back of the folder with its tab
    g.setBrush(folderdark);
    g.drawPolygon(QPolygon({{3, 8}, {11, 8}, {13, 10}, {26, 10}, {26, 26}, {3, 26}}));
    // sheet sticking out
    g.setBrush(labelwhite);
    g.drawRect(6, 12, 18, 10);
    // the open front flap
    g.setBrush(folderyellow);
    g.drawPolygon(QPolygon({{3, 26}, {8, 15}, {30, 15}, {26, 26}}));
    return p;
}

QPixmap reload()
{
    QPixmap p = blank(32, 32);
    QPainter g(&p);
    g.setRenderHint(QPainter::Antialiasing);
    g.setPen(QPen(arrowgreen, 4, Qt::SolidLine, Qt::FlatCap));
    g.setBrush(Qt::NoBrush);
    // three quarters of a circle, open at the top right
    g.drawArc(QRectF(6, 6, 20, 20), 60 * 16, 290 * 16);
    // the arrow head at the open end, pointing along the turn
    g.setPen(Qt::NoPen);
    g.setBrush(arrowgreen);
    g.drawPolygon(QPolygonF({QPointF(17, 1), QPointF(26, 7), QPointF(16, 12)}));
    return p;
}

QPixmap disk()
{
    QPixmap p = blank(32, 32);
    QPainter g(&p);
    g.setPen(QPen(ink, 1));
    g.setBrush(diskblue);
    g.drawPolygon(QPolygon({{4, 4}, {25, 4}, {28, 7}, {28, 28}, {4, 28}}));
    // the metal shutter at the top with its window
    g.setBrush(shutter);
    g.drawRect(9, 4, 14, 9);
    g.setBrush(diskblue);
    g.drawRect(18, 6, 3, 5);
    // the paper label at the bottom
    g.setBrush(labelwhite);
    g.drawRect(8, 17, 16, 11);
    g.setPen(QPen(shutter, 1));
    g.drawLine(10, 20, 22, 20);
    g.drawLine(10, 23, 22, 23);
    return p;
}

// A play triangle with a mark before it: a page for the source, a bull's
// eye for the target.
QPixmap play(bool target)
{
    QPixmap p = blank(32, 15);
    QPainter g(&p);
    g.setRenderHint(QPainter::Antialiasing);
    const QColor fill = target ? targetred : sourceblue;
    g.setPen(QPen(ink, 1));
    g.setBrush(fill);
    g.drawPolygon(QPolygonF({QPointF(15.5, 1.5), QPointF(28.5, 7.5), QPointF(15.5, 13.5)}));
    if (target) {
        g.setBrush(labelwhite);
        g.drawEllipse(QRectF(2.5, 2.5, 10, 10));
        g.setBrush(fill);
        g.drawEllipse(QRectF(5.5, 5.5, 4, 4));
    } else {
        g.setBrush(labelwhite);
        g.drawPolygon(QPolygonF({QPointF(3.5, 1.5), QPointF(9.5, 1.5), QPointF(12.5, 4.5),
                                 QPointF(12.5, 13.5), QPointF(3.5, 13.5)}));
        g.drawLine(QPointF(5.5, 7.5), QPointF(10.5, 7.5));
        g.drawLine(QPointF(5.5, 10.5), QPointF(10.5, 10.5));
    }
    return p;
}

// One or two small solid triangles pointing up or down, for the step buttons.
QPixmap arrows(bool up, int count)
{
    QPixmap p = blank(9, 9);
    QPainter g(&p);
    g.setPen(Qt::NoPen);
    g.setBrush(ink);
    const int height = 4;
    const int top = count == 1 ? 3 : 1;
    for (int i = 0; i < count; ++i) {
        const int y = top + i * height;
        if (up)
            g.drawPolygon(QPolygon({{4, y - 1}, {8, y + 3}, {0, y + 3}}));
        else
            g.drawPolygon(QPolygon({{0, y}, {8, y}, {4, y + 4}}));
    }
    return p;
}

QPixmap drawpicture(const std::string& name)
{
    if (name == "open")
        return folder();
    if (name == "reload")
        return reload();
    if (name == "save")
        return disk();
    if (name == "playsource")
        return play(false);
    if (name == "playtarget")
        return play(true);
    if (name == "frameup")
        return arrows(true, 1);
    if (name == "framedown")
        return arrows(false, 1);
    if (name == "secondup")
        return arrows(true, 2);
    if (name == "seconddown")
        return arrows(false, 2);
    return {};
}

}  // namespace

QPixmap picture(const std::string& name)
{
    // Drawn once per name: the views ask again whenever a button changes.
    // Kept for the whole run and never destroyed, so that no pixmap outlives
    // the application object at exit.
    static auto* drawn = new std::map<std::string, QPixmap>;
    auto it = drawn->find(name);
    if (it == drawn->end())
        it = drawn->emplace(name, drawpicture(name)).first;
    return it->second;
}

int picturespacing(const std::string& name)
{
    // The two play pictures are lower, so their captions sit a little apart.
    return name == "playsource" || name == "playtarget" ? 3 : 0;
}

}  // namespace qcqt
