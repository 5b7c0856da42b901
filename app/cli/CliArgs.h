// The arguments of one command of quorvel-cli: positional arguments and options, each option
// written "--name value", "--name=value" or, for flags, "--name".
#pragma once

#include <cstdint>
#include <map>
#include <stdexcept>
#include <string>
#include <vector>

namespace qv::cli {

// Wrong usage: the program prints the text and the usage of the command and exits with 2.
class EUsage : public std::runtime_error {
 public:
  explicit EUsage(const std::string& text) : std::runtime_error(text) {}
};

struct TOptionDef {
  std::string Name;  // with its dashes: "-o", "--codec"
  bool TakesValue = false;
  bool Required = false;
};

class TCliArgs {
 public:
  std::vector<std::string> Positionals;

  bool Has(const std::string& name) const { return FValues.count(name) != 0; }
  // The option's value; fallback when it was not given.
  std::string Value(const std::string& name, const std::string& fallback = "") const;
  void Set(const std::string& name, const std::string& value) { FValues[name] = value; }

 private:
  std::map<std::string, std::string> FValues;
};

// Parses args (the command name already removed) for exactly positionals positional arguments
// and the options described by defs; a later option replaces an earlier one. "--" ends the options.
// Raises EUsage for an unknown option, a missing value, a missing required option or a wrong
// number of positional arguments.
TCliArgs ParseArgs(const std::vector<std::string>& args, const std::vector<TOptionDef>& defs,
                   size_t positionals);

// A whole decimal number in [lo, hi]; EUsage naming the option otherwise.
int32_t ParseInteger(const std::string& text, int32_t lo, int32_t hi, const std::string& option);

// A position "NOMI/DENOM" with DENOM > 0 and 0 <= NOMI <= DENOM.
struct TFraction {
  int32_t Nomi = 0, Denom = 1;
};
TFraction ParseFraction(const std::string& text, const std::string& option);

}  // namespace qv::cli
