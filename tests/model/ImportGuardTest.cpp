#include <signal.h>
#include <unistd.h>

#include <cstring>
#include <vector>

#include "animation/Animation.h"
#include "model/ScratchFolder.h"
#include "model/TestModel.h"
#include "platform/ProcessGuard.h"
#include "render/MaterialEntry.h"
#include "render/ModelLoader.h"
#include "render/ShaderProgram.h"
#include "scene/MeshObject.h"
#include "scene/ModelCache.h"
#include "support/GlTest.h"

namespace Vexa::test {
namespace {

using scene::MeshObject;
using scene::ModelCache;

constexpr ProcessGuard::Limits smallLimits{std::size_t{64} << 20, 2, std::size_t{1} << 20};

void say(const char* line) {
  if (write(STDERR_FILENO, line, std::strlen(line)) < 0) _exit(9);
}

// Every way a child can end, and what the caller is told of it.
TEST(ProcessGuardTest, TellsAnAnswerFromEveryWayTheChildCanEnd) {
  struct Case {
    const char* name;
    std::function<std::string()> work;
    std::string failure;
  };
  const std::vector<Case> cases = {
      {"crash",
       [] {
         raise(SIGSEGV);
         return std::string();
       },
       "ended with signal 11 (Segmentation fault)"},
      {"abort after a line",
       [] {
         say("first\nai_assert failure in Loader.cpp(17)\n");
         abort();
         return std::string();
       },
       "ended with signal 6 (Aborted): ai_assert failure in Loader.cpp(17)"},
      {"hang",
       [] {
         for (;;) pause();
         return std::string();
       },
       "took longer than 2 s"},
      {"runaway memory",
       [] {
         std::vector<std::unique_ptr<char[]>> blocks;
         for (;;) blocks.push_back(std::make_unique<char[]>(1 << 20));
         return std::string();
       },
       "needed more than 64 MiB"},
      {"long answer", [] { return std::string((1 << 20) + 1, 'x'); },
       "answered with more than 1 MiB"},
      {"own status",
       [] {
         _exit(5);
         return std::string();
       },
       "ended with status 5"}};
  for (const Case& c : cases) {
    const ProcessGuard::Outcome outcome = ProcessGuard::run(c.work, smallLimits);
    EXPECT_FALSE(outcome.answer) << c.name;
    EXPECT_EQ(outcome.failure, c.failure) << c.name;
  }
  const ProcessGuard::Outcome answered =
      ProcessGuard::run([] { return std::string(1024, 'a'); }, smallLimits);
  EXPECT_EQ(answered.answer, std::string(1024, 'a'));
  EXPECT_EQ(answered.failure, "");
}

// One child answers request after request; once it has failed it stays failed.
TEST(ProcessGuardTest, AWorkerAnswersInTurnUntilItFails) {
  ProcessGuard::Worker worker(
      [](const std::string& request) {
        if (request == "crash") raise(SIGSEGV);
        if (request == "hang")
          for (;;) pause();
        return request + " from " + std::to_string(getpid());
      },
      smallLimits);
  const auto first = worker.ask("first");
  ASSERT_TRUE(first.answer) << first.failure;
  const std::string child = first.answer->substr(first.answer->find(" from "));
  EXPECT_NE(child, " from " + std::to_string(getpid()));
  EXPECT_EQ(worker.ask("second").answer, "second" + child);
  EXPECT_EQ(worker.ask(std::string(100000, 'x')).answer, std::string(100000, 'x') + child);
  EXPECT_EQ(worker.ask("crash").failure, "ended with signal 11 (Segmentation fault)");
  EXPECT_EQ(worker.ask("third").failure, "ended with signal 11 (Segmentation fault)");
  ProcessGuard::Worker slow(
      [](const std::string&) {
        for (;;) pause();
        return std::string();
      },
      smallLimits);
  EXPECT_EQ(slow.ask("anything").failure, "took longer than 2 s");
}

// The guarded import hands over exactly what reading in this process gives, and
// bytes cut short or running on are no model.
TEST(ProcessGuardTest, TheImportedModelCrossesFromTheChildWhole) {
  const std::string path = "Resources/Models/monster2_animation.dae";
  const auto inProcess = ModelLoader::import(path);
  ASSERT_TRUE(inProcess.data) << inProcess.failure;
  const std::string bytes = inProcess.data->serialize();
  EXPECT_EQ(ModelLoader::load(path).serialize(), bytes);
  ASSERT_TRUE(ModelData::deserialize(bytes));
  EXPECT_FALSE(ModelData::deserialize(std::string_view(bytes).substr(0, bytes.size() - 1)));
  EXPECT_FALSE(ModelData::deserialize(bytes + '\0'));
  EXPECT_FALSE(ModelData::deserialize(""));
}

class ModelCacheTest : public GlTest {
 protected:
  void SetUp() override {
    GlTest::SetUp();
    program =
        std::make_unique<ShaderProgram>("Shader/enemy_shader.vert", "Shader/enemy_shader.frag");
    ModelCache::observeImports(
        [this](const std::string& path, double) { imports.push_back(path); });
  }
  void TearDown() override {
    ModelCache::observeImports(nullptr);
    GlTest::TearDown();
  }

