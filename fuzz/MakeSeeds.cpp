// Writes the seed corpora of the fuzz targets: small valid files of every kind, made by our
// own writers where the system has one (BMP, JPEG, INI, project, AVI) and by the picture
// builders of the tests otherwise (GIF, PNG, icons, BMP variants). Usage:
//   quorvel-fuzz-seeds <folder>     writes <folder>/<target>/<name> for every target
#include <png.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "AVIFileWriter.h"
#include "Bitmap.h"
#include "BmpFile.h"
#include "CompressorDialog.h"
#include "CreateAVI.h"
#include "DibFormat.h"
#include "Ini.h"
#include "JpegExif.h"
#include "JpegFile.h"
#include "Morph.h"
#include "PictureTestSupport.h"
#include "ScriptedDialogs.h"

namespace fs = std::filesystem;
using qv::test::TBytes;

namespace {

fs::path gRoot;

fs::path Folder(const std::string& target) {
  fs::path dir = gRoot / target;
  fs::create_directories(dir);
  return dir;
}

void Put(const std::string& target, const std::string& name, const TBytes& bytes) {
  qv::test::WriteBytes((Folder(target) / name).string(), bytes);
}

// A file written by one of our writers into the target's folder under name.
std::string Place(const std::string& target, const std::string& name) {
  return (Folder(target) / name).string();
}

qv::TBitmap Pattern(int32_t w, int32_t h, qv::TPixelFormat pf = qv::pf24bit) {
  return qv::test::PatternBitmap(w, h, pf);
}

void BmpSeeds() {
  qv::SaveBmpFile(Place("bmp", "rgb24.bmp"), Pattern(7, 5));
  qv::SaveBmpFile(Place("bmp", "rgb32.bmp"), Pattern(6, 4, qv::pf32bit));
  qv::test::TDibLayout indexed;
  indexed.Width = 5;
  indexed.Height = 3;
  indexed.BitCount = 4;
  indexed.Palette = {qv::RGB(1, 2, 3), qv::RGB(200, 0, 0), qv::RGB(0, 200, 0)};
  indexed.ColorsUsed = 3;
  indexed.Bits = qv::test::PackRows(4, {{0, 1, 2, 1, 0}, {2, 2, 1, 1, 0}, {1, 0, 0, 2, 2}});
  Put("bmp", "pal4.bmp", qv::test::MakeBmp(indexed));
  qv::test::TDibLayout mono = indexed;
  mono.BitCount = 1;
  mono.Palette = {qv::RGB(0, 0, 0), qv::RGB(255, 255, 255)};
  mono.ColorsUsed = 2;
  mono.Bits = qv::test::PackRows(1, {{0, 1, 1, 0, 1}, {1, 1, 0, 0, 0}, {0, 0, 0, 1, 1}});
  Put("bmp", "mono.bmp", qv::test::MakeBmp(mono));
  qv::test::TDibLayout rle8 = indexed;
  rle8.BitCount = 8;
  rle8.Compression = 1;  // RLE8: a run, an absolute run, a delta, end of line, end of bitmap
  rle8.Bits = {3, 1, 0, 3, 2, 0, 1, 0, 0, 0, 0, 2, 1, 1, 0, 0, 5, 2, 0, 1};
  Put("bmp", "rle8.bmp", qv::test::MakeBmp(rle8));
  qv::test::TDibLayout rle4 = indexed;
  rle4.Compression = 2;
  rle4.Bits = {5, 0x12, 0, 0, 0, 3, 0x21, 0x00, 0, 0, 4, 0x11, 0, 1};
  Put("bmp", "rle4.bmp", qv::test::MakeBmp(rle4));
  qv::test::TDibLayout fields;
  fields.Width = 3;
  fields.Height = -2;  // top-down
  fields.BitCount = 16;
  fields.Compression = 3;
  fields.Masks = {0xF800, 0x07E0, 0x001F};
  fields.Bits = qv::test::PackRows(16, {{0xF800, 0x07E0, 0x001F}, {0xFFFF, 0, 0x1234}});
  Put("bmp", "rgb565-topdown.bmp", qv::test::MakeBmp(fields));
  qv::test::TDibLayout v5 = fields;
  v5.HeaderSize = 124;
  v5.BitCount = 32;
  v5.Masks = {0x00FF0000, 0x0000FF00, 0x000000FF, 0xFF000000};
  v5.Bits = qv::test::PackRows(32, {{0xFF102030, 0x00405060, 0x80708090}, {1, 2, 3}});
  Put("bmp", "v5-bitfields.bmp", qv::test::MakeBmp(v5));
  qv::test::TDibLayout core = indexed;
  core.HeaderSize = 12;
  core.BitCount = 8;
  core.Bits = qv::test::PackRows(8, {{0, 1, 2, 1, 0}, {2, 2, 1, 1, 0}, {1, 0, 0, 2, 2}});
  Put("bmp", "os2-core.bmp", qv::test::MakeBmp(core));
}

void JpegSeeds() {
  qv::SaveJpegFile(Place("jpeg", "rgb.jpg"), Pattern(16, 8), 90);
  qv::SaveJpegWithExif(Place("jpeg", "frame-exif.jpg"), Pattern(24, 16), 95);
  Put("jpeg", "progressive.jpg", qv::test::MakePatternJpeg(12, 9, true));
  Put("jpeg", "gray.jpg", qv::test::MakeJpeg(8, 8, qv::test::TJpegKind::Gray, TBytes(64, 90)));
  Put("jpeg", "cmyk.jpg",
      qv::test::MakeJpeg(8, 4, qv::test::TJpegKind::AdobeCmyk, TBytes(8 * 4 * 4, 40)));
  Put("jpeg", "ycck.jpg",
      qv::test::MakeJpeg(8, 4, qv::test::TJpegKind::AdobeYcck, TBytes(8 * 4 * 4, 200)));
}

void GifSeeds() {
  const std::vector<qv::TColor> colors = {qv::RGB(0, 0, 0), qv::RGB(255, 0, 0),
                                          qv::RGB(0, 255, 0), qv::RGB(0, 0, 255)};
  qv::test::TGifFrame plain;
  plain.Width = 4;
  plain.Height = 3;
  plain.Indexes = {0, 1, 2, 3, 3, 2, 1, 0, 1, 1, 2, 2};
  Put("gif", "plain.gif", qv::test::MakeGif(4, 3, colors, {plain}));
  qv::test::TGifFrame placed = plain;
  placed.Left = 2;
  placed.Top = 1;
  placed.Interlace = true;
  placed.Transparent = 0;
  placed.LocalColors = {qv::RGB(9, 9, 9), qv::RGB(90, 90, 90)};
  placed.Indexes = {0, 1, 0, 1, 1, 0, 1, 0, 0, 0, 1, 1};
  Put("gif", "interlaced-local.gif", qv::test::MakeGif(5, 5, colors, {placed, plain}));
}

void PngSeeds() {
  qv::test::TPngLayout gray;
  gray.Width = 3;
  gray.Height = 2;
  gray.ColorType = PNG_COLOR_TYPE_GRAY;
  gray.Rows = {{0, 128, 255}, {7, 8, 9}};
  Put("png", "gray8.png", qv::test::MakePng(gray));
  qv::test::TPngLayout gray16 = gray;
  gray16.BitDepth = 16;
  gray16.Interlace = true;
  gray16.Rows = {{0, 0, 128, 0, 255, 255}, {1, 2, 3, 4, 5, 6}};
  Put("png", "gray16-interlaced.png", qv::test::MakePng(gray16));
  qv::test::TPngLayout pal;
  pal.Width = 4;
  pal.Height = 2;
  pal.ColorType = PNG_COLOR_TYPE_PALETTE;
  pal.BitDepth = 2;
  pal.Palette = {qv::RGB(255, 0, 0), qv::RGB(0, 255, 0), qv::RGB(0, 0, 255)};
  pal.Transparency = {0, 128};
  pal.Rows = {{0x1B}, {0xE4}};
  Put("png", "palette-trns.png", qv::test::MakePng(pal));
  std::vector<uint32_t> rgba = {0xFF0000FF, 0x8000FF00, 0x00FF0000, 0xFFFFFFFF,
                                0x7F7F7F7F, 0x01020304};
  Put("png", "rgba.png", qv::test::MakeRgbaPng(3, 2, rgba));
}

// An icon image as a DIB: height counts colour rows and mask rows; 32 bits with alpha.
TBytes IconDib32(int w, int h) {
  qv::test::TDibLayout s;
  s.Width = w;
  s.Height = 2 * h;
  s.BitCount = 32;
  std::vector<std::vector<uint32_t>> rows(h, std::vector<uint32_t>(w));
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) rows[y][x] = (x + y) % 3 ? 0xFF336699u : 0x00000000u;
  s.Bits = qv::test::PackRows(32, rows);
  const TBytes mask = qv::test::PackRows(1, std::vector<std::vector<uint32_t>>(h, std::vector<uint32_t>(w, 0)));
  s.Bits.insert(s.Bits.end(), mask.begin(), mask.end());
  return qv::test::MakeDib(s);
}

