#include "SoundTest.h"

#include <fstream>
#include <iterator>

#include "support/ToneFile.h"

namespace Vexa::test {

namespace {

std::string currentTestName() {
  return testing::UnitTest::GetInstance()->current_test_info()->name();
}

}  // namespace

SoundFiles::SoundFiles() : folderName("test_" + currentTestName()) {
  std::filesystem::create_directories(pathOf(folderName));
}

SoundFiles::~SoundFiles() {
  std::filesystem::remove_all(pathOf(folderName));
}

std::string SoundFiles::writeTone(const std::string& fileName, double seconds,
                                  const std::vector<float>& channelAmplitudes) const {
  const std::string name = folderName + "/" + fileName;
  writeToneFile(pathOf(name), seconds, channelAmplitudes);
  return name;
}

std::string SoundFiles::writeBytes(const std::string& fileName, const std::string& bytes) const {
  const std::string name = folderName + "/" + fileName;
  std::ofstream(pathOf(name), std::ios::binary) << bytes;
  return name;
}

std::string SoundFiles::readBytes(const std::string& soundName) const {
  std::ifstream file(pathOf(soundName), std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(file), {});
}

std::string SoundFiles::copyIn(const std::filesystem::path& file) const {
  std::filesystem::copy_file(file, pathOf(folderName) + "/" + file.filename().string());
  return folderName + "/" + file.filename().string();
}

std::string SoundFiles::pathOf(const std::string& soundName) {
  return "Resources/Sounds/" + soundName;
}

SoundTest::SoundTest() : sounds(std::make_unique<SoundSystem>(SoundSystem::Output::Discarded)) {}

Loudness SoundTest::listen(double seconds) {
  clock.advance(seconds);
  sounds->updateListener({0.0f, 0.0f, 0.0f}, {0.0f, 0.0f, -1.0f}, {0.0f, 1.0f, 0.0f});
  return loudestOfLastMix(*sounds);
}

}  // namespace Vexa::test
