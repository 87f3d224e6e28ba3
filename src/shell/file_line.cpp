#include "shell/file_line.h"

#include "stream/loaded_file.h"

namespace qc {

FileLine::FileLine(ui::MainForm& form, ui::TextMeasure& measure) : w_(form), measure_(measure) {}

void FileLine::loaded(const std::string& path, bool fresh)
{
    if (fresh || path != path_)
        written_.clear();
    path_ = path;
    note_.clear();
    show();
}

void FileLine::cleared()
{
    path_.clear();
    written_.clear();
    note_.clear();
    show();
}

void FileLine::saved(const std::string& written)
{
    written_ = written;
    show();
}

void FileLine::reloadedafterreplace()
{
    note_ = reloadedaftersave;
    show();
}

// The name loses characters from its left until it fits; a note stays whole.
std::string FileLine::shortened(const std::string& text) const
{
    std::string name = text.size() > 255 ? text.substr(0, 255) : text;
    const int room = w_.frame1.rect().width - 8;
    while (name.size() > 4 && measure_.textwidth(name + note_, w_.filenamelabel.font()) > room)
        name = "..." + name.substr(4);
    return name + note_;
}

void FileLine::show()
{
    w_.filenamelabel.setcaption(path_.empty() ? std::string() : shortened(path_));
    std::string hint = path_;
    if (!written_.empty())
        hint += "\r\n" + written_;
    w_.filenamelabel.sethint(hint);
}

}  // namespace qc