TBytes IconDib4(int w, int h) {
  qv::test::TDibLayout s;
  s.Width = w;
  s.Height = 2 * h;
  s.BitCount = 4;
  s.Palette = {qv::RGB(0, 0, 0), qv::RGB(255, 255, 0)};
  s.ColorsUsed = 2;
  std::vector<std::vector<uint32_t>> colour(h, std::vector<uint32_t>(w)), mask = colour;
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      colour[y][x] = (x ^ y) & 1;
      mask[y][x] = x == y;
    }
  s.Bits = qv::test::PackRows(4, colour);
  const TBytes m = qv::test::PackRows(1, mask);
  s.Bits.insert(s.Bits.end(), m.begin(), m.end());
  return qv::test::MakeDib(s);
}

void IcoSeeds() {
  Put("ico", "dib32.ico", qv::test::MakeIco({{4, 4, 32, IconDib32(4, 4)}}));
  Put("ico", "dib4-mask.ico", qv::test::MakeIco({{6, 3, 4, IconDib4(6, 3)}}));
  std::vector<uint32_t> rgba(4 * 4, 0x80FF8040);
  Put("ico", "png-and-dib.ico",
      qv::test::MakeIco({{4, 4, 32, qv::test::MakeRgbaPng(4, 4, rgba)}, {2, 2, 4, IconDib4(2, 2)}}));
}

