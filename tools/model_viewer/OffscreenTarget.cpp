#include "OffscreenTarget.h"

#include "platform/Fatal.h"

namespace Vexa::viewer {

namespace {

Texture attachment(GLenum attachmentPoint, GLint internalFormat, GLenum format, GLenum type,
                   int width, int height) {
  Texture texture = Texture::generate();
  glBindTexture(GL_TEXTURE_2D, texture.id());
  glTexImage2D(GL_TEXTURE_2D, 0, internalFormat, width, height, 0, format, type, nullptr);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
  glFramebufferTexture2D(GL_FRAMEBUFFER, attachmentPoint, GL_TEXTURE_2D, texture.id(), 0);
  glBindTexture(GL_TEXTURE_2D, 0);
  return texture;
}

}  // namespace

OffscreenTarget::OffscreenTarget(int width, int height)
    : pixelsWide(width), pixelsHigh(height), framebuffer(Framebuffer::generate()) {
  glBindFramebuffer(GL_FRAMEBUFFER, framebuffer.id());
  colour = attachment(GL_COLOR_ATTACHMENT0, GL_RGBA8, GL_RGBA, GL_UNSIGNED_BYTE, width, height);
  depth = attachment(GL_DEPTH_ATTACHMENT, GL_DEPTH_COMPONENT24, GL_DEPTH_COMPONENT, GL_FLOAT, width,
                     height);
  const bool complete = glCheckFramebufferStatus(GL_FRAMEBUFFER) == GL_FRAMEBUFFER_COMPLETE;
  glBindFramebuffer(GL_FRAMEBUFFER, 0);
  if (!complete) fatalError("could not create the offscreen render target");
}

void OffscreenTarget::begin(float backgroundGrey) const {
  glBindFramebuffer(GL_FRAMEBUFFER, framebuffer.id());
  glViewport(0, 0, pixelsWide, pixelsHigh);
  glEnable(GL_DEPTH_TEST);
  glClearColor(backgroundGrey, backgroundGrey, backgroundGrey, 1.0f);
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
}

std::vector<unsigned char> OffscreenTarget::pixels() const {
  std::vector<unsigned char> rgba(static_cast<std::size_t>(pixelsWide * pixelsHigh * 4));
  glBindFramebuffer(GL_FRAMEBUFFER, framebuffer.id());
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  glReadPixels(0, 0, pixelsWide, pixelsHigh, GL_RGBA, GL_UNSIGNED_BYTE, rgba.data());
  glBindFramebuffer(GL_FRAMEBUFFER, 0);
  return rgba;
}

}  // namespace Vexa::viewer
