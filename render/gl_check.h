// Whether a GL context can draw the way the surface does: immediate mode (the compatibility
// profile), rectangle textures and a framebuffer of its own. Says in words what is missing.
#pragma once

#include <optional>
#include <string>

class QOpenGLContext;
class QSurface;

namespace vornick {

struct GlContextFacts {
    bool made = false;     // the context exists
    bool current = false;  // and draws into the surface
    bool es = false;
    int major = 0, minor = 0;
    bool core_only = false;  // a core profile, or a forward-compatible context: no glBegin
    bool rectangle_textures = false;
    bool framebuffer_objects = false;
};

// Creates `context` and makes it current on `surface`, then reads what it offers.
GlContextFacts make_gl_context(QOpenGLContext& context, QSurface& surface);

// The first thing the surface needs that the context lacks, or nothing.
std::optional<std::string> gl_shortfall(const GlContextFacts& facts);

}  // namespace vornick
