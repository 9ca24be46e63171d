#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

namespace Vexa::tools {

/// A tool's start and end: its command line, read with getopt_long, and the exit
/// statuses all tools share. `--help` prints the usage to the standard output and
/// ends with status 0; `--version` prints the name and version and ends with 0; a
/// usage error prints its problem and the usage to the standard error and ends with
/// status 2; any other failure ends with status 1.
///
/// Options take their arguments as the words after them or as --name=VALUE, may be
/// shortened to any unambiguous prefix, and mix freely with the operands; "--" ends
/// the options.
class Program {
 public:
  /// Hands over an option's argument words (none for a flag) or all the operands.
  using Take = std::function<void(const std::vector<std::string>& words)>;

  /// `synopses` are the usage's lines after the program's name; `about` says what
  /// the program does, for --help.
  Program(std::string name, std::vector<std::string> synopses, std::string about);

  /// `--name` followed by one word for each of `arguments`, which name them in the
  /// usage; `help` may run on over several lines.
  Program& option(const std::string& name, std::vector<std::string> arguments,
                  const std::string& help, Take take);
  /// Between `fewest` and `most` operands, handed over together after the options.
  Program& operands(std::size_t fewest, std::size_t most, Take take);

  /// Reads the command line, handing each option over as it comes and then the
  /// operands. Returns only when the program is to go on.
  void read(int argc, char** argv);

  /// Ends the program as a usage error.
  [[noreturn]] void refuse(const std::string& problem) const;
  /// Ends the program with `message` and status 1.
  [[noreturn]] void fail(const std::string& message) const;

  /// `text` as a number; refuses anything else, naming `what` it should be.
  double number(const std::string& text, const std::string& what) const;
  /// `text` as a whole number of at least `least`; refuses anything else.
  long whole(const std::string& text, const std::string& what, long least = 1) const;

 private:
  struct Option {
    std::string name;
    std::vector<std::string> arguments;
    std::string help;
    Take take;
  };

  void takeOption(const Option& option, const char* first, int argc, char** argv);
  void takeOperands(const std::vector<std::string>& words) const;
  std::string synopsis() const;
  std::string optionList() const;
  [[noreturn]] void showUsageError() const;

  std::string programName;
  std::vector<std::string> synopses;
  std::string about;
  std::vector<Option> options;
  std::size_t fewestOperands = 0;
  std::size_t mostOperands = 0;
  Take takeOperandWords = [](const std::vector<std::string>&) {};
};

}  // namespace Vexa::tools
