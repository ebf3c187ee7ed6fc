// A recording layer over the OpenGL entry points the 2-D renderer uses.
//
// gl_spy.cpp defines those entry points in the test (or benchmark)
// executable itself, so the renderer's calls land there first; each one is
// recorded while recording is on and then forwarded to the real library.
// Tests read the calls to check caching and vertex rules; the benchmark
// counts them and the time spent inside the driver.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace vantrel::test {

struct GLCall {
    std::string name;
    std::vector<double> args; // numeric arguments, in order (pointers left out)
};

struct GLVertex {
    float x, y;
};

void spy_start();          // clears the record and starts recording
void spy_stop();
bool spy_recording();
const std::vector<GLCall>& spy_calls();
// Calls named `name` recorded since spy_start().
int spy_count(const std::string& name);
// Calls with that name whose first argument is `first`.
int spy_count(const std::string& name, double first);

// Vertex lists of the primitives recorded, one per glBegin/glEnd pair.
struct GLPrimitive {
    uint32_t mode;
    std::vector<GLVertex> vertices;
};
std::vector<GLPrimitive> spy_primitives();

// Nanoseconds spent inside forwarded calls, and their number, since the last
// reset; counted whether or not recording is on.
void spy_reset_timing();
uint64_t spy_driver_ns();
uint64_t spy_forwarded_calls();
void spy_set_timing(bool on);

} // namespace vantrel::test