void IniSeeds() {
  for (qv::TTextEncoding enc : {qv::te_Ansi, qv::te_UTF8, qv::te_UTF16LE, qv::te_UTF16BE}) {
    const std::string fn = Place("ini", "settings-" + std::to_string(int(enc)) + ".ini");
    fs::remove(fn);
    qv::TIni ini(fn);
    ini.WriteString("File", "Current", "/home/anna/Morphings/Übergang.qvp");
    ini.WriteString("File", "AVI", "/home/anna/Videos/");
    ini.WriteInteger("Form1", "Left", -12);
    ini.WriteBool("Settings", "AutoPlay", true);
    ini.WriteDouble("Settings", "Ratio", 0.5);
    ini.WriteString("History", "Point", "120,-5");
    ini.WriteSectionLines("Notes", {"; a comment", "a line without key", "Key='quoted'"}, true);
    ini.SaveToFile(fn, enc);
  }
  const std::string odd =
      ";$C\r\nvor=dem Kopf\r\n[Opt]\r\nName = Wert\r\nLeer=\r\nq=''\r\n[opt]\r\nZoom=$1F\r\n"
      "[Sect] ; note\r\n[Zeta\nx=0x1F\rbool=00\r\n[Opt]\r\nzweimal=1\r\nFN=B\xE4ume.jpg\r\n";
  Put("ini", "odd-lines-cp1252.ini", TBytes(odd.begin(), odd.end()));
}

// Pictures next to the project as the project fuzz target provides them.
void ProjectPictures(const fs::path& dir) {
  qv::TBitmap picture = Pattern(40, 30);
  qv::SaveBmpFile((dir / "anna.bmp").string(), picture);
  qv::SaveJpegFile((dir / "bert.jpg").string(), picture, 80);
  qv::SaveBmpFile((dir / "hinten.bmp").string(), picture);
}

