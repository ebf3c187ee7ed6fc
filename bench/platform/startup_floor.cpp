// The start-up floor: the least a program on this window system needs before
// its first frame is shown. It opens the game's window (640 x 480 at 32, 32,
// captioned, double-buffered) with the same kind of context as a renderer
// (a compatibility one for gl, ES 2.0 for gles2), clears once, swaps once
// and prints when the swap returned, counted from exec (VANTREL_EXEC_NS, set
// by exec_stamped) or else from main.
//
// It talks to SDL and OpenGL directly and uses nothing of the engine, which
// is the point: what the game takes beyond this is the engine's own.
//
// Usage: startup_floor [gl|gles2]
#include <SDL.h>
#include <SDL_opengl.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>

#include <sys/resource.h>

namespace {

int64_t now_ns()
{
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return static_cast<int64_t>(ts.tv_sec) * 1000000000 + ts.tv_nsec;
}

double cpu_ms(int who)
{
    rusage ru{};
    getrusage(who, &ru);
    return static_cast<double>(ru.ru_utime.tv_sec + ru.ru_stime.tv_sec) * 1000 +
           static_cast<double>(ru.ru_utime.tv_usec + ru.ru_stime.tv_usec) / 1000;
}

void request_context(bool es2)
{
    SDL_GL_SetAttribute(SDL_GL_RED_SIZE, 1);
    SDL_GL_SetAttribute(SDL_GL_GREEN_SIZE, 1);
    SDL_GL_SetAttribute(SDL_GL_BLUE_SIZE, 1);
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
    if (es2) {
        SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_ES);
        SDL_GL_SetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, 2);
        SDL_GL_SetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, 0);
    } else {
        SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_COMPATIBILITY);
    }
}

} // namespace

int main(int argc, char** argv)
{
    const int64_t start_ns = now_ns();
    const char* api = argc > 1 ? argv[1] : "gl";
    const bool es2 = std::strcmp(api, "gles2") == 0;
    if (!es2 && std::strcmp(api, "gl") != 0) {
        std::fprintf(stderr, "usage: startup_floor [gl|gles2]\n");
        return 2;
    }
    if (SDL_Init(SDL_INIT_VIDEO) != 0) {
        std::fprintf(stderr, "startup_floor: %s\n", SDL_GetError());
        return 1;
    }
    request_context(es2);
    SDL_Window* window = SDL_CreateWindow("Vantrel v.0.3", 32, 32, 640, 480, SDL_WINDOW_OPENGL);
    SDL_GLContext context = window ? SDL_GL_CreateContext(window) : nullptr;
    if (!context) {
        std::fprintf(stderr, "startup_floor: %s\n", SDL_GetError());
        return 1;
    }
    SDL_GL_SetSwapInterval(0);
    // Looked up as a renderer without a GL library of its own would.
    using ClearColorFn = void (*)(float, float, float, float);
    using ClearFn = void (*)(unsigned);
    const auto clear_color = reinterpret_cast<ClearColorFn>(SDL_GL_GetProcAddress("glClearColor"));
    const auto clear = reinterpret_cast<ClearFn>(SDL_GL_GetProcAddress("glClear"));
    clear_color(0.0f, 128.0f / 255.0f, 1.0f, 1.0f);
    clear(GL_COLOR_BUFFER_BIT);
    SDL_GL_SwapWindow(window);
    const int64_t shown_ns = now_ns();
    const char* exec = std::getenv("VANTREL_EXEC_NS");
    const int64_t from_ns = exec ? std::strtoll(exec, nullptr, 10) : start_ns;
    std::printf("floor %s: first swap %.1f ms after %s; CPU %.1f ms, main thread %.1f ms\n", api,
                static_cast<double>(shown_ns - from_ns) / 1e6, exec ? "exec" : "main",
                cpu_ms(RUSAGE_SELF), cpu_ms(RUSAGE_THREAD));
    std::fflush(stdout);
    SDL_GL_DeleteContext(context);
    SDL_DestroyWindow(window);
    SDL_Quit();
    return 0;
}
