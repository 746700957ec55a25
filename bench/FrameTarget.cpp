#include "FrameTarget.h"

#include <GL/gl.h>
#include <GL/glext.h>

namespace qw::bench {

// The context's own buffer is never drawn into; it only has to exist.
TFrameTarget::TFrameTarget(int width, int height) : context_(16, 16) {
    if (!context_.ok()) return;
    glGenFramebuffers(1, &framebuffer_);
    glGenRenderbuffers(2, renderbuffers_);
    Resize(width, height);
}

TFrameTarget::~TFrameTarget() {
    if (!context_.ok()) return;
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    glDeleteRenderbuffers(2, renderbuffers_);
    glDeleteFramebuffers(1, &framebuffer_);
}

void TFrameTarget::Resize(int width, int height) {
    if (!context_.ok()) return;
    glBindRenderbuffer(GL_RENDERBUFFER, renderbuffers_[0]);
    glRenderbufferStorage(GL_RENDERBUFFER, GL_RGBA8, width, height);
    glBindRenderbuffer(GL_RENDERBUFFER, renderbuffers_[1]);
    glRenderbufferStorage(GL_RENDERBUFFER, GL_DEPTH_COMPONENT24, width, height);
    glBindFramebuffer(GL_FRAMEBUFFER, framebuffer_);
    glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, renderbuffers_[0]);
    glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_ATTACHMENT, GL_RENDERBUFFER, renderbuffers_[1]);
    ok_ = glCheckFramebufferStatus(GL_FRAMEBUFFER) == GL_FRAMEBUFFER_COMPLETE;
}

}  // namespace qw::bench