void ProjectSeeds() {
  qv::TScriptedDialogs dialogs;
  const fs::path work = fs::temp_directory_path() / "quorvel-seeds-project";
  fs::remove_all(work);
  fs::create_directories(work);
  ProjectPictures(work);
  auto save = [&](qv::TMorphing& doc, const std::string& name) {
    const fs::path fn = work / name;
    doc.SaveToFile(fn.string());
    fs::copy_file(fn, Folder("project") / name, fs::copy_options::overwrite_existing);
  };
  {
    qv::TMorphing doc;
    doc.setTargetImageSize(64, 48);
    doc.Source1().SetSourceImageName((work / "anna.bmp").string());
    doc.Source2().SetSourceImageName((work / "bert.jpg").string());
    doc.SetMorphMode(qv::mm_Points);  // the four corners
    doc.AddPoint(doc.Source1(), qv::TPoint{30, 20});
    doc.AppendTriangle({0, 1, 4});
    doc.AppendTriangle({1, 2, 4});
    doc.AppendTriangle({2, 3, 4});
    doc.SetMorphMode(qv::mm_Net);
    save(doc, "net.qvp");
    doc.SetwithBG(true);
    doc.BackGround().SetBgType(qv::bg_Pict);
    doc.BackGround().SetWidth(80);
    doc.BackGround().SetHeight(60);
    doc.BackGround().SetBGPictureName((work / "hinten.bmp").string());
    doc.SetInterlaceType(qv::it_LowerFirst);
    save(doc, "background.qvp");
  }
  {
    qv::TMorphing doc;
    doc.setTargetImageSize(32, 32);
    save(doc, "empty.qvp");
  }
  const std::string legacy =
      "\xEF\xBB\xBF[Project]\r\nType=ZuntMorphing\r\nVersion=2012\r\nTargetW=20\r\nTargetH=10\r\n"
      "[Opt]\r\nSmooth=0\r\nSmoothE=1\r\nInterlace=5\r\nMode=9\r\n[Triangles]\r\n"
      "A=0000,0001,0002;0001,0002,0003,0004;0002\r\n[Src1]\r\nFN=anna.bmp\r\nRWidth=5\r\n"
      "ROX=-4\r\nROY=900\r\nPoints=0000,0000;0013,0000;0013,0009;000a,0014;001E\r\n[Src2]\r\n"
      "FN=..\\fehlt\\B\xE4r.jpg\r\nPoints=0001,0001;0012,0000;FFFFFFFF,0009;\r\n";
  Put("project", "legacy-odd.qvp", TBytes(legacy.begin(), legacy.end()));
  fs::remove_all(work);
}

TBytes FileBytes(const fs::path& p) { return qv::test::ReadBytes(p.string()); }

void AviSeeds() {
  constexpr int W = 8, H = 6;
  auto format = [&] {
    qv::TAVIVideoFormat f;
    f.FPS = 25;
    f.Width = W;
    f.Height = H;
    f.Handler = qv::FourCC("DIB ");
    f.SuggestedBufferSize = qv::DibRowBytes(W, 24) * H;
    f.Format = qv::DibHeaderBlock(qv::DibHeader(W, H), std::vector<uint8_t>(4, 0));
    return f;
  };
  auto frame = [&](int n) {
    TBytes f(qv::DibRowBytes(W, 24) * H);
    for (size_t i = 0; i < f.size(); ++i) f[i] = uint8_t(i * 7 + n * 40);
    return f;
  };
  auto write = [&](const std::string& name, int frames, uint64_t partSize, bool finish) {
    const std::string fn = Place("avi", name);
    qv::TAVIFileWriter w(partSize);
    qv::TAVIVideoFormat f = format();
    w.Create(fn);
    w.WriteHeaders(&f);
    for (int n = 0; n < frames; ++n) {
      TBytes b = frame(n);
      w.WriteFrame(b.data(), b.size(), true);
    }
    if (finish)
      w.Finish();
    else
      w.Abandon();
  };
  write("dib-3.avi", 3, qv::TAVIFileWriter::DefaultMaxPartSize, true);
  write("opendml-parts.avi", 6, 400, true);
  write("stopped-midway.avi", 2, qv::TAVIFileWriter::DefaultMaxPartSize, false);
  {
    qv::TAVIFileWriter w;
    w.Create(Place("avi", "no-streams.avi"));
    w.WriteHeaders(nullptr);
    w.Finish();
  }
  {
    qv::TFixedCompressorDialog mjpeg(qv::TAVICompressOptions{qv::vc_MotionJPEG, 50, 0, 0});
    qv::TCompressorDialogScope scope(mjpeg);
    qv::TAVICreator c;
    c.SetWidth(16);
    c.SetHeight(8);
    c.SetFilename(Place("avi", "mjpeg-2.avi"));
    if (c.CreateAVIFile(true, {qv::av_video})) {
      c.AddAVIFrame(Pattern(16, 8));
      c.AddAVIFrame(Pattern(8, 8));
      c.CloseAVIFile(false);
    }
  }
  for (const auto& e : fs::directory_iterator(Folder("avi")))
    Put("riff", e.path().filename().string(), FileBytes(e.path()));
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s <corpus folder>\n", argv[0]);
    return 2;
  }
  gRoot = argv[1];
  BmpSeeds();
  JpegSeeds();
  GifSeeds();
  PngSeeds();
  IcoSeeds();
  IniSeeds();
  ProjectSeeds();
  AviSeeds();
  return 0;
}
