// Every message and question goes through one modal message box. The style
// value is the classic one: buttons (0 OK, 1 OK/Cancel, 3 Yes/No/Cancel,
// 4 Yes/No) + icon (32 question, 48 exclamation, 64 information) + 256 when
// the second button is the default. "\r\n" in a text is a line break.
#pragma once

#include <string>

namespace ui {

inline constexpr int idok = 1;
inline constexpr int idcancel = 2;
inline constexpr int idyes = 6;
inline constexpr int idno = 7;

class MessageBox {
public:
    virtual ~MessageBox() = default;
    // Shows the box and returns the button pressed. The text and caption are
    // single-byte text: each byte is one character.
    virtual int msgbox(const std::string& text, int style, const std::string& caption) = 0;
    // The same for a text in UTF-8 (a decoded tag), shown as it is; the
    // caption is single-byte text as above.
    virtual int msgboxutf8(const std::string& text, int style, const std::string& caption)
    {
        return msgbox(text, style, caption);
    }
};

}  // namespace ui
