#include "render/ShadowBuffers.h"

#include <algorithm>

#include "platform/Fatal.h"
#include "render/GlCapability.h"
#include "render/ShaderProgram.h"

namespace Vexa {

namespace {

// Clamping keeps the blur from wrapping shadows across the map's edges. Core
// profiles reject GL_CLAMP, so the edge clamp stands in for it.
void clampToEdge() {
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
}

Texture createDepthTexture(GLsizei size) {
  Texture texture = Texture::generate();
  glBindTexture(GL_TEXTURE_2D, texture.id());
  glTexImage2D(GL_TEXTURE_2D, 0, GL_DEPTH_COMPONENT, size, size, 0, GL_DEPTH_COMPONENT, GL_FLOAT,
               nullptr);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
  clampToEdge();
  glBindTexture(GL_TEXTURE_2D, 0);
  return texture;
}

// A target holding the variance map's two moments; left bound. RG32F is among
// the float formats every OpenGL 3 driver must render to, while RGB32F is
// required for texturing only: a driver may refuse a framebuffer built on it.
// Only the shadow map is sampled through mipmaps; the blur target is read texel
// by texel and has none.
Texture createMomentsTexture(GLsizei size, bool mipmapped) {
  Texture texture = Texture::generate();
  glBindTexture(GL_TEXTURE_2D, texture.id());
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER,
                  mipmapped ? GL_LINEAR_MIPMAP_LINEAR : GL_LINEAR);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
  if (!mipmapped) glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAX_LEVEL, 0);
  clampToEdge();
  glTexImage2D(GL_TEXTURE_2D, 0, GL_RG32F, size, size, 0, GL_RG, GL_FLOAT, nullptr);
  return texture;
}

/// The texels of the next smaller mip level whose 2 × 2 sources meet `box`.
TexelBox halved(const TexelBox& box) {
  return {box.x0 / 2, box.y0 / 2, (box.x1 + 1) / 2, (box.y1 + 1) / 2};
}

void requireComplete(const char* message) {
  if (glCheckFramebufferStatus(GL_FRAMEBUFFER) != GL_FRAMEBUFFER_COMPLETE) fatalError(message);
}

}  // namespace

ShadowBuffers::ShadowBuffers(const ShaderProgram& blurHorizontal, const ShaderProgram& blurVertical,
                             GLsizei size)
    : texels(size), staleMipmaps{{0, 0, size, size}} {
  createShadowFramebuffer();
  createBlurFramebuffer();
  mipmapSource = Framebuffer::generate();
  mipmapTarget = Framebuffer::generate();
  createScreenQuad(blurHorizontal, blurVertical);
}

ShadowBuffers::~ShadowBuffers() {
  shadowFramebuffer.reset();
  shadowDepthTexture.reset();
  shadowMapTexture.reset();
  blurFramebuffer.reset();
  blurTexture.reset();
  mipmapSource.reset();
  mipmapTarget.reset();
  quadBuffer.reset();
  quadVertexArray.reset();
}

void ShadowBuffers::createShadowFramebuffer() {
  shadowDepthTexture = createDepthTexture(texels);
  shadowMapTexture = createMomentsTexture(texels, true);
  glGenerateMipmap(GL_TEXTURE_2D);
  glBindTexture(GL_TEXTURE_2D, 0);

  shadowFramebuffer = Framebuffer::generate();
  glBindFramebuffer(GL_FRAMEBUFFER, shadowFramebuffer.id());
  glFramebufferTexture2D(GL_FRAMEBUFFER, GL_DEPTH_ATTACHMENT, GL_TEXTURE_2D,
                         shadowDepthTexture.id(), 0);
  glFramebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, shadowMapTexture.id(),
                         0);
  requireComplete("failed to create shadow fbo");
  glBindFramebuffer(GL_FRAMEBUFFER, 0);
}

void ShadowBuffers::createBlurFramebuffer() {
  blurFramebuffer = Framebuffer::generate();
  glBindFramebuffer(GL_FRAMEBUFFER, blurFramebuffer.id());
  blurTexture = createMomentsTexture(texels, false);
  glBindTexture(GL_TEXTURE_2D, 0);
  glFramebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, blurTexture.id(), 0);
  requireComplete("failed to create blur fbo");
  glBindFramebuffer(GL_FRAMEBUFFER, 0);
}

void ShadowBuffers::createScreenQuad(const ShaderProgram& blurHorizontal,
                                     const ShaderProgram& blurVertical) {
  static const GLfloat corners[] = {-1.0f, 1.0f, -1.0f, -1.0f, 1.0f, 1.0f, 1.0f, -1.0f};
  quadVertexArray = VertexArray::generate();
  glBindVertexArray(quadVertexArray.id());
  quadBuffer = Buffer::generate();
  glBindBuffer(GL_ARRAY_BUFFER, quadBuffer.id());
  glBufferData(GL_ARRAY_BUFFER, sizeof(corners), corners, GL_STATIC_DRAW);
  for (const ShaderProgram* program : {&blurHorizontal, &blurVertical}) {
    glUseProgram(program->programId());
    const GLint location = glGetAttribLocation(program->programId(), "vertexPosition");
    if (location < 0) continue;
    glVertexAttribPointer(static_cast<GLuint>(location), 2, GL_FLOAT, GL_FALSE, 0, nullptr);
    glEnableVertexAttribArray(static_cast<GLuint>(location));
  }
  glBindVertexArray(0);
  glBindBuffer(GL_ARRAY_BUFFER, 0);
}

