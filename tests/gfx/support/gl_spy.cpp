// The interposed OpenGL entry points (see gl_spy.h).
#include "gl_spy.h"

#include <GL/gl.h>
#include <dlfcn.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <initializer_list>

namespace vantrel::test {
namespace {

bool recording = false;
bool timing = false;
std::vector<GLCall> calls;
uint64_t driver_ns = 0;
uint64_t forwarded = 0;

void* real_symbol(const char* name)
{
    void* p = dlsym(RTLD_NEXT, name);
    if (!p) {
        std::fprintf(stderr, "gl_spy: no real %s\n", name);
        std::abort();
    }
    return p;
}

void record(const char* name, std::initializer_list<double> args)
{
    if (recording)
        calls.push_back({name, std::vector<double>(args)});
}

// Times one forwarded call when timing is on.
class DriverTimer {
public:
    DriverTimer()
    {
        ++forwarded;
        if (timing)
            start_ = std::chrono::steady_clock::now();
    }
    ~DriverTimer()
    {
        if (timing)
            driver_ns += static_cast<uint64_t>(std::chrono::duration_cast<std::chrono::nanoseconds>(
                                                   std::chrono::steady_clock::now() - start_)
                                                   .count());
    }

private:
    std::chrono::steady_clock::time_point start_;
};

} // namespace

void spy_start()
{
    calls.clear();
    recording = true;
}
void spy_stop() { recording = false; }
bool spy_recording() { return recording; }
const std::vector<GLCall>& spy_calls() { return calls; }

int spy_count(const std::string& name)
{
    int n = 0;
    for (const auto& c : calls)
        n += c.name == name;
    return n;
}

int spy_count(const std::string& name, double first)
{
    int n = 0;
    for (const auto& c : calls)
        n += c.name == name && !c.args.empty() && c.args[0] == first;
    return n;
}

std::vector<GLPrimitive> spy_primitives()
{
    std::vector<GLPrimitive> out;
    bool open = false;
    for (const auto& c : calls) {
        if (c.name == "glBegin") {
            out.push_back({static_cast<uint32_t>(c.args[0]), {}});
            open = true;
        } else if (c.name == "glEnd") {
            open = false;
        } else if (open && (c.name == "glVertex2f" || c.name == "glVertex3f")) {
            out.back().vertices.push_back({static_cast<float>(c.args[0]), static_cast<float>(c.args[1])});
        }
    }
    return out;
}

void spy_reset_timing()
{
    driver_ns = 0;
    forwarded = 0;
}
uint64_t spy_driver_ns() { return driver_ns; }
uint64_t spy_forwarded_calls() { return forwarded; }
void spy_set_timing(bool on) { timing = on; }

} // namespace vantrel::test

using vantrel::test::DriverTimer;
using vantrel::test::record;
using vantrel::test::real_symbol;

// SPY(return type, name, (typed parameters), (argument names), numbers to record...)
#define SPY(ret, name, params, args, ...)                                                         \
    extern "C" ret name params                                                                    \
    {                                                                                             \
        static auto real = reinterpret_cast<ret(*) params>(real_symbol(#name));                   \
        record(#name, {__VA_ARGS__});                                                                   \
        DriverTimer spy_timer_;                                                                          \
        return real args;                                                                         \
    }

#define D(x) static_cast<double>(x)

SPY(void, glEnable, (GLenum cap), (cap), D(cap))
SPY(void, glDisable, (GLenum cap), (cap), D(cap))
SPY(void, glAlphaFunc, (GLenum f, GLclampf r), (f, r), D(f), D(r))
SPY(void, glBlendFunc, (GLenum s, GLenum d), (s, d), D(s), D(d))
SPY(void, glColor4ubv, (const GLubyte* v), (v), D(v[0]), D(v[1]), D(v[2]), D(v[3]))
SPY(void, glClearColor, (GLclampf r, GLclampf g, GLclampf b, GLclampf a), (r, g, b, a),
    D(r), D(g), D(b), D(a))
SPY(void, glScissor, (GLint x, GLint y, GLsizei w, GLsizei h), (x, y, w, h),
    D(x), D(y), D(w), D(h))
SPY(void, glLineWidth, (GLfloat w), (w), D(w))
SPY(void, glClear, (GLbitfield m), (m), D(m))
SPY(void, glBegin, (GLenum m), (m), D(m))
SPY(void, glEnd, (void), ())
SPY(void, glVertex2f, (GLfloat x, GLfloat y), (x, y), D(x), D(y))
SPY(void, glVertex3f, (GLfloat x, GLfloat y, GLfloat z), (x, y, z), D(x), D(y), D(z))
SPY(void, glNormal3f, (GLfloat x, GLfloat y, GLfloat z), (x, y, z), D(x), D(y), D(z))
SPY(void, glTexCoord2f, (GLfloat s, GLfloat t), (s, t), D(s), D(t))
SPY(void, glShadeModel, (GLenum m), (m), D(m))
SPY(void, glBindTexture, (GLenum t, GLuint n), (t, n), D(t), D(n))
SPY(void, glGenTextures, (GLsizei n, GLuint* names), (n, names), D(n))
SPY(void, glDeleteTextures, (GLsizei n, const GLuint* names), (n, names), D(names[0]))
SPY(void, glTexParameteri, (GLenum t, GLenum p, GLint v), (t, p, v), D(t), D(p), D(v))
SPY(void, glTexImage2D,
    (GLenum t, GLint l, GLint f, GLsizei w, GLsizei h, GLint b, GLenum fm, GLenum ty, const GLvoid* p),
    (t, l, f, w, h, b, fm, ty, p), D(t), D(l), D(f), D(w), D(h))
SPY(void, glTexSubImage2D,
    (GLenum t, GLint l, GLint x, GLint y, GLsizei w, GLsizei h, GLenum fm, GLenum ty, const GLvoid* p),
    (t, l, x, y, w, h, fm, ty, p), D(t), D(l), D(x), D(y), D(w), D(h))
SPY(void, glPixelStorei, (GLenum p, GLint v), (p, v), D(p), D(v))
SPY(void, glGetTexLevelParameteriv, (GLenum t, GLint l, GLenum p, GLint* v), (t, l, p, v),
    D(t), D(l), D(p))
SPY(void, glMatrixMode, (GLenum m), (m), D(m))
SPY(void, glLoadIdentity, (void), ())
SPY(void, glOrtho, (GLdouble l, GLdouble r, GLdouble b, GLdouble t, GLdouble n, GLdouble f),
    (l, r, b, t, n, f), l, r, b, t, n, f)
SPY(void, glViewport, (GLint x, GLint y, GLsizei w, GLsizei h), (x, y, w, h),
    D(x), D(y), D(w), D(h))
SPY(void, glFlush, (void), ())
SPY(void, glRasterPos2i, (GLint x, GLint y), (x, y), D(x), D(y))
SPY(void, glPixelZoom, (GLfloat x, GLfloat y), (x, y), D(x), D(y))
SPY(void, glDrawPixels, (GLsizei w, GLsizei h, GLenum f, GLenum t, const GLvoid* p),
    (w, h, f, t, p), D(w), D(h))
SPY(void, glReadBuffer, (GLenum m), (m), D(m))
SPY(void, glReadPixels,
    (GLint x, GLint y, GLsizei w, GLsizei h, GLenum f, GLenum t, GLvoid* p), (x, y, w, h, f, t, p),
    D(x), D(y), D(w), D(h))
