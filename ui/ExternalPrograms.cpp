#include "ExternalPrograms.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTextStream>
#include <QUrl>

namespace qv {

namespace {

QString ToQ(const std::string& s) {
  return QString::fromUtf8(s.data(), qsizetype(s.size()));
}

bool IsProgram(const QString& path) {
  const QFileInfo fi(path);
  return fi.isFile() && fi.isExecutable();
}

// The value escapes of a desktop entry: \s, \n, \t, \r and \\.
std::string UnescapeValue(const std::string& v) {
  std::string out;
  for (size_t i = 0; i < v.size(); ++i) {
    if (v[i] != '\\' || i + 1 == v.size()) {
      out += v[i];
      continue;
    }
    const char c = v[++i];
    out += c == 's' ? ' ' : c == 'n' ? '\n' : c == 't' ? '\t' : c == 'r' ? '\r' : c;
  }
  return out;
}

// The Exec line split into arguments: blanks separate, double quotes group, and inside quotes
// a backslash takes the next character literally.
std::vector<std::string> SplitExec(const std::string& exec) {
  std::vector<std::string> args;
  std::string arg;
  bool inArg = false, quoted = false;
  for (size_t i = 0; i < exec.size(); ++i) {
    const char c = exec[i];
    if (quoted) {
      if (c == '\\' && i + 1 < exec.size())
        arg += exec[++i];
      else if (c == '"')
        quoted = false;
      else
        arg += c;
    } else if (c == '"') {
      quoted = inArg = true;
    } else if (c == ' ' || c == '\t') {
      if (inArg) args.push_back(arg);
      arg.clear();
      inArg = false;
    } else {
      arg += c;
      inArg = true;
    }
  }
  if (inArg) args.push_back(arg);
  return args;
}

// The argument with its field codes replaced; false when it held a file code.
bool ExpandFieldCodes(const std::string& arg, const std::string& file, std::string& out) {
  bool hadFile = false;
  out.clear();
  for (size_t i = 0; i < arg.size(); ++i) {
    if (arg[i] != '%' || i + 1 == arg.size()) {
      out += arg[i];
      continue;
    }
    const char code = arg[++i];
    if (code == '%') {
      out += '%';
    } else if (code == 'f' || code == 'F' || code == 'u' || code == 'U') {
      out += file;
      hadFile = true;
    }  // every other code stands for nothing here
  }
  return hadFile;
}

// The [Desktop Entry] keys Exec and Terminal of a desktop file.
bool ReadDesktopEntry(const QString& path, std::string& exec, bool& terminal) {
  QFile f(path);
  if (!f.open(QIODevice::ReadOnly | QIODevice::Text)) return false;
  QTextStream in(&f);
  bool inEntry = false;
  exec.clear();
  terminal = false;
  while (!in.atEnd()) {
    const QString line = in.readLine().trimmed();
    if (line.startsWith('[')) {
      inEntry = line == "[Desktop Entry]";
      continue;
    }
    if (!inEntry) continue;
    const qsizetype eq = line.indexOf('=');
    if (eq < 0) continue;
    const QString key = line.left(eq).trimmed();
    const QString value = line.mid(eq + 1).trimmed();
    if (key == "Exec") exec = UnescapeValue(value.toStdString());
    if (key == "Terminal") terminal = value == "true";
  }
  return !exec.empty();
}

// The desktop's default application for plain text, as the name of its desktop file.
QString DefaultTextEditorEntry() {
  QProcess query;
  query.start("xdg-mime", {"query", "default", "text/plain"});
  if (!query.waitForStarted(3000) || !query.waitForFinished(5000)) {
    query.kill();
    query.waitForFinished(1000);
    return {};
  }
  if (query.exitStatus() != QProcess::NormalExit || query.exitCode() != 0) return {};
  return QString::fromUtf8(query.readAllStandardOutput()).trimmed().section(';', 0, 0).trimmed();
}

bool StartDetached(const std::vector<std::string>& command) {
  if (command.empty()) return false;
  QStringList args;
  for (size_t i = 1; i < command.size(); ++i) args << ToQ(command[i]);
  return QProcess::startDetached(ToQ(command[0]), args);
}

bool OpenWithDefaultTextEditor(const std::string& fileName) {
  const QString id = DefaultTextEditorEntry();
  if (id.isEmpty() || id.contains('/')) return false;
  const QString path = QStandardPaths::locate(QStandardPaths::ApplicationsLocation, id);
  std::string exec;
  bool terminal = false;
  // An editor that needs a terminal of its own cannot be started from here.
  if (path.isEmpty() || !ReadDesktopEntry(path, exec, terminal) || terminal) return false;
  return StartDetached(DesktopEntryCommand(exec, fileName));
}

}  // namespace

void ShellOpen(const std::string& fileName) {
  if (!fileName.empty()) QDesktopServices::openUrl(QUrl::fromLocalFile(ToQ(fileName)));
}

std::string FindTiboProgram() {
  const QString ownFolder = QCoreApplication::applicationDirPath();
  for (const char* name : {"Tibo", "tibo"}) {
    const QString beside = ownFolder + "/" + name;
    if (!ownFolder.isEmpty() && IsProgram(beside)) return beside.toStdString();
  }
  for (const char* name : {"Tibo", "tibo"}) {
    const QString found = QStandardPaths::findExecutable(name);
    if (!found.isEmpty()) return found.toStdString();
  }
  return {};
}

bool OpenInTextEditor(const std::string& fileName) {
  if (fileName.empty()) return false;
  const std::string tibo = FindTiboProgram();
  if (!tibo.empty()) return StartDetached({tibo, fileName});
  return OpenWithDefaultTextEditor(fileName);
}

std::vector<std::string> DesktopEntryCommand(const std::string& exec, const std::string& file) {
  std::vector<std::string> command;
  bool hadFile = false;
  for (const std::string& arg : SplitExec(exec)) {
    std::string expanded;
    hadFile = ExpandFieldCodes(arg, file, expanded) || hadFile;
    // An argument that was nothing but a field code standing for nothing is left out.
    if (!expanded.empty() || arg.empty()) command.push_back(expanded);
  }
  if (command.empty()) return command;
  if (!hadFile) command.push_back(file);
  return command;
}

}  // namespace qv
