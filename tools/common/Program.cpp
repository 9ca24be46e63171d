#include "Program.h"

#include <getopt.h>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <iostream>
#include <sstream>

namespace Vexa::tools {

namespace {

// getopt_long hands the options back by these codes; 1 is an operand, '?' a fault.
constexpr int helpCode = 'h';
constexpr int versionCode = 'V';
constexpr int firstOptionCode = 256;

struct OptionLine {
  std::string words;
  std::string help;
};

std::string joined(const std::vector<std::string>& words) {
  std::string text;
  for (const std::string& word : words) text += (text.empty() ? "" : " ") + word;
  return text;
}

std::string invocation(const std::string& name, const std::vector<std::string>& arguments) {
  return arguments.empty() ? "--" + name : "--" + name + " " + joined(arguments);
}

/// The options' words in one column and their help beside them, continuation
/// lines indented to the help's column.
std::string table(const std::vector<OptionLine>& lines) {
  std::size_t column = 0;
  for (const OptionLine& line : lines) column = std::max(column, line.words.size());
  std::ostringstream text;
  for (const OptionLine& line : lines) {
    std::istringstream help(line.help);
    std::string helpLine;
    std::getline(help, helpLine);
    text << "  " << line.words << std::string(column - line.words.size() + 2, ' ') << helpLine
         << "\n";
    while (std::getline(help, helpLine)) text << std::string(column + 4, ' ') << helpLine << "\n";
  }
  return text.str();
}

}  // namespace

Program::Program(std::string name, std::vector<std::string> synopses, std::string about)
    : programName(std::move(name)), synopses(std::move(synopses)), about(std::move(about)) {}

Program& Program::option(const std::string& name, std::vector<std::string> arguments,
                         const std::string& help, Take take) {
  options.push_back({name, std::move(arguments), help, std::move(take)});
  return *this;
}

Program& Program::operands(std::size_t fewest, std::size_t most, Take take) {
  fewestOperands = fewest;
  mostOperands = most;
  takeOperandWords = std::move(take);
  return *this;
}

void Program::read(int argc, char** argv) {
  std::vector<::option> known;
  for (std::size_t i = 0; i < options.size(); ++i) {
    known.push_back({options[i].name.c_str(),
                     options[i].arguments.empty() ? no_argument : required_argument, nullptr,
                     firstOptionCode + static_cast<int>(i)});
  }
  known.push_back({"help", no_argument, nullptr, helpCode});
  known.push_back({"version", no_argument, nullptr, versionCode});
  known.push_back({nullptr, 0, nullptr, 0});

  // getopt's own messages name the program by its first word: its name, as the usage does.
  std::vector<char*> words(argv, argv + argc);
  words.push_back(nullptr);
  if (argc > 0) words[0] = programName.data();
  std::vector<std::string> operandWords;
  // 0 makes glibc start a fresh scan; the leading '-' hands operands over where they
  // stand, so nothing is reordered whatever POSIXLY_CORRECT says.
  optind = 0;
  opterr = 1;
  int code = 0;
  while ((code = getopt_long(argc, words.data(), "-", known.data(), nullptr)) != -1) {
    if (code == 1) {
      operandWords.emplace_back(optarg);
    } else if (code == helpCode) {
      std::cout << synopsis() << "\n" << about << "\n\n" << optionList();
      std::exit(0);
    } else if (code == versionCode) {
      std::cout << programName << " " << VEXA_VERSION << "\n";
      std::exit(0);
    } else if (code >= firstOptionCode) {
      takeOption(options[static_cast<std::size_t>(code - firstOptionCode)], optarg, argc,
                 words.data());
    } else {
      showUsageError();  // getopt has said what was wrong
    }
  }
  for (int i = optind; i < argc; ++i) operandWords.emplace_back(words[static_cast<std::size_t>(i)]);
  takeOperands(operandWords);
}

// getopt_long knows one argument an option; the words after it give the rest.
void Program::takeOption(const Option& option, const char* first, int argc, char** argv) {
  std::vector<std::string> words;
  if (first != nullptr) words.emplace_back(first);
  while (words.size() < option.arguments.size()) {
    if (optind >= argc) {
      refuse("option '--" + option.name + "' needs " + joined(option.arguments));
    }
    words.emplace_back(argv[optind++]);
  }
  option.take(words);
}

void Program::takeOperands(const std::vector<std::string>& words) const {
  if (words.size() < fewestOperands) refuse("too few operands");
  if (words.size() > mostOperands) refuse("unexpected operand '" + words[mostOperands] + "'");
  takeOperandWords(words);
}

void Program::refuse(const std::string& problem) const {
  std::cerr << programName << ": " << problem << "\n";
  showUsageError();
}

void Program::showUsageError() const {
  std::cerr << synopsis() << optionList();
  std::exit(2);
}

void Program::fail(const std::string& message) const {
  std::cerr << programName << ": " << message << std::endl;
  std::exit(1);
}

double Program::number(const std::string& text, const std::string& what) const {
  char* end = nullptr;
  errno = 0;
  const double value = std::strtod(text.c_str(), &end);
  if (text.empty() || *end != '\0' || errno == ERANGE || !std::isfinite(value))
    refuse(what + " must be a number, not '" + text + "'");
  return value;
}

long Program::whole(const std::string& text, const std::string& what, long least) const {
  char* end = nullptr;
  errno = 0;
  const long value = std::strtol(text.c_str(), &end, 10);
  if (text.empty() || *end != '\0' || errno == ERANGE || value < least) {
    refuse(what + " must be a whole number from " + std::to_string(least) + ", not '" + text + "'");
  }
  return value;
}

std::string Program::synopsis() const {
  std::string text;
  for (std::size_t i = 0; i < synopses.size(); ++i)
    text += (i == 0 ? "usage: " : "       ") + programName + " " + synopses[i] + "\n";
  return text;
}

std::string Program::optionList() const {
  std::vector<OptionLine> lines;
  for (const Option& option : options)
    lines.push_back({invocation(option.name, option.arguments), option.help});
  lines.push_back({"--help", "print this help and exit"});
  lines.push_back({"--version", "print the program's name and version and exit"});
  return "options:\n" + table(lines);
}

}  // namespace Vexa::tools
