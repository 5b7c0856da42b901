#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>

#include "AVIFileWriter.h"
#include "AVIReader.h"
#include "CompressorDialog.h"
#include "CreateAVI.h"
#include "DibFormat.h"
#include "MorphError.h"
#include "ScriptedDialogs.h"
#include "VideoTestTools.h"

namespace qv {
namespace {

using test::Le16;
using test::Le32;
using test::Tag;

TBitmap TestBitmap(int w, int h, int n) {
  TBitmap b(pf24bit);
  b.SetSize(w, h);
  auto bits = test::TestFrame(w, h, n);
  std::memcpy(b.Bits(), bits.data(), bits.size());
  return b;
}

std::string ErrorOf(const std::function<void()>& f) {
  try {
    f();
  } catch (const EMorphError& e) {
    return e.what();
  }
  return "";
}

// A writer set up for file with size w x h (no granularity) at fps.
void Prepare(TAVICreator& c, const std::string& file, int w, int h, int fps = 25) {
  c.SetResRestriction(rrAny);
  c.SetWidth(w);
  c.SetHeight(h);
  c.SetFPS(uint8_t(fps));
  c.SetFilename(file);
}

void WriteFrames(TAVICreator& c, int w, int h, int count) {
  for (int n = 0; n < count; ++n) c.AddAVIFrame(TestBitmap(w, h, n));
}

const char* const kNotInitialised =
    "Konnte Frame nicht hinzufügen. \rAVI-Datei wurde noch nicht initialisiert.";

TEST(AVICreator, SizesFollowTheGranularity) {
  TAVICreator c;
  EXPECT_EQ(c.FPS(), 25);
  EXPECT_EQ(c.Width(), 320);
  EXPECT_EQ(c.Height(), 240);
  EXPECT_EQ(c.ResRestriction(), rr8x8);
  EXPECT_EQ(c.CreatorState(), csStopped);
  for (int v : {1080, 720, 576, 432, 768, 1280, 1920}) {
    c.SetWidth(v);
    EXPECT_EQ(c.Width(), v);
  }
  c.SetWidth(810);
  EXPECT_EQ(c.Width(), 808);
  c.SetHeight(540);
  EXPECT_EQ(c.Height(), 536);
  c.SetWidth(0);
  c.SetWidth(-5);
  EXPECT_EQ(c.Width(), 808);
  c.SetResRestriction(rrAny);
  EXPECT_EQ(c.Width(), 808);
  c.SetWidth(811);
  c.SetHeight(13);
  EXPECT_EQ(c.Width(), 811);
  c.SetResRestriction(rr2x2);
  EXPECT_EQ(c.Width(), 810);
  EXPECT_EQ(c.Height(), 12);
  c.SetResRestriction(rr4x4);
  EXPECT_EQ(c.Width(), 808);
  c.SetHeight(7);
  EXPECT_EQ(c.Height(), 4);
}

TEST(AVICreator, UncompressedFileHoldsTheFixedHeaders) {
  test::TTempDir dir;
  const std::string file = dir.File("plain.avi");
  const int w = 42, h = 30, frames = 7;  // rows of 126 bytes, padded to 128
  {
    TAVICreator c;
    Prepare(c, file, w, h, 12);
    ASSERT_TRUE(c.CreateAVIFile(false, {av_video}));
    EXPECT_EQ(c.CreatorState(), csWriting);
    c.SetWidth(64);  // refused while writing
    EXPECT_EQ(c.Width(), w);
    WriteFrames(c, w, h, frames);
    EXPECT_EQ(c.AVIFrameIndex(), frames);
    c.CloseAVIFile(false);
    EXPECT_EQ(c.CreatorState(), csStopped);
  }
  const uint32_t imageSize = 128 * h;
  auto top = test::ParseRiff(file);
  ASSERT_EQ(top.size(), 1u);
  const auto& riff = top[0];
  EXPECT_EQ(riff.ListType, Tag("AVI "));
  EXPECT_EQ(riff.Size + 8, std::filesystem::file_size(file));
  const auto* strh = riff.Find("strh");
  ASSERT_NE(strh, nullptr);
  ASSERT_EQ(strh->Data.size(), 56u);
  const uint8_t* s = strh->Data.data();
  EXPECT_EQ(Le32(s), Tag("vids"));
  EXPECT_EQ(Le32(s + 4), Tag("DIB "));
  EXPECT_EQ(Le32(s + 20), 1u);   // scale
  EXPECT_EQ(Le32(s + 24), 12u);  // rate
  EXPECT_EQ(Le32(s + 28), 0u);   // start
  EXPECT_EQ(Le32(s + 32), uint32_t(frames));
  EXPECT_EQ(Le32(s + 36), imageSize);
  EXPECT_EQ(Le32(s + 40), 0u);  // quality 0, not -1
  EXPECT_EQ(Le32(s + 44), 0u);
  EXPECT_EQ(Le16(s + 48), 0);
  EXPECT_EQ(Le16(s + 50), 0);
  EXPECT_EQ(Le16(s + 52), w);
  EXPECT_EQ(Le16(s + 54), h);

  const auto* strf = riff.Find("strf");
  ASSERT_NE(strf, nullptr);
  ASSERT_EQ(strf->Size, 44u);
  std::vector<uint8_t> expected(44, 0);
  PutDibHeader(expected.data(), DibHeader(w, h));
  EXPECT_EQ(strf->Data, expected);
  EXPECT_EQ(Le32(strf->Data.data()), 40u);
  EXPECT_EQ(Le16(strf->Data.data() + 12), 1);  // planes

  const auto* avih = riff.Find("avih");
  EXPECT_EQ(Le32(avih->Data.data() + 16), uint32_t(frames));
  EXPECT_EQ(Le32(avih->Data.data() + 24), 1u);
  EXPECT_EQ(Le32(avih->Data.data() + 32), uint32_t(w));
  EXPECT_EQ(Le32(avih->Data.data() + 36), uint32_t(h));

  auto chunks = riff.FindAll("00db");
  ASSERT_EQ(chunks.size(), size_t(frames));
  for (const auto* ch : chunks) EXPECT_EQ(ch->Size, imageSize);
  const auto* idx1 = riff.Find("idx1");
  ASSERT_NE(idx1, nullptr);
  ASSERT_EQ(idx1->Data.size(), 16u * frames);
  for (int n = 0; n < frames; ++n) {
    const uint8_t* e = idx1->Data.data() + 16 * n;
    EXPECT_EQ(Le32(e), Tag("00db"));
    EXPECT_EQ(Le32(e + 4), 0x10u);  // key frame
    EXPECT_EQ(Le32(e + 12), imageSize);
  }

  auto probe = test::Probe(file);
  EXPECT_EQ(probe.Codec, "rawvideo");
  EXPECT_EQ(probe.Rate, "12/1");
  EXPECT_EQ(probe.Width, w);
  EXPECT_EQ(probe.Height, h);
  EXPECT_EQ(probe.Packets, frames);
  auto decoded = test::DecodeWithFFmpeg(file, w, h);
  ASSERT_EQ(int(decoded.size()), frames);
  for (int n = 0; n < frames; ++n)
    EXPECT_EQ(decoded[n], test::TopDown(test::TestFrame(w, h, n), w, h)) << "frame " << n;
}

TEST(AVICreator, FramesAreCutOrKeepWhatThePreviousFrameLeft) {
  test::TTempDir dir;
  const std::string file = dir.File("crop.avi");
  const int w = 40, h = 24;
  TBitmap big = TestBitmap(60, 40, 3);
  TBitmap small(pf32bit);
  small.SetSize(10, 6);
  for (int y = 0; y < 6; ++y)
    for (int x = 0; x < 10; ++x) small.SetPixel(x, y, RGB(200, 10, 90));
  {
    TAVICreator c;
    Prepare(c, file, w, h);
    ASSERT_TRUE(c.CreateAVIFile(false, {av_video}));
    c.AddAVIFrame(big);
    c.AddAVIFrame(small);
    c.CloseAVIFile(false);
  }
  auto frames = test::DecodeWithFFmpeg(file, w, h);
  ASSERT_EQ(frames.size(), 2u);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      const uint8_t* p = &frames[0][(y * w + x) * 3];
      ASSERT_EQ(RGB(p[2], p[1], p[0]), big.GetPixel(x, y)) << x << "," << y;
      const uint8_t* q = &frames[1][(y * w + x) * 3];
      const TColor want = x < 10 && y < 6 ? RGB(200, 10, 90) : big.GetPixel(x, y);
      ASSERT_EQ(RGB(q[2], q[1], q[0]), want) << x << "," << y;
    }
}

TEST(AVICreator, WrongCallingOrderRaises) {
  test::TTempDir dir;
  TAVICreator c;
  TBitmap b = TestBitmap(8, 8, 0);
  EXPECT_EQ(ErrorOf([&] { c.AddAVIFrame(b); }), kNotInitialised);
  EXPECT_EQ(ErrorOf([&] { c.CloseAVIFile(false); }),
            "Konnte AVI-Datei nicht schließen. AVI-Datei wurde noch nicht erstellt.");
  Prepare(c, dir.File("order.avi"), 16, 16);
  ASSERT_TRUE(c.CreateAVIFile(false, {av_video}));
  auto dib = test::TestFrame(16, 16, 0);
  std::vector<uint8_t> packed(40);
  PutDibHeader(packed.data(), DibHeader(16, 16));
  EXPECT_EQ(ErrorOf([&] { c.AddDibFrame(packed.data(), packed.size()); }),
            "Konnte Frame nicht hinzufügen");  // header promises more than there is
  packed.insert(packed.end(), dib.begin(), dib.end());
  c.AddDibFrame(packed.data(), packed.size());
  EXPECT_EQ(c.AVIFrameIndex(), 1);
  c.CloseAVIFile(false);
  EXPECT_EQ(ErrorOf([&] { c.AddAVIFrame(b); }), kNotInitialised);
  EXPECT_EQ(ErrorOf([&] { c.AddDibFrame(packed.data(), packed.size()); }), kNotInitialised);
  EXPECT_EQ(ErrorOf([&] { c.CloseAVIFile(false); }),
            "Konnte AVI-Datei nicht schließen. AVI-Datei wurde noch nicht erstellt.");
  EXPECT_EQ(test::DecodeWithFFmpeg(dir.File("order.avi"), 16, 16).at(0),
            test::TopDown(dib, 16, 16));
}

TEST(AVICreator, WithoutFilenameTheSaveDialogAsks) {
  test::TTempDir dir;
  TScriptedDialogs dialogs;
  const std::string chosen = dir.File("chosen.avi");
  {
    TAVICreator c;
    dialogs.QueueFile("");
    EXPECT_FALSE(c.CreateAVIFile(false, {av_video}));
    EXPECT_EQ(c.CreatorState(), csStopped);
    ASSERT_EQ(dialogs.FileDialogs().size(), 1u);
    const TFileDialog& d = dialogs.FileDialogs()[0];
    EXPECT_EQ(d.Kind, TFileDialogKind::Save);
    EXPECT_EQ(d.DefaultExt, "avi");
    EXPECT_EQ(d.Filter, "AVI-Dateien (*.avi)|*.avi");
    EXPECT_TRUE(d.RefuseReadOnly);
    EXPECT_FALSE(d.OverwritePrompt);
  }
  {
    TAVICreator c;
    c.SetWidth(16);
    c.SetHeight(16);
    dialogs.QueueFile(chosen);
    ASSERT_TRUE(c.CreateAVIFile(false, {av_video}));
    EXPECT_EQ(c.WorkFile(), chosen);
    EXPECT_EQ(c.Filename(), "");
    WriteFrames(c, 16, 16, 2);
    c.CloseAVIFile(false);
  }
  EXPECT_EQ(test::Probe(chosen).Packets, 2);
  // An existing file: overwritten only after a Yes.
  dialogs.ClearShown();
  const auto sizeBefore = std::filesystem::file_size(chosen);
  {
    TAVICreator c;
    dialogs.QueueFile(chosen);
    dialogs.QueueYesNo(false);
    EXPECT_FALSE(c.CreateAVIFile(false, {av_video}));
    EXPECT_EQ(dialogs.Texts(TScriptedDialogs::TKind::Confirm),
              std::vector<std::string>{"\"" + chosen + "\" überschreiben?"});
  }
  EXPECT_EQ(std::filesystem::file_size(chosen), sizeBefore);
  {
    TAVICreator c;
    c.SetWidth(16);
    c.SetHeight(16);
    dialogs.QueueFile(chosen);
    dialogs.QueueYesNo(true);
    ASSERT_TRUE(c.CreateAVIFile(false, {av_video}));
    WriteFrames(c, 16, 16, 5);
    c.CloseAVIFile(false);
  }
  EXPECT_EQ(test::Probe(chosen).Packets, 5);
}

TEST(AVICreator, WithFilenameAnExistingFileIsOverwrittenWithoutQuestion) {
  test::TTempDir dir;
  TScriptedDialogs dialogs;  // would fail loudly if asked
  const std::string file = dir.File("old.avi");
  std::ofstream(file) << std::string(100000, 'x');
  TAVICreator c;
  Prepare(c, file, 16, 16);
  ASSERT_TRUE(c.CreateAVIFile(false, {av_video}));
  WriteFrames(c, 16, 16, 1);
  c.CloseAVIFile(false);
  EXPECT_TRUE(dialogs.Shown().empty());
  EXPECT_EQ(test::Probe(file).Packets, 1);
}

TEST(AVICreator, CodecChoiceIsOfferedOnlyWhenAskedFor) {
  test::TTempDir dir;
  const std::string file = dir.File("choice.avi");
  TFixedCompressorDialog choice(TAVICompressOptions{vc_FFV1});
  TCompressorDialogScope scope(choice);
  {
    TAVICreator c;
    Prepare(c, file, 16, 16);
    ASSERT_TRUE(c.CreateAVIFile(false, {av_video}));
    EXPECT_EQ(c.CompressOptions().Codec, vc_Uncompressed);
    c.CloseAVIFile(false);
  }
  EXPECT_EQ(choice.Calls(), 0);
  {
    TAVICreator c;
    Prepare(c, file, 16, 16);
    ASSERT_TRUE(c.CreateAVIFile(true, {av_video}));
    EXPECT_EQ(c.CompressOptions().Codec, vc_FFV1);
    WriteFrames(c, 16, 16, 3);
    c.CloseAVIFile(false);
  }
  EXPECT_EQ(choice.Calls(), 1);
  EXPECT_EQ(choice.LastPreset(), TAVICompressOptions{});  // preset: uncompressed
  EXPECT_EQ(test::Probe(file).Codec, "ffv1");
  // Without a key-frame interval every FFV1 frame stands on its own.
  auto top = test::ParseRiff(file);
  const auto* idx1 = top.at(0).Find("idx1");
  ASSERT_NE(idx1, nullptr);
  ASSERT_EQ(idx1->Data.size(), 48u);
  for (int n = 0; n < 3; ++n) EXPECT_EQ(Le32(idx1->Data.data() + 16 * n + 4), 0x10u);
}

TEST(AVICreator, CancelledCodecChoiceDeletesTheFile) {
  test::TTempDir dir;
  const std::string file = dir.File("cancel.avi");
  TFixedCompressorDialog cancel = TFixedCompressorDialog::Cancelling();
  TCompressorDialogScope scope(cancel);
  TAVICreator c;
  Prepare(c, file, 16, 16);
  EXPECT_FALSE(c.CreateAVIFile(true, {av_video}));
  EXPECT_EQ(c.CreatorState(), csStopped);
  EXPECT_FALSE(std::filesystem::exists(file));
  EXPECT_EQ(ErrorOf([&] { c.AddAVIFrame(TestBitmap(16, 16, 0)); }), kNotInitialised);
}

TEST(AVICreator, FailuresAnswerFalseAndLeaveNoFile) {
  test::TTempDir dir;
  {
    TAVICreator c;
    Prepare(c, dir.File("missing/folder.avi"), 16, 16);
    EXPECT_FALSE(c.CreateAVIFile(false, {av_video}));
    EXPECT_EQ(c.FailureText(),
              "Konnte AVI-Datei nicht erstellen. \rFestplatte voll oder Datei in Benutzung?");
    EXPECT_EQ(c.CreatorState(), csStopped);
  }
  if (AVICodecAvailable(vc_H264)) {
    TFixedCompressorDialog h264(TAVICompressOptions{vc_H264});
    TCompressorDialogScope scope(h264);
    TAVICreator c;
    const std::string file = dir.File("odd.avi");
    Prepare(c, file, 41, 31);  // 4:2:0 needs even sizes
    EXPECT_FALSE(c.CreateAVIFile(true, {av_video}));
    EXPECT_EQ(c.FailureText(), "Konnte keinen komprimierten Stream erzeugen.");
    EXPECT_FALSE(std::filesystem::exists(file));
  }
  {
    TAVICreator c;
    const std::string file = dir.File("nofps.avi");
    Prepare(c, file, 16, 16, 0);
    EXPECT_FALSE(c.CreateAVIFile(false, {av_video}));
    EXPECT_EQ(c.FailureText(), "Konnte keinen AVI-Stream erzeugen.");
    EXPECT_FALSE(std::filesystem::exists(file));
  }
}

TEST(AVICreator, WithoutVideoStreamTheFileOpensButTakesNoFrames) {
  test::TTempDir dir;
  const std::string file = dir.File("empty.avi");
  TAVICreator c;
  Prepare(c, file, 16, 16);
  ASSERT_TRUE(c.CreateAVIFile(false, {av_audio, av_text}));
  EXPECT_TRUE(std::filesystem::exists(file));
  EXPECT_EQ(ErrorOf([&] { c.AddAVIFrame(TestBitmap(16, 16, 0)); }),
            "Konnte Frame nicht hinzufügen");
  c.CloseAVIFile(false);
  auto top = test::ParseRiff(file);
  ASSERT_EQ(top.size(), 1u);
  EXPECT_EQ(Le32(top[0].Find("avih")->Data.data() + 24), 0u);  // no streams
  EXPECT_EQ(top[0].Find("strl"), nullptr);
}

TEST(AVICreator, StoppedOrDestroyedEarlyTheFileIsComplete) {
  test::TTempDir dir;
  const std::string file = dir.File("early.avi");
  {
    TAVICreator c;
    Prepare(c, file, 32, 16);
    ASSERT_TRUE(c.CreateAVIFile(false, {av_video}));
    WriteFrames(c, 32, 16, 9);
  }  // destroyed without CloseAVIFile
  auto top = test::ParseRiff(file);
  ASSERT_EQ(top.size(), 1u);
  EXPECT_NE(top[0].Find("idx1"), nullptr);
  EXPECT_EQ(test::Probe(file).Packets, 9);
  EXPECT_EQ(test::DecodeWithFFmpeg(file, 32, 16).size(), 9u);
  {
    TAVICreator c;
    Prepare(c, file, 32, 16);
    ASSERT_TRUE(c.CreateAVIFile(false, {av_video}));
    WriteFrames(c, 32, 16, 3);
    c.CloseAVIFile(true);
  }
  EXPECT_FALSE(std::filesystem::exists(file));
}

// Each codec of the writer, read back by ffprobe and by our reader.
class AVICreatorCodecs : public ::testing::TestWithParam<TAVICodec> {};

TEST_P(AVICreatorCodecs, RoundTripsThroughTheReader) {
  const TAVICodec codec = GetParam();
  if (!AVICodecAvailable(codec)) GTEST_SKIP() << AVICodecName(codec) << " missing";
  test::TTempDir dir;
  const std::string file = dir.File("codec.avi");
  const int w = 64, h = 48, frames = 24;
  TFixedCompressorDialog choice(TAVICompressOptions{codec, 90, 6, 0});
  TCompressorDialogScope scope(choice);
  {
    TAVICreator c;
    Prepare(c, file, w, h, 10);
    ASSERT_TRUE(c.CreateAVIFile(true, {av_video})) << c.FailureText();
    WriteFrames(c, w, h, frames);
    c.CloseAVIFile(false);
  }
  const struct {
    TAVICodec Codec;
    const char* Probe;
    const char* FourCC;
  } names[] = {{vc_Uncompressed, "rawvideo", "DIB "},
               {vc_MotionJPEG, "mjpeg", "MJPG"},
               {vc_FFV1, "ffv1", "FFV1"},
               {vc_H264, "h264", "H264"},
               {vc_MPEG4, "mpeg4", "XVID"}};
  for (const auto& n : names) {
    if (n.Codec != codec) continue;
    auto probe = test::Probe(file);
    EXPECT_EQ(probe.Codec, n.Probe);
    EXPECT_EQ(probe.Rate, "10/1");
    EXPECT_EQ(probe.Width, w);
    EXPECT_EQ(probe.Height, h);
    EXPECT_EQ(probe.Packets, frames);
    auto top = test::ParseRiff(file);
    EXPECT_EQ(Le32(top.at(0).Find("strh")->Data.data() + 4), Tag(n.FourCC));
    if (codec != vc_Uncompressed) {
      EXPECT_EQ(Le32(top[0].Find("strf")->Data.data() + 16), Tag(n.FourCC));
    }
  }

  // Key frames: every frame of the intra codecs, else at least every sixth as asked for.
  auto top = test::ParseRiff(file);
  const auto* idx1 = top.at(0).Find("idx1");
  ASSERT_NE(idx1, nullptr);
  ASSERT_EQ(idx1->Data.size(), 16u * frames);
  int keys = 0, sinceKey = 0;
  for (int n = 0; n < frames; ++n) {
    const bool key = Le32(idx1->Data.data() + 16 * n + 4) & 0x10;
    if (n == 0) {
      EXPECT_TRUE(key);
    }
    keys += key;
    sinceKey = key ? 0 : sinceKey + 1;
    EXPECT_LT(sinceKey, 6);
  }
  const bool intra = codec == vc_Uncompressed || codec == vc_MotionJPEG;
  if (intra)
    EXPECT_EQ(keys, frames);
  else
    EXPECT_LT(keys, frames);

  const bool lossless = codec == vc_Uncompressed || codec == vc_FFV1;
  TAVIReader reader;
  ASSERT_TRUE(reader.OpenAVIFile(file)) << reader.ErrorMessage();
  for (int n : {0, 1, 2, 3, 17, 9, 10, 23, 5, 11}) {
    const uint8_t* dib = reader.GetFrame(n);
    ASSERT_NE(dib, nullptr) << n;
    std::vector<uint8_t> bits(dib + 40, dib + reader.FrameSize());
    auto original = test::TestFrame(w, h, n);
    if (lossless) {
      ASSERT_EQ(bits, original) << "frame " << n;
    } else {
      EXPECT_LT(test::MeanDifference(bits, original), 6.0) << "frame " << n;
      EXPECT_GT(test::MeanDifference(bits, test::TestFrame(w, h, n + 1)), 8.0) << "frame " << n;
    }
  }
  EXPECT_EQ(reader.GetFrame(frames), nullptr);
}

class AVICreatorLossyCodecs : public ::testing::TestWithParam<TAVICodec> {};

TEST_P(AVICreatorLossyCodecs, LowerQualityMakesSmallerFiles) {
  const TAVICodec codec = GetParam();
  if (!AVICodecAvailable(codec)) GTEST_SKIP() << AVICodecName(codec) << " missing";
  test::TTempDir dir;
  auto write = [&](const TAVICompressOptions& o) {
    TFixedCompressorDialog choice(o);
    TCompressorDialogScope scope(choice);
    const std::string file = dir.File("q.avi");
    TAVICreator c;
    Prepare(c, file, 96, 64);
    EXPECT_TRUE(c.CreateAVIFile(true, {av_video}));
    WriteFrames(c, 96, 64, 10);
    c.CloseAVIFile(false);
    return std::filesystem::file_size(file);
  };
  const auto best = write({codec, 100, 0, 0});
  const auto worst = write({codec, 1, 0, 0});
  const auto lowRate = write({codec, 100, 0, 20});
  EXPECT_LT(worst * 4, best * 3);
  EXPECT_LT(lowRate, best);
}

INSTANTIATE_TEST_SUITE_P(All, AVICreatorCodecs,
                         ::testing::Values(vc_Uncompressed, vc_MotionJPEG, vc_FFV1, vc_H264,
                                           vc_MPEG4),
                         [](const auto& info) { return AVICodecKey(info.param); });
INSTANTIATE_TEST_SUITE_P(Lossy, AVICreatorLossyCodecs,
                         ::testing::Values(vc_MotionJPEG, vc_H264, vc_MPEG4),
                         [](const auto& info) { return AVICodecKey(info.param); });

TEST(AVICreator, CodecListNamesWhatFFmpegHas) {
  auto codecs = AvailableAVICodecs();
  ASSERT_FALSE(codecs.empty());
  EXPECT_EQ(codecs[0], vc_Uncompressed);
  for (TAVICodec c : codecs) {
    TAVICodec back;
    ASSERT_TRUE(AVICodecFromKey(AVICodecKey(c), back));
    EXPECT_EQ(back, c);
    EXPECT_FALSE(AVICodecName(c).empty());
  }
  TAVICodec none;
  EXPECT_FALSE(AVICodecFromKey("wmv", none));
}

// Over 1 GiB the file continues in OpenDML parts; ffprobe must see every frame. Takes a few
// seconds and needs about 1.1 GiB of temporary space.
TEST(AVICreator, FileOverOneGibibyteKeepsEveryFrame) {
  test::TTempDir dir;
  if (std::filesystem::space(dir.File("")).available < (uint64_t(3) << 30))
    GTEST_SKIP() << "less than 3 GiB free in the temp folder";
  const std::string file = dir.File("big.avi");
  const int side = 1024, frames = 380;  // 3 MiB a frame, about 1.1 GiB
  {
    TAVICreator c;
    Prepare(c, file, side, side);
    ASSERT_TRUE(c.CreateAVIFile(false, {av_video}));
    TBitmap b = TestBitmap(side, side, 0);
    for (int n = 0; n < frames; ++n) {
      b.SetPixel(n % side, 0, RGB(255, 255, 255));
      c.AddAVIFrame(b);
    }
    c.CloseAVIFile(false);
  }
  EXPECT_GT(std::filesystem::file_size(file), uint64_t(1) << 30);
  auto top = test::ParseRiff(file);
  EXPECT_EQ(top.size(), 2u);
  EXPECT_EQ(test::Probe(file).Packets, frames);
  TAVIReader reader;
  ASSERT_TRUE(reader.OpenAVIFile(file));
  EXPECT_NE(reader.GetFrame(frames - 1), nullptr);
  EXPECT_EQ(reader.GetFrame(frames), nullptr);
}

}  // namespace
}  // namespace qv
