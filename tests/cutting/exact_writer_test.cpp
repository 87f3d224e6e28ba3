// Exact output through the writer: the tag frame and what it counts, the
// RIFF sizes, a save onto the source, the line the window shows, and the
// checksum behind the tag's CRC fields.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>

#include <cstring>
#include <memory>
#include <random>

#include "cutting/crc16.h"
#include "cutting/writer_fixture.h"
#include "cutting/xing_tag.h"
#include "tags/id3v2_frames.h"
#include "stream/mapped_file.h"

namespace qctest {

namespace {

std::uint32_t le32at(const Bytes& b, std::size_t at)
{
    return std::uint32_t{b[at]} | (std::uint32_t{b[at + 1]} << 8) | (std::uint32_t{b[at + 2]} << 16) |
           (std::uint32_t{b[at + 3]} << 24);
}

std::uint16_t slowcrc(const std::uint8_t* p, std::size_t n)
{
    std::uint16_t crc = 0;
    while (n-- > 0) {
        crc ^= *p++;
        for (int k = 0; k < 8; ++k)
            crc = static_cast<std::uint16_t>((crc & 1) ? (crc >> 1) ^ 0xA001 : crc >> 1);
    }
    return crc;
}

struct ExactRig : SaveRig {
    ExactRig() { writer.exact = true; }
};

}  // namespace

TEST(ExactChecksum, SliceByEightAgreesWithTheBitwiseDefinition)
{
    const char* check = "123456789";
    EXPECT_EQ(qc::crc16arc(0, reinterpret_cast<const std::uint8_t*>(check), 9), 0xBB3D);
    std::mt19937 random(7);
    Bytes data(3000);
    for (auto& b : data)
        b = static_cast<std::uint8_t>(random());
    for (std::size_t n : {0u, 1u, 7u, 8u, 9u, 15u, 16u, 17u, 1000u, 2999u}) {
        // in two calls, split off the eight-byte grid
        std::uint16_t split = qc::crc16arc(qc::crc16arc(0, data.data(), n / 3), data.data() + n / 3, n - n / 3);
        EXPECT_EQ(split, slowcrc(data.data(), n)) << n;
    }
}

// Long runs are folded by carry-less multiplication (where the processor
// has it): every length about the fold's steps, any start value and any
// alignment, against the definition and the tables' path.
TEST(ExactChecksum, FoldingAgreesWithTheTablesAndTheDefinition)
{
    std::mt19937 random(11);
    Bytes data(70000);
    for (auto& b : data)
        b = static_cast<std::uint8_t>(random());
    std::vector<std::size_t> lengths = {255, 256, 257, 271, 319, 320, 321, 383, 384, 1000, 4103, 69000};
    for (std::size_t n = 256; n < 400; n += 5)
        lengths.push_back(n);
    for (std::size_t n : lengths) {
        for (std::size_t offset : {0u, 1u, 5u, 13u}) {
            const auto start = static_cast<std::uint16_t>(random());
            const std::uint8_t* p = data.data() + offset;
            const std::uint16_t folded = qc::crc16arc(start, p, n);
            qc::setfolding(false);
            const std::uint16_t tables = qc::crc16arc(start, p, n);
            qc::setfolding(true);
            std::uint16_t slow = start;
            for (std::size_t i = 0; i < n; ++i) {
                slow ^= p[i];
                for (int k = 0; k < 8; ++k)
                    slow = static_cast<std::uint16_t>((slow & 1) ? (slow >> 1) ^ 0xA001 : slow >> 1);
            }
            EXPECT_EQ(folded, slow) << n << " at " << offset;
            EXPECT_EQ(tables, slow) << n << " at " << offset;
        }
    }
}

// Frames of silence with all-zero side information: no reservoir, so the
// plan is the tag frame and the kept frames themselves.
TEST(ExactWriter, UntaggedStreamGetsATagFrameThatCountsTheOutput)
{
    ExactRig rig;
    FrameSpec spec;
    spec.gain = 0;
    const Bytes stream = frames(40, spec);
    ASSERT_TRUE(rig.load(id3v2tag(20) + stream + id3v1tag()));
    rig.cut(0, 3);
    rig.cut(1, 5);
    Bytes out = rig.saveto(rig.dir.path("out.mp3"));
    ASSERT_TRUE(rig.writer.saveok);
    const std::size_t head = id3v2tag(20).size();
    ASSERT_GT(out.size(), head + 4);
    const std::size_t taglen = 417;  // 128 kbps at 44.1 kHz, no padding
    std::optional<qc::XingTag> tag = qc::readxingtag(&out[head], taglen);
    ASSERT_TRUE(tag);
    EXPECT_EQ(tag->kind, qc::XingTag::Kind::Info);  // one bitrate throughout
    EXPECT_TRUE(tag->haslame);
    // raw timeline: one frame of silence would not give 529 samples of room,
    // so the plan starts the audio later; what counts is that the tag agrees
    EXPECT_EQ(tag->frames, rig.writer.written.frames - 1);
    EXPECT_EQ(tag->bytes, out.size() - head - 128);
    EXPECT_EQ(std::int64_t{tag->frames} * 1152 - tag->delay - tag->padding, 32 * 1152);
    EXPECT_EQ(rig.writer.written.samples, 32 * 1152);
    // the kept frames follow the made ones unchanged, and the tags around them
    const std::size_t keptbytes = 32 * 417;
    EXPECT_TRUE(std::equal(out.end() - 128 - static_cast<std::ptrdiff_t>(keptbytes), out.end() - 128,
                           stream.begin() + 3 * 417));
    EXPECT_TRUE(std::equal(out.end() - 128, out.end(), id3v1tag().begin()));
    EXPECT_EQ(rig.writer.byteswritten, static_cast<std::int64_t>(out.size()));
    // the line the window shows says what was written
    EXPECT_EQ(qc::writtentext(rig.writer.written).rfind("Written: 0.836 s (36864 samples), ", 0), 0u)
        << qc::writtentext(rig.writer.written);
}

TEST(ExactWriter, KeptRiffHeaderDescribesTheOutput)
{
    ExactRig rig;
    FrameSpec spec;
    spec.gain = 0;
    const Bytes stream = frames(20, spec);
    const Bytes riff = riffheader(static_cast<std::uint32_t>(stream.size()));
    ASSERT_TRUE(rig.load(riff + stream));
    ASSERT_TRUE(rig.loader.file.riffpresent);
    rig.cut(1, 4);
    Bytes out = rig.saveto(rig.dir.path("riff.mp3"));
    ASSERT_TRUE(rig.writer.saveok);
    ASSERT_GT(out.size(), riff.size());
    EXPECT_EQ(le32at(out, 4), out.size() - 8);
    EXPECT_EQ(le32at(out, riff.size() - 4), out.size() - riff.size());
    // everything else of the header as it was
    EXPECT_TRUE(std::equal(riff.begin() + 8, riff.end() - 4, out.begin() + 8));

    // removed, the output starts with the tag frame
    ExactRig removed;
    ASSERT_TRUE(removed.load(riff + stream));
    removed.cut(1, 4);
    removed.check(removed.loader.form.riffcheck);
    Bytes bare = removed.saveto(removed.dir.path("bare.mp3"));
    EXPECT_TRUE(std::equal(bare.begin(), bare.end(), out.begin() + static_cast<std::ptrdiff_t>(riff.size())));
}

TEST(ExactWriter, SavingOntoTheSourceWritesTheSameAsAnotherTarget)
{
    ExactRig rig;
    ASSERT_TRUE(rig.loadfile(rig.dir.write("song.mp3", readbytes(samplepath("tone44-cbr64-tagged.mp3")))));
    rig.cut(0, 2);
    rig.cut(1, 3);
    Bytes other = rig.saveto(rig.dir.path("other.mp3"));
    ASSERT_TRUE(rig.writer.saveok);
    Bytes replaced = rig.saveto(rig.source);
    ASSERT_TRUE(rig.writer.saveok);
    EXPECT_EQ(replaced, other);
    EXPECT_FALSE(qc::fileexists(rig.dir.path("song.tmpmp3")));
    EXPECT_TRUE(rig.errors().empty());
}

TEST(ExactWriter, ByteForByteModeIgnoresSampleCutsAndWritesNoTag)
{
    ExactRig rig;
    FrameSpec spec;
    spec.gain = 0;
    const Bytes stream = frames(12, spec);
    ASSERT_TRUE(rig.load(stream));
    rig.writer.exact = false;
    rig.writer.samplecuts.start = 5000;
    rig.cut(1, 2);
    EXPECT_EQ(rig.saveto(rig.dir.path("plain.mp3")), Bytes(stream.begin(), stream.end() - 2 * 417));
    // a sample cut alone is a change only in exact mode
    rig.cut(1, 0);
    rig.loader.box.clear();
    rig.loader.box.answer(ui::idok);
    rig.writer.savebutClick();
    ASSERT_EQ(rig.loader.box.shown.size(), 1u);
    EXPECT_EQ(rig.loader.box.shown.back().text, qc::nochanges);
    rig.writer.exact = true;
    Bytes exact = rig.saveto(rig.dir.path("exact.mp3"));
    ASSERT_TRUE(rig.writer.saveok);
    EXPECT_EQ(rig.writer.written.samples, 12 * 1152 - 5000);
}

// The cut boxes in audio time: a typed time is what the save removes, to the
// sample (the tagged sample plays 70,560 samples), and two times that leave
// nothing are refused as frames that leave nothing are.
TEST(ExactWriter, TypedTimesAreTheSamplesTheSaveRemoves)
{
    ExactRig rig;
    rig.loader.cuts.setexact(true);
    ASSERT_TRUE(rig.loadfile(rig.dir.write("song.mp3", readbytes(samplepath("tone44-cbr64-tagged.mp3")))));
    rig.loader.form.tbox0.usertext("1");
    rig.loader.form.tbox1.usertext("0.25");
    rig.saveto(rig.dir.path("out.mp3"));
    ASSERT_TRUE(rig.writer.saveok);
    EXPECT_EQ(rig.writer.written.samples, 70560 - 44100 - 11025);

    // a silence detection's frame count is its boundary's time
    rig.cut(0, 2);
    rig.cut(1, 0);
    rig.saveto(rig.dir.path("frames.mp3"));
    EXPECT_EQ(rig.writer.written.samples, 70560 - 47);

    rig.loader.form.tbox0.usertext("1");
    rig.loader.form.tbox1.usertext("0.6");
    rig.loader.box.clear();
    rig.loader.box.answer(ui::idok);
    rig.writer.savebutClick();
    EXPECT_FALSE(rig.writer.saveok);
    EXPECT_EQ(rig.errors(), std::vector<std::string>{qc::saveerror::nothingkept});
    rig.loader.cuts.setexact(false);
}

// A kept ID3v2 tag states the output's length (TLEN) in milliseconds; the
// rest of the tag, and its size, stay as they were.
TEST(ExactWriter, AKeptTagStatesTheOutputsLength)
{
    ExactRig rig;
    // ID3v2.3: TIT2 "Song", TLEN "1000", 10 bytes of padding; 1 s of audio
    auto frame = [](const std::string& id, const std::string& text) {
        Bytes b(id.begin(), id.end());
        const auto n = static_cast<std::uint8_t>(text.size() + 1);
        b = b + Bytes{0, 0, 0, n, 0, 0, 0};
        return b + Bytes(text.begin(), text.end());
    };
    Bytes body = frame("TIT2", "Song") + frame("TLEN", "1000") + Bytes(10, 0);
    Bytes tag = Bytes{'I', 'D', '3', 3, 0, 0, 0, 0, 0, static_cast<std::uint8_t>(body.size())} + body;
    ASSERT_TRUE(rig.load(tag + readbytes(samplepath("tone44-cbr128.mp3"))));
    rig.writer.samplecuts.start = 22050;
    Bytes out = rig.saveto(rig.dir.path("half.mp3"));
    ASSERT_TRUE(rig.writer.saveok);
    ASSERT_GE(out.size(), tag.size());
    std::optional<qc::Id3v2Frames> frames = qc::readid3v2frames(Bytes(out.begin(), out.begin() + tag.size()));
    ASSERT_TRUE(frames);
    ASSERT_EQ(frames->frames.size(), 2u);
    EXPECT_EQ(frames->frames[0].text, "Song");
    EXPECT_EQ(frames->frames[1].id, "TLEN");
    EXPECT_EQ(frames->frames[1].text, "0500");
    EXPECT_EQ(out[tag.size()], 0xFF);  // the tag frame follows at once

    // the tag removed: nothing of it is written
    rig.check(rig.loader.form.headtagcheck);
    out = rig.saveto(rig.dir.path("bare.mp3"));
    EXPECT_EQ(out[0], 0xFF);
}

// The music CRC is computed on a second thread while the frames are copied,
// and the tag frame put in place afterwards: the output is the one the single
// pass before the copy writes, byte for byte, wherever the tag frame lands.
// The audio spans several of the stretches the pass takes the map in.
TEST(ExactWriter, TheCrcBesideTheCopyWritesWhatTheSinglePassWrites)
{
    std::vector<std::uint8_t> gains;
    for (int i = 0; i < 90; ++i)
        gains.push_back(static_cast<std::uint8_t>(100 + i));
    const Bytes stream = frames(3000, FrameSpec{}, gains);  // 1.25 MB
    for (const Bytes& head : {Bytes{}, id3v2tag(300)}) {
        SCOPED_TRACE(head.size());
        Bytes outs[2];
        for (int k = 0; k < 2; ++k) {
            ExactRig rig;
            rig.writer.crcpass = k == 0 ? qc::CrcPass::Beside : qc::CrcPass::Before;
            ASSERT_TRUE(rig.load(head + stream + id3v1tag()));
            rig.cut(0, 7);
            rig.cut(1, 11);
            outs[k] = rig.saveto(rig.dir.path("out.mp3"));
            ASSERT_TRUE(rig.writer.saveok);
        }
        EXPECT_EQ(outs[0], outs[1]);
        const Bytes& out = outs[0];
        const std::size_t taglen = 417;
        ASSERT_GT(out.size(), head.size() + taglen + 128);
        ASSERT_TRUE(qc::readxingtag(&out[head.size()], taglen));
        const std::size_t crcat = head.size() + 36 + qc::lameoffset + qc::lamemusiccrc;  // stereo side information
        const auto musiccrc = static_cast<std::uint16_t>((out[crcat] << 8) | out[crcat + 1]);
        EXPECT_EQ(musiccrc, slowcrc(&out[head.size() + taglen], out.size() - head.size() - taglen - 128));
    }
}

// Where the source cannot be mapped (here: every guard slot of the maps is
// taken), the CRC is read through the source after the copy, to the same
// output.
TEST(ExactWriter, WithoutAMapTheCrcIsReadAfterTheCopyToTheSameOutput)
{
    std::vector<std::uint8_t> gains;
    for (int i = 0; i < 50; ++i)
        gains.push_back(static_cast<std::uint8_t>(120 + i));
    const Bytes stream = frames(300, FrameSpec{}, gains);
    ExactRig mapped;
    ASSERT_TRUE(mapped.load(stream));
    mapped.cut(0, 4);
    const Bytes expected = mapped.saveto(mapped.dir.path("mapped.mp3"));
    ASSERT_TRUE(mapped.writer.saveok);

    const std::string filler = mapped.dir.write("filler.bin", Bytes(4096, 1));
    const int fd = ::open(filler.c_str(), O_RDONLY);
    ASSERT_GE(fd, 0);
    std::vector<std::unique_ptr<qc::MappedFile>> taken;
    for (;;) {
        auto m = std::make_unique<qc::MappedFile>();
        if (!m->map(fd, 4096))
            break;
        taken.push_back(std::move(m));
        ASSERT_LT(taken.size(), 10000u);
    }
    ::close(fd);
    for (qc::CrcPass pass : {qc::CrcPass::Beside, qc::CrcPass::Before}) {
        ExactRig rig;
        rig.writer.crcpass = pass;
        ASSERT_TRUE(rig.load(stream));
        rig.cut(0, 4);
        EXPECT_EQ(rig.saveto(rig.dir.path("read.mp3")), expected);
        EXPECT_TRUE(rig.writer.saveok);
    }
}

}  // namespace qctest
