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
            show(readdamagedid3v1(source_, footertagpos(file_), file_.footerspan + 1),
                 tagcaption::id3v1);
        } else {
            show(readid3v1(source_, file_.footerfound ? footertagpos(file_) : file_.footerpos),
                 tagcaption::id3v1);
        }
    }
    closeview();
}

void TagViews::vhtbuttonClick()
{
    if (opensource())
        show(readid3v2(source_), tagcaption::id3v2);
    closeview();
}

// The source is reopened by name, as the loader opens it: it may have been
// moved, shortened or replaced since the load.
bool TagViews::opensource()
{
    tagtext.clear();
    source_.ioresult();  // nothing left over from an earlier operation
    readfail = !source_.openexisting(file_.sourcename);
    return !readfail;
}

void TagViews::show(const TagRead& read, const char* caption)
{
    tagtext = read.text;
    readfail = read.readfail;
    if (!readfail)
        box_.msgbox(tagtext, tagstyle, caption);
}

// Shared by both views: the file is closed whatever happened, and a failed
// read shows the disk error instead of a partial text.
void TagViews::closeview()
{
    if (source_.isopen())
        source_.close();
    source_.ioresult();
    if (readfail)
        box_.msgbox(diskerrortext, errorstyle, tagcaption::error);
}

}  // namespace qc
