// Byte builders for the tag view tests: ID3v2.3 frames and tags, ID3v1
// tags field by field, and a view run on a file written to a temporary
// directory.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "support/harness.h"
#include "support/open_files.h"
#include "shell/tag_views.h"

namespace tagtest {

using qctest::Bytes;
using qctest::operator+;

inline Bytes bytes(const std::string& s)
{
    return Bytes(s.begin(), s.end());
}

// A frame in the ID3v2.3 layout; the size is that of the content unless given.
inline Bytes id3frame(const std::string& id, const Bytes& content, long size = -1,
                      std::uint8_t s0 = 0)
{
    long n = size < 0 ? static_cast<long>(content.size()) : size;
    Bytes b = bytes(id.substr(0, 4));
    b.resize(4, 0);
    b.push_back(s0);
    b.push_back(static_cast<std::uint8_t>((n >> 16) & 0xFF));
    b.push_back(static_cast<std::uint8_t>((n >> 8) & 0xFF));
    b.push_back(static_cast<std::uint8_t>(n & 0xFF));
    b.push_back(0);
    b.push_back(0);
    return b + content;
}

// A text frame: encoding byte 0 (ISO-8859-1), then the text.
inline Bytes textframe(const std::string& id, const std::string& text)
{
    return id3frame(id, Bytes{0} + bytes(text));
}

// "ID3", version 2.3, no flags, the sync-safe size of what follows.
inline Bytes headertag(const Bytes& body)
{
    auto n = static_cast<std::uint32_t>(body.size());
    Bytes b = {'I', 'D', '3', 3, 0, 0,
               static_cast<std::uint8_t>((n >> 21) & 0x7F), static_cast<std::uint8_t>((n >> 14) & 0x7F),
               static_cast<std::uint8_t>((n >> 7) & 0x7F), static_cast<std::uint8_t>(n & 0x7F)};
    return b + body;
}

struct Footer {
    Bytes title = Bytes(30, 0), performer = Bytes(30, 0), album = Bytes(30, 0);
    Bytes year = Bytes(4, 0), comment = Bytes(30, 0);
    std::uint8_t genre = 255;
};

// A field of n bytes holding the given bytes, zero-filled.
inline Bytes field(const Bytes& content, std::size_t n = 30)
{
    Bytes b = content;
    b.resize(n, 0);
    return b;
}

inline Bytes field(const std::string& text, std::size_t n = 30)
{
    return field(bytes(text), n);
}

inline Bytes footertag(const Footer& f)
{
    return bytes("TAG") + field(f.title) + field(f.performer) + field(f.album) +
           field(f.year, 4) + field(f.comment) + Bytes{f.genre};
}

// One click of a view on a file: the boxes it showed and the state after it.
struct ViewRun {
    std::vector<qctest::Box> shown;
    std::string tagtext;
    bool readfail = false;
    bool leftopen = false;
    bool errorpending = false;
};

enum class View { Footer, Header };

inline ViewRun runview(View view, const std::string& path, std::int64_t footerpos = 0)
{
    qc::LoadedFile file;
    file.sourcename = path;
    file.footerpos = footerpos;
    file.footerfound = footerpos != 0;
    file.footerspan = 127;  // a whole tag, whatever an earlier load left here
    qctest::ScriptedBox box;
    box.answerall(ui::idok);
    qc::TagViews views(file, box);
    if (view == View::Footer)
        views.vftbuttonClick();
    else
        views.vhtbuttonClick();
    return {box.shown, views.tagtext, views.readfail, qctest::openinprocess(path),
            false};
}

// The text of the one tag box a view showed, or a failure when it showed
// something else.
inline ::testing::AssertionResult showedtag(const ViewRun& run, const std::string& caption,
                                            const std::string& text)
{
    if (run.shown.size() != 1)
        return ::testing::AssertionFailure() << run.shown.size() << " boxes shown";
    const qctest::Box& b = run.shown[0];
    if (b.caption != caption || b.style != 64)
        return ::testing::AssertionFailure() << "box \"" << b.caption << "\" style " << b.style
                                             << ": " << b.text;
    if (b.text != text)
        return ::testing::AssertionFailure() << "text\n  \"" << b.text << "\"\nexpected\n  \""
                                             << text << "\"";
    if (run.readfail || run.leftopen || run.errorpending)
        return ::testing::AssertionFailure() << "file state not cleaned up";
    return ::testing::AssertionSuccess();
}

// Only the disk error box, and the file closed with no error left pending.
inline ::testing::AssertionResult showeddiskerror(const ViewRun& run)
{
    if (run.shown.size() != 1)
        return ::testing::AssertionFailure() << run.shown.size() << " boxes shown";
    const qctest::Box& b = run.shown[0];
    if (b.text != "Disk error - maybe file was moved or  modified in the meantime?" ||
        b.caption != "Error" || b.style != 48)
        return ::testing::AssertionFailure() << "box \"" << b.caption << "\" style " << b.style
                                             << ": " << b.text;
    if (!run.readfail || run.leftopen || run.errorpending)
        return ::testing::AssertionFailure() << "file state not cleaned up";
    return ::testing::AssertionSuccess();
}

}  // namespace tagtest
