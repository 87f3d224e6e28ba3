// The writer wired to the test engine: a loaded file, a scripted message
// box and save dialog, and a temporary directory for sources and targets.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "shell/writer.h"
#include "support/harness.h"
#include "support/scripted_dialogs.h"

namespace qctest {

struct SaveRig {
    SaveRig()
    {
        writer.wire();
        // the byte-for-byte copy, whose pieces these tests state; exact
        // output has its own tests
        writer.exact = false;
        writer.savedir = dir.path("");
        writer.writesettings = [this] { ++settingswrites; };
        loader.setpolicy(qc::ErrorPolicy::Attempt);
        // A save may enable Play target; start from the window's start state.
        loader.form.playbut.setenabled(false);
        loader.form.playmenu.setenabled(false);
        loader.form.playsrcbut.setenabled(true);
        loader.form.playsrcmenu.setenabled(true);
    }

    // Writes bytes as the source file and loads it; the boxes the load will
    // show must have been queued in loader.box.
    bool load(const Bytes& bytes, const std::string& name = "song.mp3")
    {
        source = dir.write(name, bytes);
        return loader.load(source);
    }
    bool loadfile(const std::string& path)
    {
        source = path;
        return loader.load(path);
    }

    void cut(int side, std::int32_t frames) { loader.cuts.applycut(side, frames); }
    void check(ui::Control& box) { box.setchecked(true); }

    // Save as, choosing target in the dialog; returns the target's content.
    Bytes saveto(const std::string& target)
    {
        dialogs.choose(target);
        writer.savebutClick();
        EXPECT_TRUE(dialogs.drained()) << "the save dialog was not shown";
        return readbytes(target);
    }

    // The messages of the boxes shown with caption "Error" since the last
    // clear (their first lines), and the causes under them (the rest).
    std::vector<std::string> errors() const { return errorlines(true); }
    std::vector<std::string> causes() const { return errorlines(false); }
    std::vector<std::string> errorlines(bool first) const
    {
        std::vector<std::string> out;
        for (const Box& b : loader.box.shown) {
            if (b.caption != "Error")
                continue;
            const std::size_t br = b.text.find("\r\n");
            if (first)
                out.push_back(b.text.substr(0, br));
            else
                out.push_back(br == std::string::npos ? std::string() : b.text.substr(br + 2));
        }
        return out;
    }

    TempDir dir;
    Loader loader;
    ScriptedDialogs dialogs;
    qc::Writer writer{loader.file, loader.form, loader.cuts, loader.box, dialogs};
    int settingswrites = 0;
    std::string source;
};

// Frames told apart by their gain, so that a wrong frame in an output shows.
inline std::vector<Bytes> distinctframes(int count, FrameSpec spec = {})
{
    std::vector<Bytes> out;
    for (int i = 0; i < count; ++i) {
        spec.gain = static_cast<std::uint8_t>(60 + i);
        out.push_back(frame(spec));
    }
    return out;
}

// Frames from .. to - 1 of a list, joined.
inline Bytes join(const std::vector<Bytes>& frames, std::size_t from, std::size_t to)
{
    Bytes out;
    for (std::size_t i = from; i < to && i < frames.size(); ++i)
        out = out + frames[i];
    return out;
}

// A RIFF WAVE header whose data chunk holds the frames that follow it.
inline Bytes riffheader(std::uint32_t datasize)
{
    auto le32 = [](std::uint32_t v) {
        return Bytes{static_cast<std::uint8_t>(v), static_cast<std::uint8_t>(v >> 8),
                     static_cast<std::uint8_t>(v >> 16), static_cast<std::uint8_t>(v >> 24)};
    };
    Bytes fmt = {'f', 'm', 't', ' '};
    fmt = fmt + le32(30) + Bytes{0x55, 0x00, 0x02, 0x00, 0x44, 0xAC, 0x00, 0x00, 0x00, 0x7D,
                                 0x00, 0x00, 0x01, 0x00, 0x00, 0x00, 0x0C, 0x00, 0x01, 0x00,
                                 0x02, 0x00, 0x00, 0x00, 0xA1, 0x01, 0x01, 0x00, 0x71, 0x05};
    Bytes data = Bytes{'d', 'a', 't', 'a'} + le32(datasize);
    Bytes wave = Bytes{'W', 'A', 'V', 'E'} + fmt + data;
    return Bytes{'R', 'I', 'F', 'F'} + le32(static_cast<std::uint32_t>(wave.size()) + datasize) + wave;
}

}  // namespace qctest
