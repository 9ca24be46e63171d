#include <filesystem>
#include <fstream>

#include "render/LevelPrograms.h"
#include "support/GlTest.h"

namespace Vexa::test {
namespace {

const char* const validVertex =
    "#version 330 core\nin vec3 position;\nvoid main() { gl_Position = vec4(position, 1.0); }\n";
const char* const validFragment =
    "#version 330 core\nout vec4 fragColor;\nvoid main() { fragColor = vec4(1.0); }\n";

class ShaderProgramTest : public GlTest {
 protected:
  void SetUp() override {
    GlTest::SetUp();
    folder = std::filesystem::temp_directory_path() /
             ("vexa_shaders_" +
              std::string(testing::UnitTest::GetInstance()->current_test_info()->name()));
    std::filesystem::create_directories(folder);
  }
  void TearDown() override {
    std::filesystem::remove_all(folder);
    GlTest::TearDown();
  }

  std::string write(const std::string& name, const std::string& text) {
    const auto path = (folder / name).string();
    std::ofstream(path) << text;
    return path;
  }

  std::filesystem::path folder;
};

TEST_F(ShaderProgramTest, LinksTwoFilesIntoAProgram) {
  ShaderProgram program(write("a.vert", validVertex), write("a.frag", validFragment));
  EXPECT_TRUE(glIsProgram(program.programId()));
  EXPECT_EQ(glGetFragDataLocation(program.programId(), "fragColor"), 0);
}

TEST_F(ShaderProgramTest, AMissingVertexFileIsFatal) {
  const auto fragment = write("a.frag", validFragment);
  const auto missing = (folder / "missing.vert").string();
  EXPECT_EXIT(ShaderProgram(missing, fragment), testing::ExitedWithCode(255),
              exactMessage("could not create shader file: " + missing));
}

TEST_F(ShaderProgramTest, AMissingFragmentFileIsReportedAfterTheVertexCompiled) {
  const auto vertex = write("a.vert", validVertex);
  const auto missing = (folder / "missing.frag").string();
  EXPECT_EXIT(ShaderProgram(vertex, missing), testing::ExitedWithCode(255),
              exactMessage("could not create shader file: " + missing));
  // A broken vertex shader stops the build before the fragment file is looked for.
  const auto broken = write("broken.vert", "#version 330 core\nvoid main() { oops; }\n");
  EXPECT_EXIT(ShaderProgram(broken, missing), testing::ExitedWithCode(255),
              "^could not compile shader: ");
}

TEST_F(ShaderProgramTest, AFileThatCannotBeReadIsFatal) {
  const auto fragment = write("a.frag", validFragment);
  const auto directory = (folder / "folder.vert").string();
  std::filesystem::create_directory(directory);
  EXPECT_EXIT(ShaderProgram(directory, fragment), testing::ExitedWithCode(255),
              exactMessage("could not create shader file: " + directory));
}

TEST_F(ShaderProgramTest, ACompileErrorCarriesTheDriverLog) {
  const auto broken = write("broken.frag",
                            "#version 330 core\nout vec4 fragColor;\n"
                            "void main() { fragColor = undeclaredColour; }\n");
  EXPECT_EXIT(ShaderProgram(write("a.vert", validVertex), broken), testing::ExitedWithCode(255),
              "^could not compile shader: .*undeclaredColour.*\n$");
}

TEST_F(ShaderProgramTest, ALinkErrorCarriesTheDriverLog) {
  // Compiles on its own, but a program cannot link without a fragment main.
  const auto fragment = write("nomain.frag",
                              "#version 330 core\nout vec4 fragColor;\n"
                              "void shade() { fragColor = vec4(1.0); }\n");
  EXPECT_EXIT(ShaderProgram(write("a.vert", validVertex), fragment), testing::ExitedWithCode(255),
              "^could not link shader program: .*main.*\n$");
}

/// The game's own thirteen programs, built from Shader/ as a level builds them.
class LevelProgramsTest : public GlTest {
 protected:
  static GLint attribute(const ShaderProgram& program, const char* name) {
    return glGetAttribLocation(program.programId(), name);
  }
  static bool hasUniform(const ShaderProgram& program, const char* name) {
    return glGetUniformLocation(program.programId(), name) != -1;
  }
  static void expectUniforms(const ShaderProgram& program, std::initializer_list<const char*> names,
                             const char* which) {
    for (const char* name : names) EXPECT_TRUE(hasUniform(program, name)) << which << ": " << name;
  }
};

TEST_F(LevelProgramsTest, AllThirteenCompileAndLink) {
  LevelPrograms programs;
  for (const ShaderProgram* program :
       {&programs.enemy, &programs.texture, &programs.bat, &programs.levelText, &programs.sun,
        &programs.ruby, &programs.crosshair, &programs.sky, &programs.shadowMap,
        &programs.animatedShadowMap, &programs.level, &programs.blurHorizontal,
        &programs.blurVertical}) {
    GLint linked = GL_FALSE;
    glGetProgramiv(program->programId(), GL_LINK_STATUS, &linked);
    EXPECT_EQ(linked, GL_TRUE);
    EXPECT_EQ(glGetFragDataLocation(program->programId(), "fragColor"), 0);
  }
}

TEST_F(LevelProgramsTest, MeshAttributesSitAtTheSameLocationsInMainAndShadowPrograms) {
  LevelPrograms programs;
  EXPECT_EQ(attribute(programs.enemy, "position"), 0);
  EXPECT_EQ(attribute(programs.enemy, "normal"), 1);
  EXPECT_EQ(attribute(programs.enemy, "uv"), 2);
  EXPECT_EQ(attribute(programs.enemy, "joints"), 3);
  EXPECT_EQ(attribute(programs.enemy, "weights"), 4);
  EXPECT_EQ(attribute(programs.animatedShadowMap, "position"), 0);
  EXPECT_EQ(attribute(programs.animatedShadowMap, "joints"), 3);
  EXPECT_EQ(attribute(programs.animatedShadowMap, "weights"), 4);
  EXPECT_EQ(attribute(programs.bat, "joints"), 3);
  EXPECT_EQ(attribute(programs.bat, "weights"), 4);
  EXPECT_EQ(attribute(programs.shadowMap, "position"), 0);
  EXPECT_EQ(attribute(programs.level, "position"), 0);
  EXPECT_EQ(attribute(programs.level, "normal"), 1);
  EXPECT_EQ(attribute(programs.level, "uv"), 2);
  EXPECT_EQ(attribute(programs.texture, "uv"), 2);
  EXPECT_EQ(attribute(programs.blurHorizontal, "vertexPosition"),
            attribute(programs.blurVertical, "vertexPosition"));
  EXPECT_NE(attribute(programs.blurHorizontal, "vertexPosition"), -1);
}

TEST_F(LevelProgramsTest, DeclareTheUniformsTheirUsersSet) {
  LevelPrograms programs;
  const auto camera = {"modelMatrix", "viewMatrix", "projectionMatrix"};
  const auto lighting = {"lightPosition", "Ld", "Ls", "lightPower", "specExp"};
  for (const ShaderProgram* lit : {&programs.enemy, &programs.texture, &programs.level}) {
    expectUniforms(*lit, camera, "lit program");
    expectUniforms(*lit, lighting, "lit program");
    expectUniforms(*lit, {"material", "colorTexture", "cameraPosition"}, "lit program");
  }
  expectUniforms(programs.level, {"shadow_tex_mat", "shadow_map"}, "level");
  EXPECT_FALSE(hasUniform(programs.texture, "shadow_tex_mat"));
  expectUniforms(programs.enemy, {"bonesMatrix[0]", "bonesMatrix[31]"}, "enemy");
  expectUniforms(
      programs.animatedShadowMap,
      {"bonesMatrix[0]", "bonesMatrix[31]", "modelMatrix", "viewMatrix", "projectionMatrix"},
      "animated shadow");
  expectUniforms(programs.bat, {"bonesMatrix[0]", "projectionMatrix", "material", "colorTexture"},
                 "bat");
  expectUniforms(programs.shadowMap, camera, "shadow");
  expectUniforms(programs.crosshair, {"orthoMatrix", "modelMatrix", "hitEnemy"}, "crosshair");
  expectUniforms(programs.ruby, {"modelMatrix", "viewMatrix", "projectionMatrix", "material"},
                 "ruby");
  expectUniforms(programs.sun, {"modelMatrix", "viewMatrix", "projectionMatrix", "material"},
                 "sun");
  expectUniforms(programs.levelText, {"modelMatrix", "viewMatrix", "projectionMatrix", "material"},
                 "level text");
  expectUniforms(programs.sky, {"modelMatrix", "viewMatrix", "projectionMatrix", "cameraPosition"},
                 "sky");
  expectUniforms(programs.blurHorizontal, {"img", "size"}, "blur");
  expectUniforms(programs.blurVertical, {"img", "size"}, "blur");
}

}  // namespace
}  // namespace Vexa::test
