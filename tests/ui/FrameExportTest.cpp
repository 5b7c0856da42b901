// Exporting the intermediate frame and the image sections: the file kinds by extension, the
// EXIF block as exiftool reads it, existing files, the remembered folders and the shared
// picture-save dialog.
#include <QFile>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <filesystem>

#include "Bitmap.h"
#include "BmpFile.h"
#include "CommandTestTools.h"
#include "FrameExport.h"
#include "Morph.h"
#include "PictureFile.h"
#include "ProgramVersion.h"
#include "VideoTestTools.h"

namespace qv {
namespace {

std::string ExampleFile(const char* name) {
  return std::string(QUORVEL_SOURCE_DIR) + "/examples/" + name;
}

class FrameExportTest : public CommandTest {
 protected:
  FrameExportTest() {
    FMorphing.NewProject("", 400, 300);
    FMorphing.Source1().SetSourceImageName(ExampleFile("anfang.bmp"));
    FMorphing.Source2().SetSourceImageName(ExampleFile("ende.bmp"));
    FMorphing.BlendFrame(1, 2);
    InitPictureSaveDialog(FDialog);
  }
  void ExportFrameAs(const std::string& file) {
    FDialogs.QueueFile(file);
    SaveIntermediateFrame(FDialog, FMorphing.TargetBmp());
  }
  static QJsonObject ExifOf(const std::string& file) {
    std::string out;
    EXPECT_EQ(test::RunCommand("exiftool -j -n -JPEGQualityEstimate -Orientation -Software "
                               "-ThumbnailLength " +
                                   test::Quoted(file),
                               &out),
              0);
    return QJsonDocument::fromJson(QByteArray::fromStdString(out)).array().at(0).toObject();
  }
  static QImage ThumbnailOf(const std::string& file) {
    std::string out;
    test::RunCommand("exiftool -b -ThumbnailImage " + test::Quoted(file), &out);
    return QImage::fromData(QByteArray::fromStdString(out), "JPEG");
  }

  TMorphing FMorphing;
  TFileDialog FDialog;
};

TEST_F(FrameExportTest, JpegFramesCarryQualityOrientationThumbnailAndSoftware) {
  for (const char* name : {"frame.JPG", "frame.jpeg", "frame.jpg"}) {
    const std::string file = Dir() + name;
    ExportFrameAs(file);
    const QJsonObject exif = ExifOf(file);
    EXPECT_EQ(exif["JPEGQualityEstimate"].toInt(), 95) << name;
    EXPECT_EQ(exif["Orientation"].toInt(), 1) << name;
    EXPECT_EQ(exif["Software"].toString().toStdString(), "Zunt Quorvel " + GetProgramVersion());
    EXPECT_GT(exif["ThumbnailLength"].toInt(), 0);
    EXPECT_EQ(ThumbnailOf(file).size(), QSize(160, 120)) << name;
    QImage image(QString::fromStdString(file));
    EXPECT_EQ(image.size(), QSize(400, 300));
  }
  EXPECT_EQ(Settings().readString("File", "FrameDir", ""), Dir());
}

TEST_F(FrameExportTest, BmpFramesKeepThePixelsAndOtherExtensionsWriteNothing) {
  ExportFrameAs(Dir() + "frame.bmp");
  TBitmap back;
  DecodePicture(Dir() + "frame.bmp", back);
  ASSERT_EQ(back.Width(), 400);
  EXPECT_EQ(back.PixelFormat(), pf32bit);
  for (TPoint p : {TPoint{0, 0}, TPoint{200, 150}, TPoint{399, 299}})
    EXPECT_EQ(back.GetPixel(p.X, p.Y), FMorphing.TargetBmp().GetPixel(p.X, p.Y));

  std::filesystem::create_directory(Dir() + "png");
  ExportFrameAs(Dir() + "png/frame.png");
  EXPECT_FALSE(std::filesystem::exists(Dir() + "png/frame.png"));
  EXPECT_EQ(Settings().readString("File", "FrameDir", ""), Dir() + "png/");
  // The dialog starts in the folder stored last.
  FDialogs.QueueFile("");
  SaveIntermediateFrame(FDialog, FMorphing.TargetBmp());
  EXPECT_EQ(FDialogs.FileDialogs().back().InitialDir, Dir() + "png/");
}

TEST_F(FrameExportTest, AnExistingFileIsReplacedOnlyAfterYes) {
  const std::string file = Dir() + "old.bmp";
  Settings().writeString("File", "FrameDir", "/somewhere/");
  {
    QFile f(QString::fromStdString(file));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("old");
  }
  FDialogs.QueueYesNo(false);
  ExportFrameAs(file);
  EXPECT_EQ(FDialogs.Texts(TScriptedDialogs::TKind::Confirm).back(),
            file + "\rexistiert bereits\r\rWollen Sie diese Datei überschreiben?");
  EXPECT_EQ(std::filesystem::file_size(file), 3u);
  EXPECT_EQ(Settings().readString("File", "FrameDir", ""), "/somewhere/");

  FDialogs.QueueYesNo(true);
  ExportFrameAs(file);
  EXPECT_GT(std::filesystem::file_size(file), 400u * 300u);
  EXPECT_EQ(Settings().readString("File", "FrameDir", ""), Dir());
}

TEST_F(FrameExportTest, ASectionIsWrittenAtTargetSizeAndTheDialogKeepsItsSettings) {
  const std::string file = Dir() + "section.bmp";
  {
    QFile f(QString::fromStdString(file));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("old");
  }
  FDialogs.QueueFile(file);
  EXPECT_EQ(SaveImageSection(FDialog, &FMorphing.Source2()), file);
  EXPECT_TRUE(FDialogs.Texts(TScriptedDialogs::TKind::Confirm).empty());
  TBitmap back;
  DecodePicture(file, back);
  EXPECT_EQ(back.Width(), 400);
  EXPECT_EQ(back.Height(), 300);
  TBitmap expected(pf32bit);
  expected.SetSize(400, 300);
  expected.WritePixels32(FMorphing.Source2().SourcePix());
  EXPECT_EQ(back.GetPixel(123, 45), expected.GetPixel(123, 45));
  EXPECT_EQ(Settings().readString("File", "PictSaveDir", ""), Dir());

  // Any extension gets a BMP file; without a source nothing is written.
  FDialogs.QueueFile(Dir() + "section.jpg");
  SaveImageSection(FDialog, &FMorphing.Source1());
  QFile jpg(QString::fromStdString(Dir() + "section.jpg"));
  ASSERT_TRUE(jpg.open(QIODevice::ReadOnly));
  EXPECT_EQ(jpg.read(2), "BM");
  FDialogs.QueueFile(Dir() + "none.bmp");
  EXPECT_EQ(SaveImageSection(FDialog, nullptr), "");
  EXPECT_FALSE(std::filesystem::exists(Dir() + "none.bmp"));

  // The frame export uses the dialog as the section export left it.
  FDialogs.QueueFile("");
  SaveIntermediateFrame(FDialog, FMorphing.TargetBmp());
  const TFileDialog& shown = FDialogs.FileDialogs().back();
  EXPECT_EQ(shown.Title, "Bild(ausschnitt) speichern");
  EXPECT_EQ(shown.Filter, "*.bmp|*.bmp");
  EXPECT_EQ(shown.DefaultExt, ".bmp");
}

}  // namespace
}  // namespace qv
