// Conversions between the system's UTF-8 strings and Qt strings.
#pragma once

#include <QString>
#include <string>

namespace qv {

inline QString ToQ(const std::string& s) {
  return QString::fromUtf8(s.data(), qsizetype(s.size()));
}
inline std::string FromQ(const QString& s) {
  return s.toUtf8().toStdString();
}

// A text of the system with its "\r" line breaks as Qt shows them.
inline QString DisplayText(const std::string& text) {
  QString s = ToQ(text);
  s.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  s.replace(QLatin1Char('\r'), QLatin1Char('\n'));
  return s;
}

}  // namespace qv
