// Mutants of the game's own generated models and textures, loaded the way the
// game's objects load theirs: each must load or end with its own message and -1,
// never crash, abort, hang or run out of memory.

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <future>
#include <iostream>
#include <iterator>
#include <random>

#include "ChildRun.h"
#include "model/PngFile.h"
#include "support/RunTimeFolderCopy.h"

namespace Vexa::test {
namespace {

namespace fs = std::filesystem;

// Generous for a loaded machine: the slowest model imports in about a second.
constexpr unsigned secondsPerLoad = 90;

std::string contents(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::vector<std::string> filesIn(const fs::path& folder, const std::string& extension) {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(folder))
    if (entry.path().extension() == extension) names.push_back(entry.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

/// Edits of a COLLADA document, each drawn from a seeded generator.
class ModelMutator {
 public:
  static constexpr int kinds = 7;

  explicit ModelMutator(unsigned seed) : random(seed) {}

  std::string mutate(std::string text, int kind) {
    switch (kind) {
      case 0:
        return editAttribute(std::move(text), "count=\"");
      case 1:
        return editAttribute(std::move(text), "offset=\"");
      case 2:
        return editAttribute(std::move(text), "stride=\"");
      case 3:
        return editIndex(std::move(text));
      case 4:
        return cutElement(std::move(text));
      case 5:
        return flipBytes(std::move(text));
      default:
        return text.substr(0, pick(text.size()));
    }
  }

 private:
  std::size_t pick(std::size_t count) {
    return count == 0 ? 0 : std::uniform_int_distribution<std::size_t>(0, count - 1)(random);
  }

  std::vector<std::size_t> find(const std::string& text, const std::string& what) const {
    std::vector<std::size_t> places;
    for (std::size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1))
      places.push_back(at);
    return places;
  }

  // A number replaced by one that is off by one, doubled, halved, zero, negative or huge.
  std::string edited(unsigned long long value) {
    const std::array<unsigned long long, 8> choices = {
        0, value + 1, value - 1, value * 2 + 3, value / 2, 4294967295ull, 2147483648ull, 65536};
    const unsigned long long chosen = choices[pick(choices.size())];
    return chosen == value - 1 && value == 0 ? "-1" : std::to_string(chosen);
  }

  std::string replaceNumberAt(std::string text, std::size_t at) {
    std::size_t end = at;
    while (end < text.size() && std::isdigit(static_cast<unsigned char>(text[end]))) ++end;
    if (end == at) return text;
    const unsigned long long value = std::stoull(text.substr(at, end - at));
    return text.replace(at, end - at, edited(value));
  }

  std::string editAttribute(std::string text, const std::string& attribute) {
    const auto places = find(text, attribute);
    if (places.empty()) return flipBytes(std::move(text));
    return replaceNumberAt(std::move(text), places[pick(places.size())] + attribute.size());
  }

  // A number inside the index lists: <p>, <v> and <vcount>.
  std::string editIndex(std::string text) {
    std::vector<std::size_t> places;
    for (const char* list : {"<p>", "<v>", "<vcount>"}) {
      const auto found = find(text, list);
      places.insert(places.end(), found.begin(), found.end());
    }
    if (places.empty()) return flipBytes(std::move(text));
    const std::size_t start = text.find('>', places[pick(places.size())]) + 1;
    const std::size_t end = text.find('<', start);
    std::vector<std::size_t> numbers;
    for (std::size_t at = start; at < end; ++at)
      if (std::isdigit(static_cast<unsigned char>(text[at])) &&
          !std::isdigit(static_cast<unsigned char>(text[at - 1])))
        numbers.push_back(at);
    if (numbers.empty()) return text;
    return replaceNumberAt(std::move(text), numbers[pick(numbers.size())]);
  }

  // One element, from its opening tag to the first closing tag of its name.
  std::string cutElement(std::string text) {
    std::vector<std::size_t> openings;
    for (std::size_t at : find(text, "<"))
      if (at + 1 < text.size() && std::isalpha(static_cast<unsigned char>(text[at + 1])))
        openings.push_back(at);
    const std::size_t start = openings[pick(openings.size())];
    const std::size_t nameEnd = text.find_first_of(" >/", start);
    const std::string name = text.substr(start + 1, nameEnd - start - 1);
    const std::size_t selfClosing = text.find("/>", start);
    const std::size_t opened = text.find('>', start);
    std::size_t end = selfClosing != std::string::npos && selfClosing < opened
                          ? selfClosing + 2
                          : text.find("</" + name + ">", start);
    if (end == std::string::npos) return text.substr(0, start);
    if (text.compare(end, 2, "</") == 0) end += name.size() + 3;
    return text.erase(start, end - start);
  }

  std::string flipBytes(std::string text) {
    const std::size_t flips = 1 + pick(8);
    for (std::size_t i = 0; i < flips && !text.empty(); ++i)
      text[pick(text.size())] ^= static_cast<char>(1 + pick(255));
    return text;
  }

  std::mt19937 random;
};

/// Damage to a PNG, each drawn from a seeded generator.
class TextureMutator {
 public:
  static constexpr int kinds = 8;

  explicit TextureMutator(unsigned seed) : random(seed) {}

  std::string mutate(std::string png, int kind) {
    switch (kind) {
      case 0: {  // bytes flipped anywhere after the signature
        const std::size_t flips = 1 + pick(8);
        for (std::size_t i = 0; i < flips; ++i)
          png[8 + pick(png.size() - 8)] ^= static_cast<char>(1 + pick(255));
        return png;
      }
      case 1:
        return png.substr(0, pick(png.size()));
      case 2: {  // the header's size edited, its checksum made right again
        const std::array<std::uint32_t, 6> sides = {0, 1, 7, 16385, 32767, 0xFFFFFFFF};
        return withHeader(png, sides[pick(sides.size())], sides[pick(sides.size())], png[24],
                          png[25]);
      }
      case 3: {  // one chunk cut out
        std::vector<std::size_t> chunks;
        for (std::size_t at = 8; at + 12 <= png.size(); at += 12 + length(png, at))
          chunks.push_back(at);
        const std::size_t at = chunks[pick(chunks.size())];
        return png.erase(at, std::min(png.size() - at, 12 + length(png, at)));
      }
      case 4: {
        std::string noise(png.size(), '\0');
        for (char& byte : noise) byte = static_cast<char>(pick(256));
        return noise;
      }
      case 5:
        return otherFormat();
      case 6: {  // depth and colour type no PNG allows, checksum right
        const std::array<char, 5> depths = {0, 3, 5, 16, 64};
        const std::array<char, 4> colours = {1, 5, 7, 0x7f};
        return withHeader(png, field(png, 16), field(png, 20), depths[pick(depths.size())],
                          colours[pick(colours.size())]);
      }
      default: {  // the compressed pixels damaged, their chunk's checksum made right
        const std::size_t idat = png.find("IDAT") - 4;
        std::string data = png.substr(idat + 8, length(png, idat));
        const std::size_t flips = 1 + pick(4);
        for (std::size_t i = 0; i < flips; ++i)
          data[pick(data.size())] ^= static_cast<char>(1 + pick(255));
        return png.replace(idat, 12 + length(png, idat), pngChunk("IDAT", data));
      }
    }
  }

 private:
  std::size_t pick(std::size_t count) {
    return count == 0 ? 0 : std::uniform_int_distribution<std::size_t>(0, count - 1)(random);
  }
  static std::uint32_t field(const std::string& png, std::size_t at) {
    std::uint32_t value = 0;
    for (std::size_t i = 0; i < 4; ++i)
      value = (value << 8) | static_cast<unsigned char>(png[at + i]);
    return value;
  }
  static std::size_t length(const std::string& png, std::size_t chunk) { return field(png, chunk); }
  static std::string bigEndian(std::uint32_t value) {
    return {static_cast<char>(value >> 24), static_cast<char>(value >> 16),
            static_cast<char>(value >> 8), static_cast<char>(value)};
  }
  static std::string withHeader(const std::string& png, std::uint32_t width, std::uint32_t height,
                                char depth, char colour) {
    const std::string header =
        bigEndian(width) + bigEndian(height) + std::string{depth, colour, 0, 0, 0};
    return png.substr(0, 8) + pngChunk("IHDR", header) + png.substr(33);
  }
  // Files of other formats under the PNG's name: a TGA claiming 32767², a BMP, a GIF, a JPEG.
  std::string otherFormat() {
    const std::array<std::string, 4> files = {
        std::string("\0\0\2\0\0\0\0\0\0\0\0\0\xff\x7f\xff\x7f\x20\0", 18) + std::string(64, '\x11'),
        std::string("BM\x36\0\0\0\0\0\0\0\x36\0\0\0\x28\0\0\0\xff\xff\0\0\xff\xff\0\0\1\0\x18\0",
                    30),
        std::string("GIF89a\xff\x7f\xff\x7f\xf7\0\0", 13) + std::string(40, '\x22'),
        std::string(
            "\xff\xd8\xff\xe0\0\x10JFIF\0\1\1\0\0\1\0\1\0\0\xff\xc0\0\x11\x08\xff\xff\xff\xff",
            29)};
    return files[pick(files.size())];
  }

  std::mt19937 random;
};

/// Loads each mutant with vexa_load_model in a copy of the run-time folder and
/// counts how each one ends.
class MutantsTest : public testing::Test {
 protected:
  Ending load(const std::string& model) const {
    return runIn(folder.path(), {VEXA_LOAD_MODEL, model}, secondsPerLoad);
  }

  void record(const std::string& name, const Ending& ending) {
    ++counts[ending.outcome];
    EXPECT_TRUE(ending.controlled())
        << name << " ended: " << ending.outcome << ": " << ending.message;
  }

  RunTimeFolderCopy folder;
  OutcomeCounts counts;
};

// Each mutant has a file of its own beside the models, so two load at a time.
TEST_F(MutantsTest, EveryModelMutantLoadsOrEndsWithTheModelMessage) {
  const fs::path models = folder.originalPath() / "Resources/Models";
  const std::vector<std::string> names = filesIn(models, ".dae");
  ModelMutator mutator(18);
  constexpr int mutants = 315;
  std::vector<std::string> files;
  for (int i = 0; i < mutants; ++i) {
    const std::string& name = names[static_cast<std::size_t>(i) % names.size()];
    files.push_back("Resources/Models/mutant_" + std::to_string(i) + "_" + name);
    std::ofstream(folder.replace(files.back()), std::ios::binary)
        << mutator.mutate(contents(models / name), i % ModelMutator::kinds);
  }
  for (std::size_t i = 0; i < files.size(); i += 2) {
    auto second = std::async(std::launch::async, [&, i] {
      return i + 1 < files.size() ? load(files[i + 1]) : Ending{"loads", ""};
    });
    const std::array<Ending, 2> endings = {load(files[i]), second.get()};
    for (std::size_t j = 0; j < 2 && i + j < files.size(); ++j) {
      record(files[i + j], endings[j]);
      // Nothing else a model may end with: the textures it names are intact.
      EXPECT_NE(endings[j].outcome, "texture message")
          << files[i + j] << ": " << endings[j].message;
    }
  }
  std::cout << table("model mutants by outcome", counts);
}

TEST_F(MutantsTest, EveryDamagedTextureLoadsOrEndsWithTheTextureMessage) {
  // Each texture with the smallest model that names it.
  const std::vector<std::pair<std::string, std::string>> textures = {
      {"baseball_bat.png", "baseball_bat.dae"},
      {"baseball_bat_1.png", "baseball_bat_1.dae"},
      {"grass.png", "level1.dae"},
      {"metal.png", "level1.dae"},
      {"rock.png", "level1.dae"},
      {"wood.png", "level1.dae"},
      {"sand.png", "level3.dae"},
      {"monster1.png", "monster1_animation.dae"},
      {"monster1_special.png", "monster1_animation_special.dae"},
      {"monster2.png", "monster2_animation.dae"},
      {"monster3.png", "monster3_animation.dae"}};
  const fs::path originals = folder.originalPath() / "Resources/Textures";
  ASSERT_EQ(filesIn(originals, ".png").size(), textures.size()) << "every texture is damaged";
  TextureMutator mutator(18);
  constexpr int damaged = 104;
  for (int i = 0; i < damaged; ++i) {
    const auto& [texture, model] = textures[static_cast<std::size_t>(i) % textures.size()];
    const int kind = i % TextureMutator::kinds;
    const fs::path file = "Resources/Textures/" + texture;
    std::ofstream(folder.replace(file), std::ios::binary)
        << mutator.mutate(contents(originals / texture), kind);
    const Ending ending = load("Resources/Models/" + model);
    record(texture + " (damage " + std::to_string(kind) + ", case " + std::to_string(i) + ")",
           ending);
    if (ending.outcome == "texture message")
      EXPECT_EQ(ending.message, "could not load image texture " + file.string());
    else
      EXPECT_EQ(ending.outcome, "loads") << texture << " case " << i << ": " << ending.message;
    fs::remove(folder.path() / file);
    fs::create_symlink(originals / texture, folder.path() / file);
  }
  std::cout << table("damaged textures by outcome", counts);
}

}  // namespace
}  // namespace Vexa::test