void ShadowBuffers::beginShadowPass() {
  blendingBeforeShadowPass = glIsEnabled(GL_BLEND) == GL_TRUE;
  glDisable(GL_BLEND);
  glBindFramebuffer(GL_FRAMEBUFFER, shadowFramebuffer.id());
  glViewport(0, 0, texels, texels);
  // Where no caster lands, the moments say "everything is nearer than the far
  // plane", so receivers there stay lit.
  static const GLfloat farMoments[4] = {farDistance, farDistance * farDistance, 0.0f, 1.0f};
  glClearBufferfv(GL_COLOR, 0, farMoments);
  glClear(GL_DEPTH_BUFFER_BIT);
  glPolygonOffset(1.1f, 4.0f);
  glEnable(GL_POLYGON_OFFSET_FILL);
}

void ShadowBuffers::endShadowPass() {
  glDisable(GL_POLYGON_OFFSET_FILL);
  glBindFramebuffer(GL_FRAMEBUFFER, 0);
  if (blendingBeforeShadowPass) glEnable(GL_BLEND);
}

// The vertical pass reads the horizontal one's result a reach above and below
// every texel it writes, so the horizontal pass covers twice the reach. Every
// horizontal box is blurred before any vertical one: the vertical pass writes
// the map the horizontal one reads, and two casters' boxes may lie close.
void ShadowBuffers::blur(const ShaderProgram& horizontal, const ShaderProgram& vertical,
                         const CasterBounds& casters) {
  const std::vector<TexelBox> written = casters.texels(texels, blurReach);
  const CapabilityOff noBlending(GL_BLEND);
  const CapabilityOff noDepthTest(GL_DEPTH_TEST);
  if (!written.empty()) {
    blurPass(blurFramebuffer, horizontal, shadowMapUnit, shadowMapTexture,
             casters.texels(texels, 2 * blurReach));
    blurPass(shadowFramebuffer, vertical, blurUnit, blurTexture, written);
  }
  // The main pass samples the map with trilinear filtering: its smaller levels
  // must hold this frame's moments. Left as they were made at start-up, they
  // darken every distant receiver and lose the small casters' shadows there.
  // Outside this frame's casters and the last frame's, every level already holds
  // the far value the shadow pass cleared the map to. Casters move little from
  // one frame to the next, so the two frames' boxes are joined where they meet
  // rather than each refreshed over the other.
  std::vector<TexelBox> changed = written;
  for (const TexelBox& stale : staleMipmaps) addJoined(changed, stale);
  refreshMipmaps(std::move(changed));
  staleMipmaps = written;
}

// The quad covers the viewport, which is each box in turn; the shaders address
// texels by their window position, so the box's place on the map needs no uniform.
void ShadowBuffers::blurPass(const Framebuffer& target, const ShaderProgram& program, GLint unit,
                             const Texture& source, const std::vector<TexelBox>& boxes) const {
  glBindFramebuffer(GL_FRAMEBUFFER, target.id());
  glUseProgram(program.programId());
  glUniform1f(glGetUniformLocation(program.programId(), "size"), static_cast<GLfloat>(texels));
  glUniform1i(glGetUniformLocation(program.programId(), "img"), unit);
  glActiveTexture(GL_TEXTURE0 + static_cast<GLenum>(unit));
  glBindTexture(GL_TEXTURE_2D, source.id());
  glBindVertexArray(quadVertexArray.id());
  for (const TexelBox& box : boxes) {
    glViewport(box.x0, box.y0, box.width(), box.height());
    glDrawArrays(GL_TRIANGLE_STRIP, 0, 4);
  }
  glBindVertexArray(0);
  glBindFramebuffer(GL_FRAMEBUFFER, 0);
}

// Each level's boxes are made from the boxes of the level above, halved: a blit
// that halves with linear filtering averages each 2 × 2 block of texels, as
// glGenerateMipmap does over the whole map. The two framebuffers hold two levels
// of the one texture, so no level is read while it is written.
void ShadowBuffers::refreshMipmaps(std::vector<TexelBox> boxes) const {
  glBindFramebuffer(GL_READ_FRAMEBUFFER, mipmapSource.id());
  glBindFramebuffer(GL_DRAW_FRAMEBUFFER, mipmapTarget.id());
  for (GLint level = 1; (texels >> level) > 0 && !boxes.empty(); ++level) {
    glFramebufferTexture2D(GL_READ_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D,
                           shadowMapTexture.id(), level - 1);
    glFramebufferTexture2D(GL_DRAW_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D,
                           shadowMapTexture.id(), level);
    for (TexelBox& box : boxes) {
      box = halved(box);
      glBlitFramebuffer(2 * box.x0, 2 * box.y0, 2 * box.x1, 2 * box.y1, box.x0, box.y0, box.x1,
                        box.y1, GL_COLOR_BUFFER_BIT, GL_LINEAR);
    }
  }
  glBindFramebuffer(GL_FRAMEBUFFER, 0);
}

}  // namespace Vexa
