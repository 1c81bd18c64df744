#include "render/gl_check.h"

#include <QOpenGLContext>
#include <QOpenGLFramebufferObject>
#include <QSurface>

#include "render/gl_common.h"

namespace vornick {

namespace {

constexpr GLenum kContextFlags = 0x821E;  // GL_CONTEXT_FLAGS, from GL 3.0 on
constexpr GLint kForwardCompatibleBit = 0x1;

std::string version_of(const GlContextFacts& f) {
    return std::to_string(f.major) + "." + std::to_string(f.minor);
}

}  // namespace

GlContextFacts make_gl_context(QOpenGLContext& context, QSurface& surface) {
    GlContextFacts f;
    f.made = context.create();
    f.current = f.made && context.makeCurrent(&surface);
    if (!f.current) return f;
    const QSurfaceFormat format = context.format();
    f.es = context.isOpenGLES();
    f.major = format.majorVersion();
    f.minor = format.minorVersion();
    f.core_only = format.profile() == QSurfaceFormat::CoreProfile;
    if (f.major >= 3) {
        GLint flags = 0;
        glGetIntegerv(kContextFlags, &flags);
        f.core_only = f.core_only || (flags & kForwardCompatibleBit) != 0;
    }
    // Rectangle textures are core from GL 3.1, which a compatibility context keeps.
    f.rectangle_textures =
        context.hasExtension("GL_ARB_texture_rectangle") ||
        context.hasExtension("GL_EXT_texture_rectangle") ||
        context.hasExtension("GL_NV_texture_rectangle") ||
        (!f.es && !f.core_only && (f.major > 3 || (f.major == 3 && f.minor >= 1)));
    f.framebuffer_objects = QOpenGLFramebufferObject::hasOpenGLFramebufferObjects();
    return f;
}

std::optional<std::string> gl_shortfall(const GlContextFacts& f) {
    if (!f.made) return "no OpenGL context could be made";
    if (!f.current) return "the OpenGL context could not be made current";
    if (f.es) return "OpenGL ES " + version_of(f) + " has no immediate-mode drawing";
    if (f.core_only) {
        return "the OpenGL " + version_of(f) + " context lacks the compatibility profile";
    }
    if (!f.rectangle_textures) {
        return "OpenGL " + version_of(f) + " lacks rectangle textures (GL_ARB_texture_rectangle)";
    }
    if (!f.framebuffer_objects) return "OpenGL " + version_of(f) + " lacks framebuffer objects";
    return std::nullopt;
}

}  // namespace vornick