  std::unique_ptr<MeshObject> load(const std::string& path) {
    auto model = std::make_unique<MeshObject>(program.get(), program.get());
    model->loadModel(path);
    return model;
  }

  std::unique_ptr<ShaderProgram> program;
  std::vector<std::string> imports;
};

// A level switch holds the old level's models while the next level is built: a
// file both show is imported once, and one the next level does not show goes
// once the switch is over.
// Its textures are kept alike, and shared as the enemies of a kind share them.
TEST_F(ModelCacheTest, AHoldKeepsTheModelsOfObjectsGoneUntilItEnds) {
  const std::string enemy = "Resources/Models/monster2_animation.dae";
  const auto textureOf = [](const MeshObject& object) -> const TextureImage* {
    for (const auto& material : object.materials())
      if (material && material->texture()) return material->texture();
    return nullptr;
  };
  auto oldLevels = load(enemy);
  const TextureImage* texture = textureOf(*oldLevels);
  ASSERT_NE(texture, nullptr);
  {
    const ModelCache::Hold switching;
    oldLevels.reset();
    const auto nextLevels = load(enemy);
    EXPECT_EQ(imports.size(), 1u);
    EXPECT_EQ(textureOf(*nextLevels), texture);
    EXPECT_EQ(textureOf(*load(enemy)), texture) << "one texture for the enemies of a kind";
  }
  load(enemy);
  EXPECT_EQ(imports.size(), 2u) << "nothing held or showed the file any more";
}

// The enemies of a kind share one import and one set of keys, each with a pose and
// a segment of its own; a file is imported again once nothing shows it or it changed.
TEST_F(ModelCacheTest, ObjectsShowingOneFileShareOneImportAndOneClip) {
  const std::string enemy = "Resources/Models/monster2_animation.dae";
  auto first = load(enemy);
  auto second = load(enemy);
  EXPECT_EQ(imports.size(), 1u);
  EXPECT_EQ(first->importedModel(), second->importedModel());
  const std::int32_t animated = first->animation()->skinningNodes().back();
  ASSERT_NE(first->animation()->track(animated), nullptr);
  EXPECT_EQ(&first->animation()->track(animated)->key(0),
            &second->animation()->track(animated)->key(0));
  EXPECT_NE(first->animation(), second->animation());
  first->animation()->play(0, 10, 100);
  EXPECT_FALSE(first->animation()->segmentEnded());
  EXPECT_TRUE(second->animation()->segmentEnded());

  first.reset();
  second.reset();
  load(enemy);
  EXPECT_EQ(imports.size(), 2u) << "nothing showed the file any more";

  ScratchFolder scratch;
  scratch.write("model.dae", testModel("red_square"));
  const auto red = load("model.dae");
  // Another length is another version, whatever the file system's clock says.
  ASSERT_NE(testModel("green_square").size(), testModel("red_square").size());
  scratch.write("model.dae", testModel("green_square"));
  const auto green = load("model.dae");
  EXPECT_EQ(imports.size(), 4u);
  EXPECT_NE(red->importedModel(), green->importedModel());
}

}  // namespace
}  // namespace Vexa::test
