#include "CliArgs.h"

#include <algorithm>
#include <charconv>

namespace qv::cli {

std::string TCliArgs::Value(const std::string& name, const std::string& fallback) const {
  auto it = FValues.find(name);
  return it == FValues.end() ? fallback : it->second;
}

namespace {

const TOptionDef* FindOption(const std::vector<TOptionDef>& defs, const std::string& name) {
  auto it = std::find_if(defs.begin(), defs.end(),
                         [&](const TOptionDef& s) { return s.Name == name; });
  return it == defs.end() ? nullptr : &*it;
}

bool LooksLikeOption(const std::string& a) {
  return a.size() > 1 && a[0] == '-';
}

}  // namespace

TCliArgs ParseArgs(const std::vector<std::string>& args, const std::vector<TOptionDef>& defs,
                   size_t positionals) {
  TCliArgs out;
  bool optionsEnded = false;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    if (optionsEnded || !LooksLikeOption(a)) {
      out.Positionals.push_back(a);
      continue;
    }
    if (a == "--") {
      optionsEnded = true;
      continue;
    }
    const size_t eq = a.find('=');
    const std::string name = a.substr(0, eq);
    const TOptionDef* def = FindOption(defs, name);
    if (!def) throw EUsage("Unbekannte Option: " + name);
    if (!def->TakesValue) {
      if (eq != std::string::npos) throw EUsage("Die Option " + name + " hat keinen Wert.");
      out.Set(name, "");
    } else if (eq != std::string::npos) {
      out.Set(name, a.substr(eq + 1));
    } else if (i + 1 < args.size()) {
      out.Set(name, args[++i]);
    } else {
      throw EUsage("Der Option " + name + " fehlt ihr Wert.");
    }
  }
  for (const TOptionDef& s : defs)
    if (s.Required && !out.Has(s.Name)) throw EUsage("Die Option " + s.Name + " fehlt.");
  if (out.Positionals.size() < positionals) throw EUsage("Es fehlt eine Datei.");
  if (out.Positionals.size() > positionals)
    throw EUsage("Zu viele Argumente: " + out.Positionals[positionals]);
  return out;
}

namespace {

bool ParseWhole(const std::string& text, int32_t& value) {
  const char* end = text.data() + text.size();
  auto [p, ec] = std::from_chars(text.data(), end, value);
  return ec == std::errc() && p == end && !text.empty();
}

}  // namespace

int32_t ParseInteger(const std::string& text, int32_t lo, int32_t hi, const std::string& option) {
  int32_t v = 0;
  if (!ParseWhole(text, v) || v < lo || v > hi)
    throw EUsage(option + " erwartet eine ganze Zahl von " + std::to_string(lo) + " bis " +
                 std::to_string(hi) + ", nicht \"" + text + "\".");
  return v;
}

TFraction ParseFraction(const std::string& text, const std::string& option) {
  const size_t slash = text.find('/');
  TFraction f;
  if (slash == std::string::npos || !ParseWhole(text.substr(0, slash), f.Nomi) ||
      !ParseWhole(text.substr(slash + 1), f.Denom) || f.Denom <= 0 || f.Nomi < 0 ||
      f.Nomi > f.Denom)
    throw EUsage(option + " erwartet eine Stelle ZÄHLER/NENNER mit 0 <= ZÄHLER <= NENNER und " +
                 "NENNER > 0, nicht \"" + text + "\".");
  return f;
}

}  // namespace qv::cli
