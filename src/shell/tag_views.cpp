#include "shell/tag_views.h"

namespace qc {

TagViews::TagViews(LoadedFile& file, ui::MessageBox& box) : file_(file), box_(box) {}

void TagViews::wire(ui::MainForm& form)
{
    form.vftbutton.onclick = [this] { vftbuttonClick(); };
    form.vhtbutton.onclick = [this] { vhtbuttonClick(); };
}

void TagViews::vftbuttonClick()
{
    if (opensource()) {
        if (file_.footerfound && file_.footerspan < 127) {
            // a damaged tag runs to the end of the file
            show(readdamagedid3v1(file_.sourcefile, footertagpos(file_), file_.footerspan + 1),
                 tagcaption::id3v1, false);
        } else {
            show(readid3v1(file_.sourcefile, file_.footerfound ? footertagpos(file_) : file_.footerpos),
                 tagcaption::id3v1, false);
        }
    }
    closeview();
}

void TagViews::vhtbuttonClick()
{
    if (opensource())
        show(readid3v2(file_.sourcefile), tagcaption::id3v2, true);  // decoded
    closeview();
}

// The source is reopened by name, as the loader opens it: it may have been
// moved, shortened or replaced since the load.
bool TagViews::opensource()
{
    tagtext.clear();
    file_.sourcefile.ioresult();  // nothing left over from an earlier operation
    readfail = !file_.sourcefile.openexisting(file_.sourcename);
    return !readfail;
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

// Shared by both views: the file is closed whatever happened, and a failed
// read shows the disk error instead of a partial text.
void TagViews::closeview()
{
    if (file_.sourcefile.isopen())
        file_.sourcefile.close();
    file_.sourcefile.ioresult();
    if (readfail)
        box_.msgbox(diskerrortext, errorstyle, tagcaption::error);
}

}  // namespace qc
