#include "qt/conversions.h"

#include <QStringList>

#include "texts/byte_text.h"

namespace qcqt {

namespace {

// The layouts name Windows faces. Where a face is missing, a free face with
// the same metrics stands in (Liberation, from fonts-liberation), so that
// captions fit the sizes the layouts give; Tahoma has no metric twin and
// takes the sans face closest in width.
QStringList families(const std::string& name)
{
    const QString face = toqt(name);
    if (name == "Arial" || name == "Tahoma" || name == "MS Sans Serif")
        return {face, QStringLiteral("Liberation Sans")};
    if (name == "Times New Roman")
        return {face, QStringLiteral("Liberation Serif")};
    if (name == "Courier" || name == "Courier New")
        return {face, QStringLiteral("Courier New"), QStringLiteral("Liberation Mono")};
    return {face};
}

}  // namespace

QString displaytext(const std::string& s)
{
    QString t = toqt(s);
    t.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    t.replace(QChar('\r'), QChar('\n'));
    return t;
}

QString boxtext(const std::string& s)
{
    return displaytext(qc::bytestext(s));
}

QString toqt(const std::string& s)
{
    return QString::fromStdString(s);
}

std::string fromqt(const QString& s)
{
    return s.toStdString();
}

QFont qtfont(const ui::Font& f)
{
    QFont q;
    q.setFamilies(families(f.name));
    q.setPixelSize(f.px > 0 ? f.px : 13);
    q.setBold(f.bold);
    q.setItalic(f.italic);
    q.setStyleHint(f.name.rfind("Courier", 0) == 0 ? QFont::TypeWriter
                   : f.name == "Times New Roman" ? QFont::Serif
                                                 : QFont::SansSerif);
    return q;
}

QColor qtcolor(std::int32_t rgb)
{
    return QColor((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF);
}

std::int32_t rgbof(const QColor& c)
{
    return (c.red() << 16) | (c.green() << 8) | c.blue();
}

Qt::Alignment qtalign(ui::Align a)
{
    switch (a) {
    case ui::Align::Center: return Qt::AlignHCenter | Qt::AlignTop;
    case ui::Align::Right: return Qt::AlignRight | Qt::AlignTop;
    case ui::Align::Left: break;
    }
    return Qt::AlignLeft | Qt::AlignTop;
}

QString mnemonichtml(const std::string& caption)
{
    QString out;
    bool haskey = false;
    const QString text = toqt(caption);
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c == '&' && i + 1 < text.size()) {
            const QChar next = text[++i];
            if (next == '&') {
                out += QStringLiteral("&amp;");
            } else if (!haskey) {
                haskey = true;
                out += QStringLiteral("<u>") + QString(next).toHtmlEscaped() + QStringLiteral("</u>");
            } else {
                out += QString(next).toHtmlEscaped();
            }
            continue;
        }
        out += QString(c).toHtmlEscaped();
    }
    if (!haskey)
        return {};
    return QStringLiteral("<span style=\"white-space:pre\">") + out + QStringLiteral("</span>");
}

}  // namespace qcqt
