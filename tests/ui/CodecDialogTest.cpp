// The codec choice window as the AVI writer's codec dialog: the codecs offered, the preset,
// the values remembered per codec, and cancel.
#include <QCheckBox>
#include <QListWidget>
#include <QSpinBox>
#include <filesystem>

#include "Bitmap.h"
#include "CodecDialog.h"
#include "CommandTestTools.h"
#include "CreateAVI.h"
#include "VideoTestTools.h"

namespace qv {
namespace {

class CodecDialogTest : public CommandTest {
 protected:
  // Writes three frames with the codec choice offered; answers CreateAVIFile's result.
  bool WriteOffered(const std::string& file) {
    TAVICreator writer;
    writer.SetWidth(64);
    writer.SetHeight(48);
    writer.SetFilename(file);
    if (!writer.CreateAVIFile(true, {av_video})) return false;
    TBitmap frame(pf24bit);
    frame.SetSize(64, 48);
    for (int k = 0; k < 3; ++k) writer.AddAVIFrame(frame);
    writer.CloseAVIFile(false);
    return true;
  }
  static int RowOf(const TFormCodec& dlg, TAVICodec codec) {
    for (int row = 0; row < dlg.ListCodecs->count(); ++row)
      if (dlg.ListCodecs->item(row)->text().toStdString() == AVICodecName(codec)) return row;
    return -1;
  }

  TQtCompressorDialog FCodecChoice;
  TCompressorDialogScope FScope{FCodecChoice};
};

TEST_F(CodecDialogTest, OffersTheAvailableCodecsPresetToUncompressed) {
  TFormCodec dlg;
  const std::vector<TAVICodec> codecs = AvailableAVICodecs();
  ASSERT_EQ(dlg.ListCodecs->count(), int(codecs.size()));
  for (size_t i = 0; i < codecs.size(); ++i)
    EXPECT_EQ(dlg.ListCodecs->item(int(i))->text().toStdString(), AVICodecName(codecs[i]));
  dlg.SetOptions(TAVICompressOptions{});
  EXPECT_EQ(dlg.Options(), TAVICompressOptions{});
  EXPECT_FALSE(dlg.SpinQuality->isEnabled());
  EXPECT_FALSE(dlg.CheckKeyFrames->isEnabled());
}

TEST_F(CodecDialogTest, TheChosenCodecWritesTheFileAndItsValuesAreRemembered) {
  ASSERT_TRUE(AVICodecAvailable(vc_MotionJPEG));
  const std::string file = Dir() + "mjpeg.avi";
  OnNextModal([](QWidget* w) {
    auto* dlg = qobject_cast<TFormCodec*>(w);
    ASSERT_NE(dlg, nullptr);
    EXPECT_EQ(dlg->ListCodecs->currentRow(), 0);  // the writer's preset: uncompressed
    dlg->ListCodecs->setCurrentRow(RowOf(*dlg, vc_MotionJPEG));
    EXPECT_FALSE(dlg->CheckKeyFrames->isEnabled());  // every frame is a key frame
    dlg->SpinQuality->setValue(40);
    dlg->accept();
  });
  ASSERT_TRUE(WriteOffered(file));
  const test::TProbe probe = test::Probe(file);
  EXPECT_TRUE(probe.Ok);
  EXPECT_EQ(probe.Codec, "mjpeg");
  EXPECT_EQ(probe.Packets, 3);

  TFormCodec next;
  next.SetOptions(TAVICompressOptions{});
  next.ListCodecs->setCurrentRow(RowOf(next, vc_MotionJPEG));
  EXPECT_EQ(next.SpinQuality->value(), 40);
  EXPECT_EQ(next.Options().Quality, 40);
  EXPECT_EQ(RememberedCodecOptions(vc_MotionJPEG).Quality, 40);
}

TEST_F(CodecDialogTest, KeyFramesAndDataRateOnlyWhenSwitchedOn) {
  TFormCodec dlg;
  ASSERT_TRUE(AVICodecAvailable(vc_MPEG4));
  dlg.ListCodecs->setCurrentRow(RowOf(dlg, vc_MPEG4));
  EXPECT_EQ(dlg.Options().KeyFrameEvery, 0);
  EXPECT_EQ(dlg.Options().DataRate, 0);
  dlg.CheckKeyFrames->setChecked(true);
  dlg.SpinKeyFrames->setValue(12);
  dlg.CheckDataRate->setChecked(true);
  dlg.SpinDataRate->setValue(800);
  EXPECT_FALSE(dlg.SpinQuality->isEnabled());  // the data rate decides
  const TAVICompressOptions o = dlg.Options();
  EXPECT_EQ(o.Codec, vc_MPEG4);
  EXPECT_EQ(o.KeyFrameEvery, 12);
  EXPECT_EQ(o.DataRate, 800);
}

TEST_F(CodecDialogTest, CancelAnswersCancelToTheWriter) {
  const std::string file = Dir() + "cancelled.avi";
  OnNextModal([](QWidget* w) { static_cast<QDialog*>(w)->reject(); });
  EXPECT_FALSE(WriteOffered(file));
  EXPECT_FALSE(std::filesystem::exists(file));
}

}  // namespace
}  // namespace qv
