#pragma once

// What a test may change of the dispatcher, and ask of it. The program never does either: a
// failure is always reported and always ends it.
#include <functional>

namespace host {
class RuntimeError;
}

namespace host::testing {

using Reporter = std::function<void(const RuntimeError&)>;
using Terminator = std::function<void(int exitStatus)>;

// How a failure is reported and how the program ends; empty restores the default.
void setReporter(Reporter reporter);
void setTerminator(Terminator terminator);

// Whether a handler has failed; after reset() handlers run again, so that one test program can
// fail many times.
bool failed();
void reset();

} // namespace host::testing
