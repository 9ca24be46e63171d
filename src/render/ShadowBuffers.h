#pragma once

#include "render/CasterBounds.h"
#include "render/GlHandle.h"

namespace Vexa {

class ShaderProgram;

/// The variance shadow map's render targets and the screen quad of its blur.
/// Created once at start-up and reused by every level; sizes never follow the window.
class ShadowBuffers {
 public:
  /// The side of the game's square targets, in texels.
  static constexpr GLsizei gameSize = 2048;
  static constexpr GLint shadowMapUnit = 1;
  static constexpr GLint blurUnit = 2;
  /// Distance from the light stored where nothing casts a shadow: the camera's far plane.
  static constexpr GLfloat farDistance = 1500.0f;
  /// How many texels either side of its own the blur shaders read.
  static constexpr GLint blurReach = 4;

  /// Square targets of `size` texels a side. Prepares the quad's "vertexPosition"
  /// for both blur programs (they share a vertex shader, so the location is the
  /// same). Fatal if a framebuffer is incomplete.
  ShadowBuffers(const ShaderProgram& blurHorizontal, const ShaderProgram& blurVertical,
                GLsizei size);
  ~ShadowBuffers();
  ShadowBuffers(const ShadowBuffers&) = delete;
  ShadowBuffers& operator=(const ShadowBuffers&) = delete;

  /// Binds the shadow framebuffer with the caster pass's viewport, cleared, and
  /// blending off: every caster is opaque.
  void beginShadowPass();
  /// Back to the window's framebuffer, blending as it was before the pass.
  void endShadowPass();

  /// Blurs the shadow map horizontally into the blur target, then vertically back,
  /// over the texels within reach of each of the `casters` only: elsewhere the map holds the
  /// cleared far value, which a blur would leave as it is. Blending and depth
  /// testing are off while it runs. The map's mipmaps are made anew after it
  /// where this frame's casters or the last frame's lie.
  void blur(const ShaderProgram& horizontal, const ShaderProgram& vertical,
            const CasterBounds& casters);

  GLuint shadowMap() const { return shadowMapTexture.id(); }
  GLuint blurMap() const { return blurTexture.id(); }
  GLsizei size() const { return texels; }

 private:
  void createShadowFramebuffer();
  void createBlurFramebuffer();
  void createScreenQuad(const ShaderProgram& blurHorizontal, const ShaderProgram& blurVertical);
  void blurPass(const Framebuffer& target, const ShaderProgram& program, GLint unit,
                const Texture& source, const std::vector<TexelBox>& boxes) const;
  /// Makes every smaller level of the shadow map anew from the level above it,
  /// over the texels that `boxes` on the largest level reach.
  void refreshMipmaps(std::vector<TexelBox> boxes) const;

  GLsizei texels;
  Texture shadowDepthTexture;
  Framebuffer shadowFramebuffer;
  Framebuffer blurFramebuffer;
  Texture shadowMapTexture;
  Texture blurTexture;
  VertexArray quadVertexArray;
  Buffer quadBuffer;
  /// Two levels of the shadow map in turn, the larger read and the smaller written.
  Framebuffer mipmapSource;
  Framebuffer mipmapTarget;
  /// Where the smaller levels still hold the last blur's casters: the whole map
  /// until the first blur, since the levels start out undefined.
  std::vector<TexelBox> staleMipmaps;
  bool blendingBeforeShadowPass = false;
};

}  // namespace Vexa
