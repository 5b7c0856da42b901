#include "CliCommands.h"

namespace qv::cli {

namespace {

const TOptionDef kOutput{"-o", true, true};
const TOptionDef kCodec{"--codec", true, false};
const TOptionDef kQuality{"--quality", true, false};
const TOptionDef kQuiet{"--quiet", false, false};
const TOptionDef kAt{"--at", true, true};

}  // namespace

const std::vector<TCliCommand>& CliCommands() {
  static const std::vector<TCliCommand> commands = {
      {"render",
       "render PROJEKT.qvp -o VIDEO.avi [--codec none|mjpeg|ffv1|h264|mpeg4] [--quality 1..100] "
       "[--quiet]",
       "das ganze Video mit den Einstellungen des Projekts schreiben",
       {kOutput, kCodec, kQuality, kQuiet},
       1,
       RunRenderCommand},
      {"frame",
       "frame PROJEKT.qvp --at ZÄHLER/NENNER -o BILD.bmp|BILD.jpg [--field even|odd|both] "
       "[--composed]",
       "ein Zwischenbild berechnen und speichern",
       {kAt, kOutput, {"--field", true, false}, {"--composed", false, false}},
       1,
       RunFrameCommand},
      {"blend",
       "blend PROJEKT.qvp --at P/M -o BILD.bmp",
       "die beiden Bildausschnitte ohne Netz überblenden und speichern",
       {kAt, kOutput},
       1,
       RunBlendCommand},
      {"info",
       "info PROJEKT.qvp [--json]",
       "Größe, Einstellungen, Punkte, Dreiecke und Bilder des Projekts zeigen",
       {{"--json", false, false}},
       1,
       RunInfoCommand},
      {"convert",
       "convert QUELLE.avi -o VIDEO.avi [--codec none|mjpeg|ffv1|h264|mpeg4] [--quality 1..100] "
       "[--quiet]",
       "ein AVI-Video Bild für Bild neu schreiben",
       {kOutput, kCodec, kQuality, kQuiet},
       1,
       RunConvertCommand},
      {"sequence",
       "sequence SEQUENZ.msq -o VIDEO.avi [--codec none|mjpeg|ffv1|h264|mpeg4] [--quality 1..100] "
       "[--quiet]",
       "das Video einer Morphingsequenz mit ihren Einstellungen schreiben",
       {kOutput, kCodec, kQuality, kQuiet},
       1,
       RunSequenceCommand},
  };
  return commands;
}

const TCliCommand* FindCommand(const std::string& name) {
  for (const TCliCommand& c : CliCommands())
    if (c.Name == name) return &c;
  return nullptr;
}

std::string UsageText() {
  std::string s = "Aufruf:\n";
  for (const TCliCommand& c : CliCommands()) s += "  quorvel-cli " + c.Synopsis + "\n";
  s += "  quorvel-cli --help | --version\n\nBefehle:\n";
  for (const TCliCommand& c : CliCommands()) {
    std::string name = c.Name;
    name.resize(10, ' ');
    s += "  " + name + c.Description + "\n";
  }
  s += "\nMeldungen erscheinen auf der Standardfehlerausgabe. Rückgabewert: 0 fertig, 1 Fehler "
       "oder\nmit Strg+C abgebrochen, 2 falscher Aufruf.\n";
  return s;
}

}  // namespace qv::cli
