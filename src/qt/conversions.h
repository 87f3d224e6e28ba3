// Values of the window models turned into Qt's, and back. The models hold
// texts as single-byte strings with "\r\n" line breaks, fonts as a family
// and a pixel size, colours as 0xRRGGBB.
#pragma once

#include <QColor>
#include <QFont>
#include <QString>
#include <string>

#include "ui/control.h"

namespace qcqt {

// A model text for display: "\r\n" (and a lone "\r") become "\n".
QString displaytext(const std::string& s);
// A single-byte text for display (message boxes: tag contents, data of
// unknown origin, the program's messages): every byte one character (see
// texts/byte_text.h), line breaks as in displaytext.
QString boxtext(const std::string& s);
// A text as the model keeps it (file names, typed text).
QString toqt(const std::string& s);
std::string fromqt(const QString& s);

QFont qtfont(const ui::Font& f);
QColor qtcolor(std::int32_t rgb);
std::int32_t rgbof(const QColor& c);
Qt::Alignment qtalign(ui::Align a);

// A label caption with an "&" access key as rich text: the key letter
// underlined, "&&" a literal "&", blanks kept as they are. Empty when the
// caption has no access key (then it is shown as plain text).
QString mnemonichtml(const std::string& caption);

}  // namespace qcqt
