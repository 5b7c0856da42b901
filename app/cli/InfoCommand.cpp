// quorvel-cli info: what a project holds, as text or as one JSON object.
#include <cstdio>
#include <filesystem>
#include <iostream>
#include <sstream>

#include "CliCommands.h"
#include "CliSupport.h"
#include "Dialogs.h"
#include "Morph.h"

namespace qv::cli {

namespace {

bool FileExists(const std::string& fn) {
  std::error_code ec;
  return !fn.empty() && std::filesystem::is_regular_file(fn, ec);
}

std::string EasingText(const TMorphing& m) {
  if (m.SmoothAtStart() && m.SmoothAtEnd()) return "gleichmäßig beschleunigt/gebremst";
  if (m.SmoothAtStart()) return "gleichmäßig beschleunigt am Anfang";
  if (m.SmoothAtEnd()) return "gleichmäßig gebremst am Ende";
  return "linearer Fortschritt";
}

std::string InterlaceText(TInterlaceType t) {
  switch (t) {
    case it_upperFirst:
      return "oberes Halbbild zuerst";
    case it_LowerFirst:
      return "unteres Halbbild zuerst";
    default:
      return "progressiv (kein Zeilensprung)";
  }
}

const char* InterlaceKey(TInterlaceType t) {
  return t == it_upperFirst ? "upperFirst" : t == it_LowerFirst ? "lowerFirst" : "none";
}

std::string BgTypeText(TBgType t) {
  return t == bg_Pict ? "Hintergrundbild" : t == bg_Video ? "Hintergrundvideo" : "Hintergrundfarbe";
}

const char* BgTypeKey(TBgType t) {
  return t == bg_Pict ? "picture" : t == bg_Video ? "video" : "color";
}

// A colour 0x00BBGGRR as "#RRGGBB".
std::string ColorText(TColor c) {
  char buf[8];
  std::snprintf(buf, sizeof buf, "#%02X%02X%02X", GetRValue(c), GetGValue(c), GetBValue(c));
  return buf;
}

std::string Json(const std::string& s) {
  std::string out = "\"";
  for (unsigned char c : s) {
    if (c == '"' || c == '\\') {
      out += '\\';
      out += char(c);
    } else if (c < 0x20) {
      char buf[8];
      std::snprintf(buf, sizeof buf, "\\u%04x", c);
      out += buf;
    } else {
      out += char(c);
    }
  }
  return out + "\"";
}

const char* Json(bool b) {
  return b ? "true" : "false";
}

std::string ExistsText(const std::string& fn) {
  return FileExists(fn) ? "vorhanden" : "fehlt";
}

void PrintSourceText(std::ostream& o, const char* caption, const TMorphSource& s) {
  o << caption << s.SourceImageName() << " (" << ExistsText(s.SourceImageName()) << ")\n"
    << "  Bildausschnitt: " << s.RectWidth() << " x " << s.RectHeight() << " bei ("
    << s.RectOrigin().X << ", " << s.RectOrigin().Y << ")\n";
}

void PrintText(std::ostream& o, const TMorphing& m) {
  const TBackGround& bg = m.BackGround();
  o << "Projekt: " << m.FileName() << "\n"
    << "Bildgröße: " << m.Width() << " x " << m.Height() << "\n"
    << "Bilder pro Sekunde: " << m.FramesPerSecond() << "\n"
    << "Übergang: " << m.FramesMorph() << " Bilder, Standbilder am Anfang "
    << m.StillImagesAtStart() << ", am Ende " << m.StillImagesAtEnd() << "\n"
    << "Verlauf: " << EasingText(m) << "\n"
    << "Halbbilder: " << InterlaceText(m.InterlaceType()) << "\n"
    << "Kompression anbieten: " << (m.ShowCompressDialog() ? "ja" : "nein") << "\n"
    << "Umgebender Hintergrund: " << (m.withBG() ? "ja" : "nein") << ", " << BgTypeText(bg.BgType())
    << " " << bg.Width() << " x " << bg.Height() << ", Farbe " << ColorText(bg.BGColor());
  if (!bg.BGPictureName().empty())
    o << ", Bild " << bg.BGPictureName() << " (" << ExistsText(bg.BGPictureName()) << ")";
  o << "\n"
    << "Punkte: " << m.AngleCount() << "\n"
    << "Dreiecke: " << m.TriangleCount() << "\n";
  PrintSourceText(o, "Anfangsbild: ", m.Source1());
  PrintSourceText(o, "Endbild: ", m.Source2());
  o << "Status:\n" << MessageLinesToNewlines(m.GetStatusAsString()) << "\n";
}

std::string SourceJson(const TMorphSource& s) {
  std::ostringstream o;
  o << "{\"picture\": " << Json(s.SourceImageName())
    << ", \"exists\": " << Json(FileExists(s.SourceImageName()))
    << ", \"rect\": {\"x\": " << s.RectOrigin().X << ", \"y\": " << s.RectOrigin().Y
    << ", \"width\": " << s.RectWidth() << ", \"height\": " << s.RectHeight() << "}}";
  return o.str();
}

void PrintJson(std::ostream& o, const TMorphing& m) {
  const TBackGround& bg = m.BackGround();
  o << "{\n"
    << "  \"file\": " << Json(m.FileName()) << ",\n"
    << "  \"width\": " << m.Width() << ",\n"
    << "  \"height\": " << m.Height() << ",\n"
    << "  \"framesPerSecond\": " << m.FramesPerSecond() << ",\n"
    << "  \"framesMorph\": " << m.FramesMorph() << ",\n"
    << "  \"stillImagesAtStart\": " << m.StillImagesAtStart() << ",\n"
    << "  \"stillImagesAtEnd\": " << m.StillImagesAtEnd() << ",\n"
    << "  \"smoothAtStart\": " << Json(m.SmoothAtStart()) << ",\n"
    << "  \"smoothAtEnd\": " << Json(m.SmoothAtEnd()) << ",\n"
    << "  \"interlace\": " << Json(std::string(InterlaceKey(m.InterlaceType()))) << ",\n"
    << "  \"showCompressDialog\": " << Json(m.ShowCompressDialog()) << ",\n"
    << "  \"withBG\": " << Json(m.withBG()) << ",\n"
    << "  \"background\": {\"type\": " << Json(std::string(BgTypeKey(bg.BgType())))
    << ", \"width\": " << bg.Width() << ", \"height\": " << bg.Height()
    << ", \"color\": " << Json(ColorText(bg.BGColor()))
    << ", \"picture\": " << Json(bg.BGPictureName())
    << ", \"pictureExists\": " << Json(FileExists(bg.BGPictureName())) << "},\n"
    << "  \"points\": " << m.AngleCount() << ",\n"
    << "  \"triangles\": " << m.TriangleCount() << ",\n"
    << "  \"sources\": [" << SourceJson(m.Source1()) << ", " << SourceJson(m.Source2()) << "],\n"
    << "  \"status\": " << Json(MessageLinesToNewlines(m.GetStatusAsString())) << "\n"
    << "}\n";
}

}  // namespace

int RunInfoCommand(const TCliArgs& args) {
  TMorphing m;
  LoadProject(args.Positionals[0], m);
  if (args.Has("--json"))
    PrintJson(std::cout, m);
  else
    PrintText(std::cout, m);
  return kExitOk;
}

}  // namespace qv::cli
