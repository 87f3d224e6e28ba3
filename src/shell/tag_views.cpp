#include "shell/tag_views.h"

#include "tags/tag_views.h"

namespace qc {

TagViews::TagViews(LoadedFile& file, ui::MessageBox& box) : file_(file), box_(box) {}

void TagViews::wire(ui::MainForm& form)
{
    form.vftbutton.onclick = [this] { vftbuttonClick(); };
    form.vhtbutton.onclick = [this] { vhtbuttonClick(); };
}

void TagViews::vftbuttonClick()
{
    show(footertagview(file_), tagcaption::id3v1, false);
    closeview();
}

void TagViews::vhtbuttonClick()
{
    show(headtagview(file_), tagcaption::id3v2, true);  // decoded
    closeview();
}

void TagViews::show(const TagRead& read, const char* caption, bool utf8)
{
    tagtext = read.text;
    readfail = read.readfail;
    if (readfail)
        return;
    if (utf8)
        box_.msgboxutf8(tagtext, tagstyle, caption);
    else
        box_.msgbox(tagtext, tagstyle, caption);
}

// Shared by both views: a failed read shows the disk error instead of a
// partial text.
void TagViews::closeview()
{
    if (readfail)
        box_.msgbox(diskerrortext, errorstyle, tagcaption::error);
}

}  // namespace qc
