// The two tag views of the main window: the "view" buttons beside the
// header and footer tag lines reopen the source, read the tag as text and
// show it in a message box. Read-only; the tags are never changed.
#pragma once

#include <string>

#include "stream/loaded_file.h"
#include "tags/tag_read.h"
#include "texts/tag_texts.h"
#include "ui/main_form.h"
#include "ui/msgbox.h"

namespace qc {

class TagViews {
public:
    TagViews(LoadedFile& file, ui::MessageBox& box);

    void vftbuttonClick();
    void vhtbuttonClick();
    void wire(ui::MainForm& form);

    // The text the last view built (the ID3v2 view's in UTF-8, the ID3v1
    // view's single-byte), and whether its re-read of the source failed.
    std::string tagtext;
    bool readfail = false;

private:
    void show(const TagRead& read, const char* caption, bool utf8);
    void closeview();

    LoadedFile& file_;
    ui::MessageBox& box_;
};

}  // namespace qc
