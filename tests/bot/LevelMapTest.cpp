// The bot's maps of the levels, read from the generator's manifest: one that is
// missing, or lacks what the bot plays by, is reported by name, not played.

#include <gtest/gtest.h>

#include <fstream>
#include <nlohmann/json.hpp>
#include <stdexcept>

#include "LevelMap.h"
#include "model/ScratchFolder.h"

namespace Vexa::bot {
namespace {

/// What reading the maps from `path` fails with; empty when it does not.
std::string failureOf(const std::string& path) {
  try {
    LevelMap::readAll(path);
  } catch (const std::runtime_error& error) {
    return error.what();
  }
  return "";
}

TEST(LevelMapTest, AMissingOrIncompleteManifestIsReportedByName) {
  ASSERT_EQ(failureOf(LevelMap::manifestPath), "");
  nlohmann::json built = nlohmann::json::parse(std::ifstream(LevelMap::manifestPath));
  const test::ScratchFolder scratch;  // the working folder from here on
  const std::string path = (scratch.path() / "manifest.json").string();
  EXPECT_EQ(failureOf(path), "could not read " + path);

  scratch.write("manifest.json", R"({"levels": {"files": {}}})");
  EXPECT_EQ(failureOf(path).rfind(path + " is not a manifest of the levels: ", 0), 0u);

  built["levels"]["files"]["level3.dae"]["route"][0]["clear"] = "Nowhere";
  scratch.write("manifest.json", built.dump());
  EXPECT_NE(failureOf(path).find("no ground to clear named Nowhere"), std::string::npos);
}

}  // namespace
}  // namespace Vexa::bot
