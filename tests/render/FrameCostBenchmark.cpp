// Measures what the renderer pays each frame for its full-screen passes: two bare
// copies over the shadow target (the least any two passes over it can cost), the
// shadow map's two blur passes over the whole map, and one pass and one clear over
// the 1024x768 window. The copies, the clear and the window pass together are the
// floor of a frame's fixed work, which the game's frames are measured against.
// Each figure is the median of several frames, each ended with glFinish, under the
// game's fixed state (depth test and blending on). Run it from the run-time folder,
// beside Shader/.

#include <GL/glew.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <vector>

#include "app/Window.h"
#include "render/GlHandle.h"
#include "render/LevelPrograms.h"
#include "render/ShadowBuffers.h"

namespace {

using namespace Vexa;

constexpr int measuredFrames = 15;

const char* const copyVertexSource = R"(#version 330 core
layout(location = 0) in vec2 vertexPosition;
void main() { gl_Position = vec4(vertexPosition, -1.0, 1.0); }
)";

const char* const copyFragmentSource = R"(#version 330 core
uniform sampler2D img;
out vec4 fragColor;
void main() { fragColor = texelFetch(img, ivec2(gl_FragCoord.xy), 0); }
)";

Shader compile(GLenum type, const char* source) {
  Shader shader(glCreateShader(type));
  glShaderSource(shader.id(), 1, &source, nullptr);
  glCompileShader(shader.id());
  return shader;
}

// Reads its source texture on unit 0 texel for texel into the bound target.
Program copyProgram() {
  Program program = Program::generate();
  const Shader vertex = compile(GL_VERTEX_SHADER, copyVertexSource);
  const Shader fragment = compile(GL_FRAGMENT_SHADER, copyFragmentSource);
  glAttachShader(program.id(), vertex.id());
  glAttachShader(program.id(), fragment.id());
  glLinkProgram(program.id());
  GLint linked = GL_FALSE;
  glGetProgramiv(program.id(), GL_LINK_STATUS, &linked);
  if (linked != GL_TRUE) {
    std::fprintf(stderr, "the copy program does not link\n");
    std::exit(1);
  }
  return program;
}

// A quad over the whole viewport, at location 0.
struct ScreenQuad {
  ScreenQuad() : vertexArray(VertexArray::generate()), buffer(Buffer::generate()) {
    static const GLfloat corners[] = {-1.0f, 1.0f, -1.0f, -1.0f, 1.0f, 1.0f, 1.0f, -1.0f};
    glBindVertexArray(vertexArray.id());
    glBindBuffer(GL_ARRAY_BUFFER, buffer.id());
    glBufferData(GL_ARRAY_BUFFER, sizeof(corners), corners, GL_STATIC_DRAW);
    glVertexAttribPointer(0, 2, GL_FLOAT, GL_FALSE, 0, nullptr);
    glEnableVertexAttribArray(0);
    glBindVertexArray(0);
  }
  void draw() const {
    glBindVertexArray(vertexArray.id());
    glDrawArrays(GL_TRIANGLE_STRIP, 0, 4);
    glBindVertexArray(0);
  }
  VertexArray vertexArray;
  Buffer buffer;
};

Framebuffer framebufferOf(GLuint texture) {
  Framebuffer framebuffer = Framebuffer::generate();
  glBindFramebuffer(GL_FRAMEBUFFER, framebuffer.id());
  glFramebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, texture, 0);
  glBindFramebuffer(GL_FRAMEBUFFER, 0);
  return framebuffer;
}

using Pass = std::function<void()>;

// `prepare` runs first, untimed: the work of the frame's earlier passes that `pass` relies on.
double milliseconds(const Pass& pass, const Pass& prepare) {
  if (prepare) prepare();
  glFinish();
  const auto start = std::chrono::steady_clock::now();
  pass();
  glFinish();
  return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
      .count();
}

// The first frame compiles the pass's shader variants and is not counted.
double medianMilliseconds(const Pass& pass, const Pass& prepare = nullptr) {
  milliseconds(pass, prepare);
  std::vector<double> times;
  for (int frame = 0; frame < measuredFrames; ++frame) times.push_back(milliseconds(pass, prepare));
  std::nth_element(times.begin(), times.begin() + measuredFrames / 2, times.end());
  return times[measuredFrames / 2];
}

class FrameCost {
 public:
  FrameCost()
      : window(WindowMode::Windowed, false),
        buffers(programs.blurHorizontal, programs.blurVertical, ShadowBuffers::gameSize),
        copy(copyProgram()),
        intoBlurMap(framebufferOf(buffers.blurMap())),
        intoShadowMap(framebufferOf(buffers.shadowMap())) {
    glEnable(GL_DEPTH_TEST);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    clearShadowTarget();
  }

  /// Prints each pass and the floor; returns the floor in milliseconds.
  double report() {
    const int side = buffers.size();
    const double copies = medianMilliseconds([this] { copyPasses(); });
    print("two copy passes", side, side, copies);
    // The vertical pass writes the shadow target, depth included: each frame's
    // shadow pass clears it first, as the game's does.
    print("two blur passes, whole map", side, side,
          medianMilliseconds([this] { blur(); }, [this] { clearShadowTarget(); }));
    const auto [width, height] = window.framebufferSize();
    const double clear =
        medianMilliseconds([] { glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT); });
    print("window clear, colour and depth", width, height, clear);
    // A quad at the near plane would fail the depth test from its second frame on.
    glDisable(GL_DEPTH_TEST);
    const double pass = medianMilliseconds([this] { windowPass(); });
    glEnable(GL_DEPTH_TEST);
    print("window pass", width, height, pass);
    std::printf("%-36s %9s %8.2f ms\n", "floor (copies, clear, window pass)", "",
                copies + clear + pass);
    return copies + clear + pass;
  }

 private:
  static void print(const char* what, int width, int height, double ms) {
    std::printf("%-36s %4dx%-4d %8.2f ms\n", what, width, height, ms);
  }

  void blur() { buffers.blur(programs.blurHorizontal, programs.blurVertical, wholeMap); }

  void clearShadowTarget() {
    buffers.beginShadowPass();
    buffers.endShadowPass();
  }

  void copyPass(const Framebuffer& target, GLuint source, GLsizei side) const {
    glBindFramebuffer(GL_FRAMEBUFFER, target.id());
    glViewport(0, 0, side, side);
    glUseProgram(copy.id());
    glActiveTexture(GL_TEXTURE0);
    glBindTexture(GL_TEXTURE_2D, source);
    quad.draw();
  }

  void copyPasses() const {
    copyPass(intoBlurMap, buffers.shadowMap(), buffers.size());
    copyPass(intoShadowMap, buffers.blurMap(), buffers.size());
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
  }

  void windowPass() const {
    const auto [width, height] = window.framebufferSize();
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    glViewport(0, 0, width, height);
    glUseProgram(copy.id());
    glActiveTexture(GL_TEXTURE0);
    glBindTexture(GL_TEXTURE_2D, buffers.shadowMap());
    quad.draw();
  }

  Window window;
  LevelPrograms programs;
  ShadowBuffers buffers;
  Program copy;
  ScreenQuad quad;
  Framebuffer intoBlurMap;
  Framebuffer intoShadowMap;
  CasterBounds wholeMap;  // gathers nothing, so it covers every texel
};

}  // namespace

int main() {
  FrameCost().report();
  return 0;
}
